// The update cycle's refusals: a singular matrix and a superlattice too large to draw.
#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

using model::RGB;
using UpdateCycleTest = WindowTest;

TEST_F(UpdateCycleTest, SingularMatrixIsReportedUntilMended) {
    ShowActive();
    const QImage before = Picture();
    const int runs = W().updateRuns();
    Type("matrixField11", "0");  // the value stays
    EXPECT_EQ(messages, std::vector<std::string>{"Superlattice matrix inconsistent"});
    EXPECT_EQ(S().matrix.m11, 0);
    EXPECT_EQ(Text("matrixField11"), "0");
    Find("refreshButton")->setFocus();
    Click("refreshButton");  // every later update repeats it, the focus back and selected
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), Find("matrixField11"));
    EXPECT_EQ(Find<QLineEdit>("matrixField11")->selectedText(), QString("0"));
    MouseClick("matrixLabel");  // also under the hold
    ASSERT_TRUE(W().matrixHeld());
    W().updateAll(Part::Draw, Hold::Respect);
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(W().updateRuns(), runs);
    EXPECT_TRUE(W().canvas().Image() == before);
    MouseClick("matrixLabel");
    Type("matrixField11", "3");
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(W().updateRuns(), runs + 1);
}

TEST_F(UpdateCycleTest, RatioAboveTwentyIsRefused) {
    // {matrix over the start-up square lattice, too large}; huge entries are no
    // arithmetic fault, they are too large.
    const std::pair<Matrix, bool> cases[] = {
        {{20, 0, 0, 20}, false},
        {{21, 0, 0, 1}, true},
        {{2147483647, -2147483647 - 1, 2147483647, 2147483647}, true}};
    for (const auto& [matrix, tooLarge] : cases) {
        SCOPED_TRACE(::testing::PrintToString(matrix));
        Restart();
        Tick("includeDomainsBox", true);  // the legend shown
        Tick("paintDomainsBox", true);
        SetMatrix(matrix);
        const std::string parameters = Text("superlatticeParametersLabel");
        Update();
        EXPECT_EQ(Derived().patternValid, !tooLarge);
        EXPECT_EQ(W().canvas().State().textColor == RGB(255, 0, 0), tooLarge);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(Find("legendTitleLabel")->isHidden(), tooLarge);
        if (!tooLarge) continue;
        EXPECT_EQ(Text("superlatticeParametersLabel"), parameters);  // the last analysis stays
        EXPECT_EQ(Pixel(6300, 6420), RGB(0, 0, 0));                  // the pattern box blanked
        // The pattern-only redraws leave the box blank too, with no legend to click:
        // drawing such a pattern would take minutes.
        const QImage blank = Picture();
        const int runs = W().updateRuns(), patterns = W().patternRuns();
        Click("patternZoomOutButton");
        Tick("paintDomainsBox", false);
        Tick("paintDomainsBox", true);
        W().onMouseReleased(8400, 5000);
        EXPECT_TRUE(Kept(blank, kPatternPixels));
        EXPECT_EQ((std::array{W().updateRuns(), W().patternRuns()}), (std::array{runs, patterns}));
    }
}

}  // namespace
}  // namespace quorvex::testing
