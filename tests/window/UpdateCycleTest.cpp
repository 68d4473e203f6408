#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;
using model::RGB;

using UpdateCycleTest = FormTest;

namespace {
void SetMatrix(model::Module1& m, int m11, int m12, int m21, int m22) {
    m.M11 = m11;
    m.M12 = m12;
    m.M21 = m21;
    m.M22 = m22;
}
}  // namespace

TEST_F(UpdateCycleTest, SingularMatrixIsReportedAndNothingChanges) {
    ShowActive();
    const QImage before = F().Canvas().Image().copy();
    const int runs = F().UpdateRuns();
    SetMatrix(M(), 2, 0, 0, 0);
    M().LatMag = 2;  // would change the picture if anything were drawn
    F().Command1->setFocus();
    F().UpdateAll(1, 0);
    ASSERT_EQ(messages, std::vector<std::string>{"Superlattice matrix inconsistent"});
    EXPECT_EQ(QApplication::focusWidget(), F().Text6);
    EXPECT_EQ(F().Text6->selectedText(), F().Text6->text());
    EXPECT_EQ(F().UpdateRuns(), runs);
    EXPECT_TRUE(F().Canvas().Image() == before);
}

TEST_F(UpdateCycleTest, SingularMatrixIsReportedEvenUnderTheHold) {
    M().MatrixHold = true;
    SetMatrix(M(), 1, 1, 1, 1);
    F().UpdateAll(1, -1);
    EXPECT_EQ(messages.size(), 1u);
}

struct SizeCase {
    int basicGroup;
    double a, b, alpha;
    int m11, m12, m21, m22;
    bool tooLarge;
};

class SizeCheckTest : public FormTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeCheckTest, RatioAboveTwentyIsRefused) {
    const SizeCase c = GetParam();
    M().BasicGroup = c.basicGroup;
    M().LatticeA = c.a;
    M().LatticeB = c.b;
    M().LatticeAlpha = c.alpha;
    SetMatrix(M(), c.m11, c.m12, c.m21, c.m22);
    const std::string caption17 = Text(F().Label17);
    F().UpdateAll(1, 0);
    EXPECT_EQ(M().PatternValid, !c.tooLarge);
    EXPECT_FALSE(F().Label20->isVisible());
    const bool redText = F().Canvas().State().textColor == RGB(255, 0, 0);
    EXPECT_EQ(redText, c.tooLarge);
    if (c.tooLarge) {
        // The analysis keeps what the previous update showed.
        EXPECT_EQ(Text(F().Label17), caption17);
        // Both boxes blanked: the pattern box is all black inside.
        EXPECT_EQ(Pixel(6300, 6420), RGB(0, 0, 0));
        // The red text sits at the lattice box's top-left corner.
        bool anyRed = false;
        for (double x = 250; x < 1500; x += 15)
            for (double y = 4690; y < 4900; y += 15) anyRed |= Pixel(x, y) == RGB(255, 0, 0);
        EXPECT_TRUE(anyRed);
    }
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SizeCheckTest,
    ::testing::Values(SizeCase{11, 1, 1, 90, 20, 0, 0, 20, false},
                      SizeCase{11, 1, 1, 90, 21, 0, 0, 1, true},
                      // The ratio uses the longer basic vector: 40 / 2 = 20 is drawn.
                      SizeCase{1, 2, 1, 55, 1, 0, 0, 40, false},
                      SizeCase{1, 2, 1, 55, 1, 0, 0, 41, true},
                      // Huge entries are no arithmetic fault; they are too large.
                      SizeCase{11, 1, 1, 90, 2147483647, -2147483647 - 1, 2147483647, 2147483647,
                               true}));

TEST_F(UpdateCycleTest, HoldKeepsTheDrawingUntilRefresh) {
    F().Label9_Click();
    EXPECT_TRUE(M().MatrixHold);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window), QColor(255, 0, 0));
    const QImage before = F().Canvas().Image().copy();
    Type(F().Text6, "2");
    EXPECT_EQ(M().M11, 2);
    EXPECT_EQ(Text(F().Text6), "2");
    EXPECT_TRUE(F().Canvas().Image() == before);
    F().Command1->click();
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window),
              F().palette().color(QPalette::Window));
    EXPECT_FALSE(F().Canvas().Image() == before);
    EXPECT_NEAR(M().B1X, 2.0, 1e-12);
}

TEST_F(UpdateCycleTest, RotationBy90TurnsA1ToMinusY) {
    F().Command15->click();
    EXPECT_EQ(M().A1X, 0.0);
    EXPECT_EQ(M().A1Y, -1.0);
}

TEST_F(UpdateCycleTest, ResetSuperGroupAfterMatrixEdit) {
    Choose(F().Combo2, 1);  // p2, allowed on the square lattice
    EXPECT_EQ(M().SuperGroup, 2);
    Type(F().Text6, "2");
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(Text(F().Combo2), Padded("[ 1]  Oblique p1", 32));
}

TEST_F(UpdateCycleTest, LatticeZoomRedrawsOnlyTheRealSpaceSide) {
    const QImage before = F().Canvas().Image().copy();
    F().Command4->click();
    const QImage after = F().Canvas().Image();
    const QRect pattern(304, 312, 233, 233);  // the pattern box in pixels
    EXPECT_TRUE(before.copy(pattern) == after.copy(pattern));
    const QRect lattice(16, 312, 233, 233);
    EXPECT_FALSE(before.copy(lattice) == after.copy(lattice));
}
