// "Reduce", and "Save", "Load", "Clear" through the window.
#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

namespace {

class StoreAndReduceTest : public FormTest {
  protected:
    void Draw(const Matrix& m) {
        SetMatrix(m);
        F().UpdateAll(1, 0);
    }
    void Save() { QTest::mouseClick(F().Command18, Qt::LeftButton); }
    void Load() { QTest::mouseClick(F().Command19, Qt::LeftButton); }
    std::string Caption() { return Text(F().Command19); }
};

TEST_F(StoreAndReduceTest, ReducedMatrixIsShownAndDrawn) {
    const std::pair<Matrix, Matrix> cases[] = {
        {{0, 1, 1, 0}, {1, 0, 0, 1}},     // equal lengths, left-handed: the rows swap
        {{2, 0, 1, 2}, {1, -2, 1, 2}},    // projection exactly half a length: the rhombic pair
        {{3, 5, 5, 8}, {-1, 0, 0, -1}}};  // three passes and a swap; the signs are left alone
    for (const auto& [from, to] : cases) {
        SCOPED_TRACE(::testing::PrintToString(from));
        Restart();
        Draw(from);
        Choose(F().Combo2, 1);  // p2, allowed for every superlattice here
        ASSERT_EQ(M().SuperGroup, 2);
        F().Command4_Click();  // LatMag 1.2 stays
        const int patterns = F().PatternRuns();
        F().Command10->click();
        EXPECT_EQ(Mat(), to);
        EXPECT_EQ(Fields(), to);
        EXPECT_EQ(M().SuperGroup, 1);
        EXPECT_EQ(M().LatMag, 1.2);
        EXPECT_EQ(F().PatternRuns(), patterns + 1);
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(StoreAndReduceTest, ReductionThatWouldOverflowKeepsTheMatrix) {
    // Under the hold M21 becomes -2147483647 while the drawn vectors stay b1 = a1,
    // b2 = 3a1 + a2: taking 3 b1 from b2 would leave the 32-bit range.
    Draw({1, 0, 3, 1});
    F().Label9_Click();
    Type(F().Text7, "-2147483647");
    F().Command10->click();
    EXPECT_EQ(Mat(), (Matrix{1, 0, -2147483647, 1}));
    EXPECT_EQ(Fields(), (Matrix{1, 0, -2147483647, 1}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(StoreAndReduceTest, ThreeSetsComeBackInARing) {
    const int rows[] = {2, 3, 4};  // p(1x2), p(2x1), p(2x2)
    const Matrix matrices[] = {{1, 0, 0, 2}, {2, 0, 0, 1}, {2, 0, 0, 2}};
    for (int row : rows) {
        Choose(F().Combo3, row);
        Save();
    }
    EXPECT_EQ(Caption(), "Load (1/3)");
    Choose(F().Combo3, 7);  // something else on screen
    const std::pair<int, const char*> steps[] = {
        {2, "Load (2/3)"}, {1, "Load (3/3)"}, {0, "Load (1/3)"}, {2, "Load (2/3)"}};
    for (const auto& [set, caption] : steps) {
        Load();
        EXPECT_EQ(F().Combo3->currentIndex(), rows[set]) << caption;
        EXPECT_EQ(Fields(), matrices[set]) << caption;
        EXPECT_EQ(Caption(), caption);
    }
    Save();  // a Save after Loads starts again at the newest set
    EXPECT_EQ(Caption(), "Load (1/4)");
}

TEST_F(StoreAndReduceTest, EleventhSaveDropsTheOldest) {
    for (int i = 0; i <= 10; ++i) {
        if (i > 0) F().Command8_Click();  // rot >: 10 degrees more each time
        Save();
    }
    EXPECT_EQ(Caption(), "Load (1/10)");
    for (int k = 0; k < 11; ++k) {  // newest first; the first Save's angle 0 is gone
        Load();
        EXPECT_EQ(M().RotAngle, k < 10 ? 100 - 10 * k : 100) << k;
    }
}

TEST_F(StoreAndReduceTest, ClearThenLoadDoesNothing) {
    Choose(F().Combo3, 4);
    Save();
    QTest::mouseClick(F().Command20, Qt::LeftButton);
    EXPECT_EQ(Caption(), "Load (0/0)");
    Choose(F().Combo3, 3);
    const int updates = F().UpdateRuns();
    Load();
    EXPECT_EQ(Mat(), (Matrix{2, 0, 0, 1}));
    EXPECT_EQ(F().UpdateRuns(), updates);
}

TEST_F(StoreAndReduceTest, NothingIsSavedWhenTheSuperlatticeIsTooLarge) {
    Save();
    Type(F().Text6, "21");
    ASSERT_FALSE(M().PatternValid);
    Save();
    EXPECT_EQ(Caption(), "Load (1/1)");
    EXPECT_TRUE(F().Label20->isHidden());
}

TEST_F(StoreAndReduceTest, LoadBringsTheControlsInLine) {
    // The saved set: oblique p2 on c(2x2), all boxes but "Include 1x1" ticked, unconstrained.
    Choose(F().Combo1, 1);
    Type(F().Text1, "2.5");
    Choose(F().Combo3, 9);
    const std::vector<bool> saved{false, true, true, true, false};
    const std::array boxes{F().Check1, F().Check2, F().Check3, F().Check4, F().Check5};
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->setChecked(saved[i]);
    Choose(F().Combo2, 1);
    F().Command8_Click();
    ASSERT_EQ(M().SuperGroup, 2);
    Save();
    // Something else entirely: hexagonal p6mm, (2x1), the boxes the other way round.
    Choose(F().Combo1, 16);
    Choose(F().Combo3, 3);
    for (QCheckBox* box : boxes) box->setChecked(!box->isChecked());
    Load();
    EXPECT_EQ(Text(F().Text1) + " " + Text(F().Text3), "2.5000 55.0");
    EXPECT_EQ(Shown({F().Text2, F().Text3, F().Label4, F().Label5, F().Check2, F().Label19}),
              std::vector<bool>(6, true));
    EXPECT_EQ(Fields(), (Matrix{1, -1, 1, 1}));
    const std::array rows{F().Combo1->currentIndex(), F().Combo3->currentIndex(),
                          F().Combo2->currentIndex()};
    EXPECT_EQ(rows, (std::array{1, 9, 1}));
    EXPECT_EQ(M().SuperGroup, 2);  // kept by the update, not reset to p1
    EXPECT_EQ(Ticked(), saved);
    EXPECT_EQ(M().RotAngle, 10);
    EXPECT_TRUE(messages.empty());
}

TEST_F(StoreAndReduceTest, HoldKeepsThePictureThroughEditsReduceAndLoadUntilRefresh) {
    Choose(F().Combo3, 4);  // p(2x2), unconstrained
    F().Check5->setChecked(false);
    Save();
    Choose(F().Combo3, 2);  // p(1x2)
    Save();
    F().Check5->setChecked(true);
    Draw({2, 0, 1, 2});
    F().Label9_Click();
    const QImage before = Picture();
    const int updates = F().UpdateRuns(), patterns = F().PatternRuns();
    const std::string allowed = Text(F().Label15);
    F().Command10->click();
    EXPECT_EQ(Fields(), (Matrix{1, -2, 1, 2}));
    Type(F().Text9, "5");
    EXPECT_EQ(Mat(), (Matrix{1, -2, 1, 5}));
    Load();
    EXPECT_EQ(Fields(), (Matrix{1, 0, 0, 2}));
    EXPECT_EQ(Caption(), "Load (2/2)");
    Load();
    EXPECT_EQ(Fields(), (Matrix{2, 0, 0, 2}));
    EXPECT_EQ(F().Combo3->currentIndex(), 4);
    // The constraint box follows without its own handler, which would recompute the groups.
    EXPECT_FALSE(F().Check5->isChecked() || M().Constrained);
    EXPECT_EQ(Text(F().Label15), allowed);
    EXPECT_EQ(F().UpdateRuns(), updates);
    EXPECT_EQ(F().PatternRuns(), patterns);
    EXPECT_TRUE(F().Canvas().Image() == before);
    F().Command1->click();
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_EQ(F().Label9->palette().color(QPalette::Window), F().palette().color(QPalette::Window));
    EXPECT_FALSE(F().Canvas().Image() == before);
    EXPECT_NEAR(M().B1X, 2.0, 1e-12);
    // A Load under the hold still sets a check box, whose handler redraws the pattern as a
    // click would; the update itself waits.
    F().Check3->setChecked(true);
    Save();
    F().Check3->setChecked(false);
    F().Label9_Click();
    const int updates2 = F().UpdateRuns(), patterns2 = F().PatternRuns();
    Load();
    EXPECT_EQ(Shown({F().Check2}), std::vector<bool>{true});
    EXPECT_EQ(F().PatternRuns(), patterns2 + 1);
    EXPECT_EQ(F().UpdateRuns(), updates2);
}

}  // namespace
