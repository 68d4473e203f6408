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
