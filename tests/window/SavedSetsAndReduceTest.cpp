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
};
using ReduceTest = SavedSetsTest;

TEST_F(ReduceTest, ReducedMatrixIsShownAndDrawn) {
    const std::pair<Matrix, Matrix> cases[] = {
        {{0, 1, 1, 0}, {1, 0, 0, 1}},     // equal lengths, left-handed: the rows swap
        {{2, 0, 1, 2}, {1, -2, 1, 2}},    // projection exactly half a length: the rhombic pair
        {{3, 5, 5, 8}, {-1, 0, 0, -1}}};  // three passes and a swap; the signs are left alone
    for (const auto& [from, to] : cases) {
        SCOPED_TRACE(::testing::PrintToString(from));
        Restart();
        Draw(from);
        Choose("superGroupList", 1);  // p2, allowed for every superlattice here
        ASSERT_EQ(S().superGroup, model::kP2);
        Click("latticeZoomOutButton");  // the zoom stays
        const int patterns = W().patternRuns();
        Click("reduceButton");
        EXPECT_EQ(Mat(), to);
        EXPECT_EQ(Fields(), to);
        EXPECT_EQ(S().superGroup, model::kP1);
        EXPECT_EQ(V().latticeZoom, 1.2);
        EXPECT_EQ(W().patternRuns(), patterns + 1);
        EXPECT_TRUE(messages.empty());
    }
    // Under the hold m21 becomes -2147483647 while the drawn vectors stay b1 = a1,
    // b2 = 3a1 + a2: taking 3 b1 from b2 would leave the 32-bit range.
    Restart();
    Draw({1, 0, 3, 1});
    MouseClick("matrixLabel");
    Type("matrixField21", "-2147483647");
    Click("reduceButton");
    EXPECT_EQ(Mat(), (Matrix{1, 0, -2147483647, 1}));
    EXPECT_EQ(Fields(), Mat());
    EXPECT_TRUE(messages.empty());
}

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
}

TEST_F(SavedSetsTest, ClearAndRefusedSaves) {
    Choose("commonNameList", 4);
    Save();
    MouseClick("clearButton");
    EXPECT_EQ(Text("loadButton"), "Load (0/0)");
    Choose("commonNameList", 3);
    const int updates = W().updateRuns();
    Load();  // nothing to load
    EXPECT_EQ(Mat(), (Matrix{2, 0, 0, 1}));
    EXPECT_EQ(W().updateRuns(), updates);
    Save();
    Type("matrixField11", "21");  // nothing is saved while the superlattice is too large
    ASSERT_FALSE(Derived().patternValid);
    Save();
    EXPECT_EQ(Text("loadButton"), "Load (1/1)");
    EXPECT_TRUE(Find("busyLabel")->isHidden());
}

TEST_F(SavedSetsTest, LoadBringsTheControlsInLine) {
    // The saved set: oblique p2 on c(2x2), all boxes but "Include 1x1" ticked, unconstrained.
    Choose("basicGroupList", 1);
    Type("lengthAField", "2.5");
    Choose("commonNameList", 9);
    const std::vector<bool> saved{false, true, true, true, false};
    for (int i = 0; i < 5; ++i) Tick(kBoxes[i], saved[i]);
    Choose("superGroupList", 1);
    Click("rotateRightButton");
    ASSERT_EQ(S().superGroup, model::kP2);
    Save();
    // Something else entirely: hexagonal p6mm, (2x1), the boxes the other way round.
    Choose("basicGroupList", 16);
    Choose("commonNameList", 3);
    for (int i = 0; i < 5; ++i) Tick(kBoxes[i], !saved[i]);
    Load();
    EXPECT_EQ(Text("lengthAField") + " " + Text("alphaField"), "2.5000 55.0");
    EXPECT_EQ(Shown({"lengthBField", "alphaField", "lengthBLabel", "alphaLabel", "paintDomainsBox",
                     "domainCountLabel"}),
              std::vector<bool>(6, true));
    EXPECT_EQ(Fields(), (Matrix{1, -1, 1, 1}));
    EXPECT_EQ(Text("basicGroupList"), Padded("[ 2]  Oblique p2", 32));
    EXPECT_EQ(Text("commonNameList"), Padded("c(2x2)", 30));
    EXPECT_EQ(Text("superGroupList"), Padded("[ 2]  Oblique p2", 32));  // not reset to p1
    EXPECT_EQ(Ticked(), saved);
    EXPECT_EQ(V().rotationDegrees, 10);
    EXPECT_TRUE(messages.empty());
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
    const int updates = W().updateRuns(), patterns = W().patternRuns();
    const std::string allowed = Text("allowedGroupsLabel");
    Click("reduceButton");
    EXPECT_EQ(Fields(), (Matrix{1, -2, 1, 2}));
    Type("matrixField22", "5");
    EXPECT_EQ(Mat(), (Matrix{1, -2, 1, 5}));
    Load();
    EXPECT_EQ(Fields(), (Matrix{1, 0, 0, 2}));
    Load();
    EXPECT_EQ(Fields(), (Matrix{2, 0, 0, 2}));
    EXPECT_EQ(Row("commonNameList"), 4);
    // The constraint box follows without its own handler, which would recompute the groups.
    EXPECT_FALSE(Ticked()[4] || S().constrained);
    EXPECT_EQ(Text("allowedGroupsLabel"), allowed);
    EXPECT_EQ(W().updateRuns(), updates);
    EXPECT_EQ(W().patternRuns(), patterns);
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
    const int updates2 = W().updateRuns(), patterns2 = W().patternRuns();
    Load();
    EXPECT_EQ(Shown({"paintDomainsBox"}), std::vector<bool>{true});
    EXPECT_EQ(W().patternRuns(), patterns2 + 1);
    EXPECT_EQ(W().updateRuns(), updates2);
}

}  // namespace
}  // namespace quorvex::testing
