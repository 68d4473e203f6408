// Check boxes, view buttons, the matrix hold and the size scroll bars.
#include <cmath>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;
using model::RGB;

using OptionsTest = FormTest;

namespace {
const QRect kLatticePixels(16, 312, 233, 233);
const QRect kPatternPixels(304, 312, 233, 233);
}  // namespace

TEST_F(OptionsTest, LatticeZoomButtons) {
    for (int i = 0; i < 3; ++i) F().Command3->click();
    EXPECT_NEAR(M().LatMag, 1 / (1.2 * 1.2 * 1.2), 1e-15);
    F().Command4->click();
    EXPECT_NEAR(M().LatMag, 1 / (1.2 * 1.2), 1e-15);
    F().Command13->click();
    EXPECT_EQ(M().LatMag, 1.0);
    EXPECT_EQ(M().PatMag, 1.0);
}

TEST_F(OptionsTest, PatternZoomButtonsRedrawOnlyThePattern) {
    const QImage before = F().Canvas().Image().copy();
    const int runs = F().UpdateRuns();
    F().Command6->click();
    EXPECT_NEAR(M().PatMag, 1.2, 1e-15);
    EXPECT_EQ(F().UpdateRuns(), runs);
    const QImage after = F().Canvas().Image();
    EXPECT_TRUE(before.copy(kLatticePixels) == after.copy(kLatticePixels));
    EXPECT_FALSE(before.copy(kPatternPixels) == after.copy(kPatternPixels));
    F().Command5->click();
    F().Command5->click();
    EXPECT_NEAR(M().PatMag, 1 / 1.2, 1e-15);
    F().Command14->click();
    EXPECT_EQ(M().PatMag, 1.0);
    EXPECT_EQ(M().LatMag, 1.0);
}

TEST_F(OptionsTest, RotationPresetsAreExact) {
    F().Command7->click();
    EXPECT_EQ(M().RotAngle, -90);
    EXPECT_EQ(M().RotCos, 0);
    EXPECT_EQ(M().RotSin, -1);
    F().Command15->click();
    EXPECT_EQ(M().RotAngle, 90);
    EXPECT_EQ(M().RotCos, 0);
    EXPECT_EQ(M().RotSin, 1);
    F().Command12->click();
    EXPECT_EQ(M().RotAngle, 0);
    EXPECT_EQ(M().RotCos, 1);
    EXPECT_EQ(M().RotSin, 0);
}

TEST_F(OptionsTest, ThirtySixStepsTurnTheWholeWayRound) {
    const QImage start = F().Canvas().Image().copy();
    for (int i = 0; i < 36; ++i) F().Command8->click();
    EXPECT_EQ(M().RotAngle, 360);
    EXPECT_NEAR(M().RotCos, std::cos(360 * 0.017453293), 0);
    EXPECT_NEAR(M().A1X, 1.0, 1e-6);
    EXPECT_NEAR(M().A1Y, 0.0, 1e-6);
    EXPECT_TRUE(start.copy(kLatticePixels) == F().Canvas().Image().copy(kLatticePixels));
    F().Command8->click();
    EXPECT_EQ(M().RotAngle, 370);  // keeps counting
    F().Command9->click();
    F().Command9->click();
    EXPECT_EQ(M().RotAngle, 350);
}

TEST_F(OptionsTest, IncludeDomainsShowsPaintDomainsAndTheCaption) {
    F().show();
    F().Check3->click();
    EXPECT_TRUE(M().IncludeDomains);
    EXPECT_TRUE(F().Check2->isVisible());
    EXPECT_TRUE(F().Label19->isVisible());
    EXPECT_EQ(Text(F().Label19), "8 domain(s),  1 unique subpattern(s)");
    F().Check3->click();
    EXPECT_FALSE(F().Check2->isVisible());
    EXPECT_FALSE(F().Label19->isVisible());
}

TEST_F(OptionsTest, PaintDomainsRedrawsOnlyThePattern) {
    F().show();
    Choose(F().Combo3, 3);  // p(2x1): two subpatterns
    F().Check3->click();
    const QImage before = F().Canvas().Image().copy();
    const int runs = F().UpdateRuns();
    F().Check2->click();
    EXPECT_TRUE(M().PaintDomains);
    EXPECT_EQ(F().UpdateRuns(), runs);
    EXPECT_TRUE(before.copy(kLatticePixels) == F().Canvas().Image().copy(kLatticePixels));
    EXPECT_FALSE(before.copy(kPatternPixels) == F().Canvas().Image().copy(kPatternPixels));
    EXPECT_TRUE(F().Label18->isVisible());
}

TEST_F(OptionsTest, Include1x1AndBasesRunTheUpdate) {
    int runs = F().UpdateRuns();
    F().Check1->click();
    EXPECT_FALSE(M().Include1x1);
    EXPECT_EQ(F().UpdateRuns(), ++runs);
    // Without the substrate the net is gone: the line through the origin is white.
    EXPECT_EQ(Pixel(1980, 5000), RGB(255, 255, 255));
    F().Check4->click();
    EXPECT_TRUE(M().IncludeBases);
    EXPECT_EQ(F().UpdateRuns(), ++runs);
}

TEST_F(OptionsTest, UnconstrainedDropsAGroupOnlyTheConstraintAllowed) {
    // p4mm with (2x1): the constraint allows [3'] (row 18); the unconstrained rule never does.
    Choose(F().Combo3, 3);
    Choose(F().Combo2, 17);
    ASSERT_EQ(M().SuperGroup, 18);
    const int runs = F().UpdateRuns();
    F().Check5->click();
    EXPECT_FALSE(M().Constrained);
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(Text(F().Combo2), Padded("[ 1]  Oblique p1", 32));
    EXPECT_EQ(Text(F().Label11), "Superlattice [1]");
    EXPECT_EQ(Text(F().Label15), "/1/2/3/4/6/7/8/");
    EXPECT_EQ(F().UpdateRuns(), runs);
}

TEST_F(OptionsTest, UnconstrainedKeepsAGroupBothRulesAllow) {
    Choose(F().Combo3, 3);
    Choose(F().Combo2, 5);  // p2mm
    F().Check5->click();
    EXPECT_EQ(M().SuperGroup, 6);
    F().Check5->click();
    EXPECT_TRUE(M().Constrained);
    EXPECT_EQ(M().SuperGroup, 6);
}

TEST_F(OptionsTest, MatrixLabelTogglesTheHold) {
    const QImage before = F().Canvas().Image().copy();
    QTest::mouseClick(F().Label9, Qt::LeftButton);
    EXPECT_TRUE(M().MatrixHold);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window), QColor(255, 0, 0));
    QTest::mouseClick(F().Label9, Qt::LeftButton);
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window),
              F().palette().color(QPalette::Window));
    EXPECT_TRUE(F().Canvas().Image() == before);
}

TEST_F(OptionsTest, DefaultSizesThroughTheScrollBars) {
    F().show();
    F().VScroll1->setValue(0);
    F().VScroll2->setValue(150);
    EXPECT_EQ(M().LatDotRadius, 150);
    EXPECT_EQ(M().SpotRadius, 0);
    M().RedrawOnActivate = false;
    const int runs = F().UpdateRuns(), patterns = F().PatternRuns();
    F().Command17->click();
    EXPECT_EQ(M().LatDotRadius, 45);
    EXPECT_EQ(M().SpotRadius, 45);
    EXPECT_EQ(F().VScroll1->value(), 105);
    EXPECT_EQ(F().VScroll2->value(), 105);
    EXPECT_TRUE(M().RedrawOnActivate);
    // Each bar that moved redrew its own side, once.
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
    EXPECT_EQ(F().PatternRuns(), patterns + 1);
    // With the sizes already at their defaults nothing is redrawn, and the
    // hold is cleared while the label keeps its colour.
    F().Label9_Click();
    F().Command17->click();
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(OptionsTest, ScrollBarsSetTheRadiusAndRedrawTheirSide) {
    F().show();
    const QImage before = F().Canvas().Image().copy();
    F().VScroll1->setValue(0);  // thumb at the top
    EXPECT_EQ(M().LatDotRadius, 150);
    EXPECT_TRUE(before.copy(kPatternPixels) == F().Canvas().Image().copy(kPatternPixels));
    EXPECT_FALSE(before.copy(kLatticePixels) == F().Canvas().Image().copy(kLatticePixels));
    const QImage middle = F().Canvas().Image().copy();
    F().VScroll2->setValue(150);  // thumb at the bottom
    EXPECT_EQ(M().SpotRadius, 0);
    EXPECT_TRUE(middle.copy(kLatticePixels) == F().Canvas().Image().copy(kLatticePixels));
    // A zero-radius preview leaves only the erased background around its centre.
    EXPECT_EQ(Pixel(4320 + 30, 8160), F().Canvas().BackColor());
}

TEST_F(OptionsTest, MouseReleaseClearsRedrawOnActivate) {
    EXPECT_TRUE(M().RedrawOnActivate);
    F().Form_MouseUp(100, 100);
    EXPECT_FALSE(M().RedrawOnActivate);
    F().VScroll1->setValue(50);
    EXPECT_TRUE(M().RedrawOnActivate);
}

TEST_F(OptionsTest, ExitClosesTheWindow) {
    F().show();
    F().Command2->click();
    EXPECT_FALSE(F().isVisible());
}

TEST_F(OptionsTest, PaintedDomainsShowTheirColoursAndMergeWhereTheyMeet) {
    Choose(F().Combo3, 3);  // p(2x1) on p4mm: the (2x1) and (1x2) spot sets
    F().Check3->setChecked(true);
    F().Check2->setChecked(true);
    // PatScale = 3480 / 2.5 = 1392 twips per reciprocal unit.
    EXPECT_EQ(Pixel(6300 + 696, 6420), RGB(138, 138, 255));  // (1/2, 0): subpattern 1
    EXPECT_EQ(Pixel(6300, 6420 - 696), RGB(255, 106, 106));  // (0, 1/2): subpattern 2
    // (1, 0) belongs to both: the OR of the two colours.
    EXPECT_EQ(Pixel(6300 + 1392, 6420), RGB(255, 234, 255));
    // The legend boxes after "Domain colors :", in subpattern order.
    EXPECT_EQ(Pixel(8280 + 90, 4920 + 112), RGB(138, 138, 255));
    EXPECT_EQ(Pixel(8280 + 270, 4920 + 112), RGB(255, 106, 106));
    EXPECT_EQ(Pixel(8280 + 450, 4920 + 112), F().Canvas().BackColor());
    // Without "Paint domains" every superstructure spot is white.
    F().Check2->setChecked(false);
    EXPECT_EQ(Pixel(6300 + 696, 6420), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(6300, 6420 - 696), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(8280 + 90, 4920 + 112), F().Canvas().BackColor());
}
