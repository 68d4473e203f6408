// "Reduce", and "Save", "Load", "Clear" through the window.
#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

class SavedSetsTest : public WindowTest {
  protected:
    void Draw(const Matrix& m) {
        SetMatrix(m);
        Update();
    }
    void Save() { MouseClick("saveButton"); }
    void Load() { MouseClick("loadButton"); }
    std::array<int, 2> Runs() { return {W().updateRuns(), W().patternRuns()}; }
};
using ReduceTest = SavedSetsTest;

// The reduced matrix is shown and drawn, the group reset to p1, the zoom kept.
TEST_F(ReduceTest, ReducedMatrixIsShownAndDrawn) {
    Draw({3, 5, 5, 8});
    Choose("superGroupList", 1);    // p2
    Click("latticeZoomOutButton");  // the zoom stays
    const int patterns = W().patternRuns();
    Click("reduceButton");
    EXPECT_EQ(
        std::tuple(Mat(), Fields(), S().superGroup, V().latticeZoom, W().patternRuns()),
        std::tuple(Matrix{-1, 0, 0, -1}, Matrix{-1, 0, 0, -1}, model::kP1, 1.2, patterns + 1));
    // Under the hold m21 becomes -2147483647 while the drawn vectors stay b1 = a1,
    // b2 = 3a1 + a2: taking 3 b1 from b2 would leave the 32-bit range.
    Restart();
    Draw({1, 0, 3, 1});
    MouseClick("matrixLabel");
    Type("matrixField21", "-2147483647");
    Click("reduceButton");
    EXPECT_EQ(Fields(), (Matrix{1, 0, -2147483647, 1}));
    EXPECT_EQ(Mat(), Fields());
    EXPECT_TRUE(messages.empty());
}

// The ring of saved sets; a set saved while the list showed "None" loads as "None".
TEST_F(SavedSetsTest, SetsComeBackInARing) {
    const int rows[] = {2, 3, 4};  // p(1x2), p(2x1), p(2x2)
    const Matrix matrices[] = {{1, 0, 0, 2}, {2, 0, 0, 1}, {2, 0, 0, 2}};
    for (int row : rows) {
        Choose("commonNameList", row);
        Save();
    }
    EXPECT_EQ(Text("loadButton"), "Load (1/3)");
    Type("matrixField11", "3");  // something else on screen, the list showing "None"
    Save();
    const std::pair<int, const char*> steps[] = {{-1, "Load (2/4)"}, {2, "Load (3/4)"},
                                                 {1, "Load (4/4)"},  {0, "Load (1/4)"},
                                                 {-1, "Load (2/4)"}, {2, "Load (3/4)"}};
    for (const auto& [set, caption] : steps) {
        Load();
        EXPECT_EQ(Row("commonNameList"), set < 0 ? 0 : rows[set]) << caption;
        EXPECT_EQ(Fields(), set < 0 ? (Matrix{3, 0, 0, 2}) : matrices[set]) << caption;
        EXPECT_EQ(Text("loadButton"), caption);
    }
    Save();  // a Save after Loads starts again at the newest set
    EXPECT_EQ(Text("loadButton"), "Load (1/5)");
    // Clear empties the ring: a Load does nothing, and no set is saved while the
    // superlattice is too large to draw.
    MouseClick("clearButton");
    EXPECT_EQ(Text("loadButton"), "Load (0/0)");
    const int updates = W().updateRuns();
    Load();
    EXPECT_EQ(Fields(), matrices[2]);
    EXPECT_EQ(W().updateRuns(), updates);
    Save();
    Type("matrixField11", "21");
    ASSERT_FALSE(Derived().patternValid);
    Save();
    EXPECT_EQ(Text("loadButton"), "Load (1/1)");
    EXPECT_TRUE(Find("busyLabel")->isHidden());
}

TEST_F(SavedSetsTest, HoldKeepsThePictureThroughEditsReduceAndLoadUntilRefresh) {
    Choose("commonNameList", 4);  // p(2x2), unconstrained
    Tick("constrainedBox", false);
    Save();
    Choose("commonNameList", 2);  // p(1x2)
    Save();
    Tick("constrainedBox", true);
    Draw({2, 0, 1, 2});
    MouseClick("matrixLabel");
    EXPECT_TRUE(W().matrixHeld() && Red("matrixLabel"));
    const QImage before = Picture();
    const std::array<int, 2> runs = Runs();
    const std::string allowed = Text("allowedGroupsLabel");
    Click("reduceButton");
    EXPECT_EQ(Fields(), (Matrix{1, -2, 1, 2}));
    Type("matrixField22", "5");
    EXPECT_EQ(Mat(), (Matrix{1, -2, 1, 5}));
    for (const Matrix& loaded : {Matrix{1, 0, 0, 2}, Matrix{2, 0, 0, 2}}) {
        Load();
        EXPECT_EQ(Fields(), loaded);
    }
    EXPECT_EQ(Row("commonNameList"), 4);
    // The constraint box follows without its own handler, which would recompute the groups.
    EXPECT_FALSE(Ticked()[4] || S().constrained);
    EXPECT_EQ(Text("allowedGroupsLabel"), allowed);
    EXPECT_EQ(Runs(), runs);
    EXPECT_TRUE(W().canvas().Image() == before);
    Click("refreshButton");
    EXPECT_FALSE(W().matrixHeld() || Red("matrixLabel"));
    EXPECT_FALSE(W().canvas().Image() == before);
    EXPECT_NEAR(Derived().vectors.b1.x, 2.0, 1e-12);
    // A Load under the hold still sets a check box, whose handler redraws the pattern as a
    // click would; the update itself waits.
    Tick("includeDomainsBox", true);
    Save();
    Tick("includeDomainsBox", false);
    MouseClick("matrixLabel");
    const std::array<int, 2> runs2 = Runs();
    Load();
    EXPECT_EQ(Shown({"paintDomainsBox"}), std::vector<bool>{true});
    EXPECT_EQ(Runs(), (std::array{runs2[0], runs2[1] + 1}));
    // A changed "1x1" box ends the hold as its click would; every box changing
    // at once still costs one update and one pattern.
    Tick("include1x1Box", !S().options.include1x1);
    Tick("includeBasesBox", !S().options.includeBases);
    Tick("includeDomainsBox", false);
    MouseClick("matrixLabel");
    const std::array<int, 2> runs3 = Runs();
    Load();
    EXPECT_FALSE(W().matrixHeld() || Red("matrixLabel"));
    EXPECT_EQ(Runs(), (std::array{runs3[0] + 1, runs3[1] + 1}));
    // "Default sizes" ends the hold too.
    MouseClick("matrixLabel");
    ASSERT_TRUE(W().matrixHeld() && Red("matrixLabel"));
    Click("defaultSizesButton");
    EXPECT_FALSE(W().matrixHeld() || Red("matrixLabel"));
}

}  // namespace
}  // namespace quorvex::testing
