// Saves pictures of the whole window for a few structures, to be looked at by
// eye: QUORVEX_SHOTS=folder window_tests --gtest_filter='WindowShots*'.
// Without the variable the pictures are made but not saved.
#include <QDir>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

namespace {

struct Shot {
    const char* name;
    int basicRow;   // Combo1 row
    int commonRow;  // Combo3 row
    int superRow;   // Combo2 row, -1: leave
    bool domains, paint, bases;
};

const Shot kShots[] = {
    {"p4mm-2x1-domains", 10, 3, -1, true, true, true},
    {"p6mm-2x1-domains", 16, 3, -1, true, true, true},
    {"p6mm-r3-domains", 16, 20, 16, true, true, false},
    {"p2gg-c2x2", 7, 9, -1, true, true, false},
    {"p4gm-2x2-p4gm", 11, 4, 11, true, false, false},
};

class WindowShots : public FormTest, public ::testing::WithParamInterface<Shot> {};

}  // namespace

TEST_P(WindowShots, Picture) {
    const Shot s = GetParam();
    F().show();
    Choose(F().Combo1, s.basicRow);
    Choose(F().Combo3, s.commonRow);
    if (s.superRow >= 0) Choose(F().Combo2, s.superRow);
    F().Check3->setChecked(s.domains);
    F().Check2->setChecked(s.paint);
    F().Check4->setChecked(s.bases);
    const QImage picture = F().grab().toImage();
    EXPECT_FALSE(picture.isNull());
    EXPECT_TRUE(messages.empty());
    const QByteArray folder = qgetenv("QUORVEX_SHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(QString::fromUtf8(folder));
        EXPECT_TRUE(picture.save(QString::fromUtf8(folder) + "/" + s.name + ".png"));
    }
}

INSTANTIATE_TEST_SUITE_P(Structures, WindowShots, ::testing::ValuesIn(kShots),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

#include <QPainter>

#include "model/Layout.h"
#include "model/Vectors.h"
#include "render/SymmetryDiagram.h"

namespace {

// One diagram drawn on its own canvas, cut out around its frame.
QImage Diagram(int basicGroup, int group, int kind, bool swap) {
    model::Module1 m;
    model::FillTables(m);
    m.BasicGroup = basicGroup;
    const int type = m.GroupLatticeType[basicGroup];
    m.LatticeA = type <= 3 ? std::sqrt(2.0) : 1.0;
    m.LatticeB = 1.0;
    m.LatticeAlpha = type == 1 ? 55.0 : type == 5 ? 120.0 : 90.0;
    model::ComputeBasicVectors(m);
    model::ComputeSuperVectors(m);
    m.SuperRightHanded = true;
    m.GroupAxisSwap[group] = swap;
    platform::ImageSurface s(9756, 4000, model::RGB(240, 240, 240));
    render::DrawSymmetryElements(m, s, group, kind);
    const auto& frame = kind == 1 ? model::Line9 : model::Line11;
    const int cx = static_cast<int>((frame.X1 + frame.X2) / 30), cy = static_cast<int>((frame.Y1 + frame.Y2) / 30);
    return s.Image().copy(cx - 70, cy - 70, 140, 140);
}

}  // namespace

// All 17 basic diagrams, then the four rotated superlattice settings without
// and with the axis swap, in one picture.
TEST(WindowShotsGallery, SymmetryDiagrams) {
    QImage gallery(7 * 140, 5 * 140, QImage::Format_RGB32);
    gallery.fill(Qt::white);
    QPainter p(&gallery);
    for (int g = 1; g <= 17; ++g) {
        const QImage d = Diagram(g, g, 1, false);
        p.drawImage(((g - 1) % 7) * 140, ((g - 1) / 7) * 140, d);
        p.drawText(((g - 1) % 7) * 140 + 4, ((g - 1) / 7) * 140 + 14, QString::number(g));
    }
    for (int i = 0; i < 4; ++i) {
        const int group = 18 + i;
        for (int swap = 0; swap < 2; ++swap) {
            const int cell = 21 + i * 2 + swap;
            const QImage d = Diagram(6, group, 2, swap == 1);
            p.drawImage((cell % 7) * 140, (cell / 7) * 140, d);
            p.drawText((cell % 7) * 140 + 4, (cell / 7) * 140 + 14,
                       QString::number(group) + (swap ? " swap" : ""));
        }
    }
    p.end();
    EXPECT_FALSE(gallery.isNull());
    const QByteArray folder = qgetenv("QUORVEX_SHOTS");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(gallery.save(QString::fromUtf8(folder) + "/diagrams.png"));
    }
}
