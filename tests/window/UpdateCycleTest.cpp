#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;
using model::RGB;

using UpdateCycleTest = FormTest;

TEST_F(UpdateCycleTest, SingularMatrixIsReportedUntilMended) {
    ShowActive();
    const QImage before = Picture();
    const int runs = F().UpdateRuns();
    Type(F().Text6, "0");  // the value stays
    EXPECT_EQ(messages, std::vector<std::string>{"Superlattice matrix inconsistent"});
    EXPECT_EQ(M().M11, 0);
    EXPECT_EQ(Text(F().Text6), "0");
    F().Command1->setFocus();
    F().Command1->click();  // every later update repeats it, the focus back and selected
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), F().Text6);
    EXPECT_EQ(F().Text6->selectedText(), QString("0"));
    M().MatrixHold = true;  // also under the hold
    F().UpdateAll(1, -1);
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(F().UpdateRuns(), runs);
    EXPECT_TRUE(F().Canvas().Image() == before);
    M().MatrixHold = false;
    Type(F().Text6, "3");
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
}

TEST_F(UpdateCycleTest, RatioAboveTwentyIsRefused) {
    struct Case {
        int basicGroup;
        double a, b, alpha;
        Matrix matrix;
        bool tooLarge;
    };
    const Case cases[] = {
        {11, 1, 1, 90, {20, 0, 0, 20}, false},
        {11, 1, 1, 90, {21, 0, 0, 1}, true},
        // The ratio uses the longer basic vector: 40 / 2 = 20 is drawn.
        {1, 2, 1, 55, {1, 0, 0, 40}, false},
        {1, 2, 1, 55, {1, 0, 0, 41}, true},
        // Huge entries are no arithmetic fault; they are too large.
        {11, 1, 1, 90, {2147483647, -2147483647 - 1, 2147483647, 2147483647}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.matrix));
        Restart();
        std::tie(M().BasicGroup, M().LatticeA, M().LatticeB, M().LatticeAlpha) =
            std::tuple(c.basicGroup, c.a, c.b, c.alpha);
        SetMatrix(c.matrix);
        const std::string caption17 = Text(F().Label17);
        F().UpdateAll(1, 0);
        EXPECT_EQ(M().PatternValid, !c.tooLarge);
        EXPECT_EQ(F().Canvas().State().textColor == RGB(255, 0, 0), c.tooLarge);
        EXPECT_TRUE(messages.empty());
        if (!c.tooLarge) continue;
        EXPECT_EQ(Text(F().Label17), caption17);     // the last analysis stays
        EXPECT_EQ(Pixel(6300, 6420), RGB(0, 0, 0));  // the pattern box blanked
        bool red = false;  // the red text at the lattice box's top-left corner
        for (double x = 250; x < 1500; x += 15)
            for (double y = 4690; y < 4900; y += 15) red |= Pixel(x, y) == RGB(255, 0, 0);
        EXPECT_TRUE(red);
    }
}
