// Check boxes, view buttons, the matrix hold and the size scroll bars.
#include <functional>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;
using model::RGB;

using OptionsTest = FormTest;

TEST_F(OptionsTest, EachControlRedrawsAsLittleAsItNeeds) {
    enum Level { kNone, kLatticeOnly, kPatternOnly, kUpdate };
    const std::pair<std::function<void()>, Level> cases[] = {
        {[&] { F().Command4->click(); }, kLatticeOnly},  // lattice mag -
        {[&] { F().Command13->click(); }, kLatticeOnly},
        {[&] { F().Command3->click(); }, kLatticeOnly},
        {[&] { F().Command6->click(); }, kPatternOnly},  // pattern mag -
        {[&] { F().Command14->click(); }, kPatternOnly},
        {[&] { F().Command5->click(); }, kPatternOnly},
        {[&] { F().Check2->click(); }, kPatternOnly},  // paint domains
        {[&] { F().Check3->click(); }, kPatternOnly},  // include domains
        {[&] { F().Check5->click(); }, kNone},         // constrained
        {[&] { F().Label9_Click(); }, kNone},          // the hold
        {[&] { F().Check1->click(); }, kUpdate},       // include 1x1
        {[&] { F().Check4->click(); }, kUpdate},       // include bases
        {[&] { F().Command8->click(); }, kUpdate},     // rot >
        {[&] { F().VScroll1->setValue(0); }, kLatticeOnly},
        {[&] { F().VScroll2->setValue(150); }, kPatternOnly},
    };
    F().show();
    Choose(F().Combo3, 3);  // p(2x1): two subpatterns for the domain boxes
    F().Check3->click();    // which shows "Paint domains" and the domain count
    EXPECT_EQ(Shown({F().Check2, F().Label19}), (std::vector<bool>{true, true}));
    EXPECT_EQ(Text(F().Label19), "8 domain(s),  2 unique subpattern(s)");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const QImage before = Picture();
        const int runs = F().UpdateRuns(), patterns = F().PatternRuns();
        cases[i].first();
        const Level level = cases[i].second;
        const bool lattice = level == kLatticeOnly || level == kUpdate;
        const bool pattern = level == kPatternOnly || level == kUpdate;
        EXPECT_EQ(F().UpdateRuns(), runs + (lattice ? 1 : 0));
        EXPECT_EQ(F().PatternRuns(), patterns + (pattern ? 1 : 0));
        if (level == kUpdate) continue;
        EXPECT_EQ(Kept(before, kLatticeBox), !lattice);
        EXPECT_EQ(Kept(before, kPatternBox), !pattern);
    }
    EXPECT_EQ(Shown({F().Check2, F().Label19}), (std::vector<bool>{false, false}));
    // mag -, 1, mag + on each side, independently.
    EXPECT_EQ((std::array{M().LatMag, M().PatMag}), (std::array{1 / 1.2, 1 / 1.2}));
}

TEST_F(OptionsTest, RotationPresetsAreExactAndStepsKeepCounting) {
    F().Command7->click();
    EXPECT_EQ((std::array{M().RotAngle, M().RotCos, M().RotSin}), (std::array{-90.0, 0.0, -1.0}));
    F().Command15->click();
    EXPECT_EQ((std::array{M().RotAngle, M().RotCos, M().RotSin}), (std::array{90.0, 0.0, 1.0}));
    EXPECT_EQ((std::array{M().A1X, M().A1Y}), (std::array{0.0, -1.0}));  // a1 = (1, 0) turned
    F().Command12->click();
    EXPECT_EQ((std::array{M().RotAngle, M().RotCos, M().RotSin}), (std::array{0.0, 1.0, 0.0}));
    const QImage start = Picture();
    for (int i = 0; i < 36; ++i) F().Command8->click();
    EXPECT_EQ(M().RotAngle, 360);
    EXPECT_TRUE(Kept(start, kLatticeBox));
    F().Command9->click();
    F().Command9->click();
    EXPECT_EQ(M().RotAngle, 340);  // no wrap-around either way
}

TEST_F(OptionsTest, UnconstrainedKeepsOnlyAGroupItAllowsToo) {
    // p4mm with (2x1): the constraint allows p2mm and [3'] (row 18), the other rule only p2mm.
    Choose(F().Combo3, 3);
    Choose(F().Combo2, 5);
    F().Check5->click();
    EXPECT_EQ(M().SuperGroup, 6);
    F().Check5->click();
    Choose(F().Combo2, 17);
    ASSERT_EQ(M().SuperGroup, 18);
    F().Check5->click();
    EXPECT_FALSE(M().Constrained);
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(Text(F().Combo2), Padded("[ 1]  Oblique p1", 32));
    EXPECT_EQ(Text(F().Label15), "/1/2/3/4/6/7/8/");
}

TEST_F(OptionsTest, MatrixLabelTogglesTheHold) {
    QTest::mouseClick(F().Label9, Qt::LeftButton);
    EXPECT_TRUE(M().MatrixHold);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window), QColor(255, 0, 0));
    QTest::mouseClick(F().Label9, Qt::LeftButton);
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window), F().palette().color(QPalette::Window));
}

TEST_F(OptionsTest, ScrollBarEndsAndDefaultSizes) {
    F().show();
    F().VScroll1->setValue(0);
    F().VScroll2->setValue(150);
    EXPECT_EQ((std::array{M().LatDotRadius, M().SpotRadius}), (std::array{150.0, 0.0}));
    // A zero-radius preview leaves only the erased background around its centre.
    EXPECT_EQ(Pixel(4320 + 30, 8160), F().Canvas().BackColor());
    M().RedrawOnActivate = false;
    const int runs = F().UpdateRuns(), patterns = F().PatternRuns();
    F().Command17->click();
    EXPECT_EQ((std::array{M().LatDotRadius, M().SpotRadius}), (std::array{45.0, 45.0}));
    EXPECT_EQ((std::array{F().VScroll1->value(), F().VScroll2->value()}), (std::array{105, 105}));
    EXPECT_TRUE(M().RedrawOnActivate);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
    EXPECT_EQ(F().PatternRuns(), patterns + 1);
    // Sizes already at their defaults: nothing redrawn; the hold is cleared, the label stays red.
    F().Label9_Click();
    F().Command17->click();
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window), QColor(255, 0, 0));
    F().Form_MouseUp(100, 100);  // a release clears the redraw on activation
    EXPECT_FALSE(M().RedrawOnActivate);
    F().VScroll1->setValue(50);  // and a size change sets it
    EXPECT_TRUE(M().RedrawOnActivate);
}

TEST_F(OptionsTest, ExitClosesTheWindow) {
    F().show();
    F().Command2->click();
    EXPECT_FALSE(F().isVisible());
}
