// "Reduce", and "Save", "Load", "Clear" through the window.
#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

namespace {

struct Matrix {
    int m11, m12, m21, m22;
    bool operator==(const Matrix&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Matrix& m) {
    return os << "(" << m.m11 << ", " << m.m12 << "; " << m.m21 << ", " << m.m22 << ")";
}

class StoreAndReduceTest : public FormTest {
  protected:
    Matrix Mat() { return {M().M11, M().M12, M().M21, M().M22}; }
    // Text6 = M11, Text8 = M12, Text7 = M21, Text9 = M22.
    Matrix Fields() {
        return {F().Text6->text().toInt(), F().Text8->text().toInt(), F().Text7->text().toInt(),
                F().Text9->text().toInt()};
    }
    void Draw(const Matrix& m) {
        M().M11 = m.m11;
        M().M12 = m.m12;
        M().M21 = m.m21;
        M().M22 = m.m22;
        F().UpdateAll(1, 0);
    }
    void Click(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(w, button);
    }
    void Save(Qt::MouseButton button = Qt::LeftButton) { Click(F().Command18, button); }
    void Load() { Click(F().Command19); }
    void Clear() { Click(F().Command20); }
    std::string Caption() { return Text(F().Command19); }
};

struct ReduceCase {
    Matrix from, to;
};

class ReduceTest : public StoreAndReduceTest, public ::testing::WithParamInterface<ReduceCase> {};

TEST_P(ReduceTest, ReducedMatrixIsShownAndDrawn) {
    const ReduceCase c = GetParam();
    Draw(c.from);
    Choose(F().Combo2, 1);  // p2, allowed for every superlattice here
    ASSERT_EQ(M().SuperGroup, 2);
    F().Command4_Click();  // LatMag 1.2 stays
    const int patterns = F().PatternRuns();
    Click(F().Command10);
    EXPECT_EQ(Mat(), c.to);
    EXPECT_EQ(Fields(), c.to);
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(M().LatMag, 1.2);
    EXPECT_EQ(F().PatternRuns(), patterns + 1);
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(SquareLattice, ReduceTest,
                         ::testing::Values(ReduceCase{{1, 0, 0, 1}, {1, 0, 0, 1}},
                                           // Equal lengths, left-handed: the rows swap.
                                           ReduceCase{{0, 1, 1, 0}, {1, 0, 0, 1}},
                                           // Projection of b2 on b1 exactly half: the rhombic pair.
                                           ReduceCase{{2, 0, 1, 2}, {1, -2, 1, 2}},
                                           // Three passes and a swap; the signs are left alone.
                                           ReduceCase{{3, 5, 5, 8}, {-1, 0, 0, -1}}));

TEST_F(StoreAndReduceTest, ReduceUnderTheHoldChangesTheFieldsNotThePicture) {
    Draw({2, 0, 1, 2});
    F().Label9_Click();
    ASSERT_TRUE(M().MatrixHold);
    const QImage before = F().Canvas().Image().copy();
    const int updates = F().UpdateRuns();
    Click(F().Command10);
    EXPECT_EQ(Fields(), (Matrix{1, -2, 1, 2}));
    EXPECT_EQ(F().UpdateRuns(), updates);
    EXPECT_TRUE(F().Canvas().Image() == before);
    EXPECT_TRUE(M().MatrixHold);
    // Refresh ends the hold and draws the reduced matrix.
    Click(F().Command1);
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_FALSE(F().Canvas().Image() == before);
}

TEST_F(StoreAndReduceTest, ReductionThatWouldOverflowKeepsTheMatrix) {
    // b1 = a1, b2 = 3a1 + a2 are drawn; under the hold M21 becomes -2147483647
    // while the vectors stay. The first pass takes 3 b1 from b2, which would
    // put M21 below the 32-bit range.
    Draw({1, 0, 3, 1});
    F().Label9_Click();
    Type(F().Text7, "-2147483647");
    ASSERT_EQ(M().M21, -2147483647);
    const int updates = F().UpdateRuns();
    Click(F().Command10);
    EXPECT_EQ(Mat(), (Matrix{1, 0, -2147483647, 1}));
    EXPECT_EQ(Text(F().Text7), "-2147483647");
    EXPECT_EQ(Text(F().Text6), "1");
    EXPECT_EQ(F().UpdateRuns(), updates);
    EXPECT_TRUE(messages.empty());
}

TEST_F(StoreAndReduceTest, ThreeSetsComeBackInARing) {
    EXPECT_EQ(Caption(), "Load (0/0)");
    const int updates = F().UpdateRuns();
    Load();  // nothing stored yet
    EXPECT_EQ(F().UpdateRuns(), updates);

    // A = p(1x2), B = p(2x1), C = p(2x2).
    const int rows[] = {2, 3, 4};
    const Matrix matrices[] = {{1, 0, 0, 2}, {2, 0, 0, 1}, {2, 0, 0, 2}};
    for (int row : rows) {
        Choose(F().Combo3, row);
        Save();
    }
    EXPECT_EQ(Caption(), "Load (1/3)");
    Choose(F().Combo3, 7);  // something else on screen

    struct Step {
        int set;  // index into rows
        const char* caption;
    };
    const Step steps[] = {
        {2, "Load (2/3)"}, {1, "Load (3/3)"}, {0, "Load (1/3)"}, {2, "Load (2/3)"}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.caption);
        Load();
        EXPECT_EQ(F().Combo3->currentIndex(), rows[s.set]);
        EXPECT_EQ(M().CommonNameIndex, rows[s.set]);
        EXPECT_EQ(Mat(), matrices[s.set]);
        EXPECT_EQ(Fields(), matrices[s.set]);
        EXPECT_EQ(Caption(), s.caption);
    }
    // A Save after Loads starts again at the newest set.
    Save();
    EXPECT_EQ(Caption(), "Load (1/4)");
}

TEST_F(StoreAndReduceTest, EleventhSaveDropsTheOldest) {
    for (int i = 0; i <= 10; ++i) {
        if (i > 0) F().Command8_Click();  // rot >: 10 degrees more each time
        Save();
    }
    EXPECT_EQ(M().StoreCount, 10);
    EXPECT_EQ(Caption(), "Load (1/10)");
    // Newest first; the angle 0 of the first Save is gone.
    for (int k = 0; k < 11; ++k) {
        Load();
        EXPECT_EQ(M().RotAngle, k < 10 ? 100 - 10 * k : 100) << k;
    }
}

TEST_F(StoreAndReduceTest, ClearThenLoadDoesNothing) {
    Choose(F().Combo3, 4);
    Save();
    Clear();
    EXPECT_EQ(Caption(), "Load (0/0)");
    Choose(F().Combo3, 3);
    const int updates = F().UpdateRuns();
    Load();
    EXPECT_EQ(Mat(), (Matrix{2, 0, 0, 1}));
    EXPECT_EQ(F().UpdateRuns(), updates);
    EXPECT_EQ(Caption(), "Load (0/0)");
}

TEST_F(StoreAndReduceTest, AnyMouseButtonSavesTheKeyboardDoesNot) {
    Save(Qt::RightButton);
    EXPECT_EQ(Caption(), "Load (1/1)");
    Save(Qt::MiddleButton);
    EXPECT_EQ(Caption(), "Load (1/2)");
    F().Command18->setFocus();
    QTest::keyClick(F().Command18, Qt::Key_Space);
    F().Command18->click();
    EXPECT_EQ(Caption(), "Load (1/2)");
    // Load and Clear answer to the right button as well.
    Click(F().Command19, Qt::RightButton);
    EXPECT_EQ(Caption(), "Load (2/2)");
    Click(F().Command20, Qt::RightButton);
    EXPECT_EQ(Caption(), "Load (0/0)");
}

TEST_F(StoreAndReduceTest, NothingIsSavedWhenTheSuperlatticeIsTooLarge) {
    Save();
    Type(F().Text6, "21");
    ASSERT_FALSE(M().PatternValid);
    Save();
    EXPECT_EQ(Caption(), "Load (1/1)");
    EXPECT_EQ(M().StoreCount, 1);
    EXPECT_FALSE(F().Label20->isVisible());
}

TEST_F(StoreAndReduceTest, LoadBringsTheControlsInLine) {
    // The saved set: oblique p2, all boxes but "Include 1x1" ticked, no constraint.
    Choose(F().Combo1, 1);
    Type(F().Text1, "2.5");
    Choose(F().Combo3, 9);  // c(2x2)
    F().Check1->setChecked(false);
    F().Check3->setChecked(true);
    F().Check2->setChecked(true);
    F().Check4->setChecked(true);
    F().Check5->setChecked(false);
    Choose(F().Combo2, 1);  // p2
    F().Command8_Click();   // rot >
    ASSERT_EQ(M().SuperGroup, 2);
    ASSERT_TRUE(M().PatternValid);
    Save();

    // Something else entirely: square p4mm, (2x1), boxes the other way round.
    Choose(F().Combo1, 10);
    Choose(F().Combo3, 3);
    F().Check1->setChecked(true);
    F().Check3->setChecked(false);
    F().Check4->setChecked(false);
    F().Check5->setChecked(true);
    ASSERT_TRUE(F().Text2->isHidden());

    Load();
    EXPECT_EQ(F().Combo1->currentIndex(), 1);
    EXPECT_EQ(Text(F().Text1), "2.5000");
    EXPECT_EQ(Text(F().Text2), "1.0000");
    EXPECT_EQ(Text(F().Text3), "55.0");
    for (QWidget* w : std::initializer_list<QWidget*>{F().Text2, F().Text3, F().Label4, F().Label5})
        EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_EQ(Fields(), (Matrix{1, -1, 1, 1}));
    EXPECT_EQ(F().Combo3->currentIndex(), 9);
    EXPECT_EQ(F().Combo2->currentIndex(), 1);
    EXPECT_EQ(M().SuperGroup, 2);  // kept by the update, not reset to p1
    EXPECT_TRUE(F().Check3->isChecked());
    EXPECT_FALSE(F().Check2->isHidden());
    EXPECT_FALSE(F().Label19->isHidden());
    EXPECT_TRUE(F().Check2->isChecked());
    EXPECT_FALSE(F().Check1->isChecked());
    EXPECT_TRUE(F().Check4->isChecked());
    EXPECT_FALSE(F().Check5->isChecked());
    EXPECT_FALSE(M().Constrained);
    EXPECT_EQ(M().RotAngle, 10);
    EXPECT_TRUE(M().IncludeDomains && M().PaintDomains && M().IncludeBases);
    EXPECT_FALSE(M().Include1x1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(StoreAndReduceTest, LoadShowsTheLatticeFieldsTheGroupNeeds) {
    struct Case {
        int row;  // Combo1 row of the saved set
        bool b, alpha;
    };
    const Case cases[] = {{0, true, true}, {4, true, false}, {8, true, false}, {15, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        Choose(F().Combo1, c.row);
        Save();
        // A group of the other kind, so that every field changes visibility.
        Choose(F().Combo1, c.b ? 11 : 1);
        Load();
        EXPECT_EQ(F().Combo1->currentIndex(), c.row);
        EXPECT_EQ(!F().Text2->isHidden(), c.b);
        EXPECT_EQ(!F().Label4->isHidden(), c.b);
        EXPECT_EQ(!F().Text3->isHidden(), c.alpha);
        EXPECT_EQ(!F().Label5->isHidden(), c.alpha);
    }
}

TEST_F(StoreAndReduceTest, LoadUnderTheHoldRestoresWithoutDrawing) {
    Choose(F().Combo3, 4);  // p(2x2), unconstrained
    F().Check5->setChecked(false);
    Save();
    Choose(F().Combo3, 2);  // p(1x2)
    Save();
    Choose(F().Combo3, 3);  // on screen: p(2x1), constrained
    F().Check5->setChecked(true);
    ASSERT_EQ(Caption(), "Load (1/2)");

    F().Label9_Click();
    const QImage before = F().Canvas().Image().copy();
    const int updates = F().UpdateRuns(), patterns = F().PatternRuns();
    const std::string allowed = Text(F().Label15);

    Load();
    EXPECT_EQ(Mat(), (Matrix{1, 0, 0, 2}));
    EXPECT_EQ(Fields(), (Matrix{1, 0, 0, 2}));
    EXPECT_EQ(F().Combo3->currentIndex(), 2);
    EXPECT_EQ(Caption(), "Load (2/2)");
    Load();
    EXPECT_EQ(Mat(), (Matrix{2, 0, 0, 2}));
    EXPECT_EQ(F().Combo3->currentIndex(), 4);
    EXPECT_EQ(Caption(), "Load (1/2)");
    // The constraint box follows the restored value without its own handler,
    // which would have recomputed the allowed groups at once.
    EXPECT_FALSE(F().Check5->isChecked());
    EXPECT_FALSE(M().Constrained);
    EXPECT_EQ(Text(F().Label15), allowed);

    EXPECT_EQ(F().UpdateRuns(), updates);
    EXPECT_EQ(F().PatternRuns(), patterns);
    EXPECT_TRUE(F().Canvas().Image() == before);
    EXPECT_TRUE(M().MatrixHold);
}

TEST_F(StoreAndReduceTest, LoadUnderTheHoldStillSetsTheCheckBoxes) {
    F().Check3->setChecked(true);
    Save();
    F().Check3->setChecked(false);
    F().Label9_Click();
    const int updates = F().UpdateRuns(), patterns = F().PatternRuns();
    Load();
    EXPECT_TRUE(F().Check3->isChecked());
    EXPECT_FALSE(F().Check2->isHidden());
    EXPECT_TRUE(M().IncludeDomains);
    // The box's own handler redraws the pattern, as a click on it would; the
    // update itself is held back.
    EXPECT_EQ(F().PatternRuns(), patterns + 1);
    EXPECT_EQ(F().UpdateRuns(), updates);
    EXPECT_TRUE(M().MatrixHold);
}

}  // namespace
