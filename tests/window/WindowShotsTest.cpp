// Saves pictures of the whole window for a few structures and a gallery of the
// symmetry diagrams, to be looked at by eye:
// QUORVEX_SHOTS=folder window_tests --gtest_filter='WindowShots*'.
// Without the variable the pictures are made but not saved.
#include <QDir>
#include <QPainter>

#include "FormFixture.h"
#include "model/Layout.h"
#include "model/Vectors.h"
#include "render/SymmetryDiagram.h"

using namespace quorvex;
using namespace quorvex::testing;

namespace {

void SaveShot(const QImage& picture, const QString& name) {
    const QString folder = QString::fromUtf8(qgetenv("QUORVEX_SHOTS"));
    EXPECT_FALSE(picture.isNull());
    EXPECT_TRUE(folder.isEmpty() ||
                (QDir().mkpath(folder) && picture.save(folder + "/" + name + ".png")));
}

using WindowShots = FormTest;

TEST_F(WindowShots, Structures) {
    struct Shot {
        const char* name;
        int basicRow, commonRow, superRow;  // list rows
    };
    // Painted domains and the bases shown.
    for (const Shot& s : {Shot{"p4mm-2x1-p2mm", 10, 3, 5}, Shot{"p6mm-r3-p6mm", 16, 20, 16},
                          Shot{"p2gg-c2x2-p1", 7, 9, 0}}) {
        Restart();
        F().show();
        Choose(F().Combo1, s.basicRow);
        Choose(F().Combo3, s.commonRow);
        Choose(F().Combo2, s.superRow);
        for (QCheckBox* box : {F().Check2, F().Check3, F().Check4}) box->setChecked(true);
        EXPECT_TRUE(messages.empty()) << s.name;
        SaveShot(F().grab().toImage(), s.name);
    }
}

// One diagram drawn on its own canvas, cut out around its frame.
QImage Diagram(int basicGroup, int group, int kind, bool swap) {
    model::Module1 m;
    model::FillTables(m);
    m.BasicGroup = basicGroup;
    const int type = m.GroupLatticeType[basicGroup];
    m.LatticeA = type <= 3 ? std::sqrt(2.0) : 1.0;
    m.LatticeAlpha = type == 1 ? 55.0 : type == 5 ? 120.0 : 90.0;
    model::ComputeBasicVectors(m);
    model::ComputeSuperVectors(m);
    m.SuperRightHanded = true;
    m.GroupAxisSwap[group] = swap;
    platform::ImageSurface s(9756, 4000, model::RGB(240, 240, 240));
    render::DrawSymmetryElements(m, s, group, kind);
    const auto& frame = kind == 1 ? model::Line9 : model::Line11;
    return s.Image().copy(static_cast<int>((frame.X1 + frame.X2) / 30) - 70,
                          static_cast<int>((frame.Y1 + frame.Y2) / 30) - 70, 140, 140);
}

// All 17 basic diagrams, then the four rotated superlattice groups without and with the axis swap.
TEST(WindowShotsGallery, SymmetryDiagrams) {
    QImage gallery(7 * 140, 5 * 140, QImage::Format_RGB32);
    gallery.fill(Qt::white);
    QPainter p(&gallery);
    for (int cell = 0; cell < 29; ++cell) {
        if (cell >= 17 && cell < 21) continue;
        const int group = cell < 17 ? cell + 1 : 18 + (cell - 21) / 2;
        const bool swap = cell >= 21 && (cell - 21) % 2 == 1;
        p.drawImage((cell % 7) * 140, (cell / 7) * 140,
                    cell < 17 ? Diagram(group, group, 1, false) : Diagram(6, group, 2, swap));
        p.drawText((cell % 7) * 140 + 4, (cell / 7) * 140 + 14,
                   QString::number(group) + (swap ? " swap" : ""));
    }
    p.end();
    SaveShot(gallery, "diagrams");
}

}  // namespace
