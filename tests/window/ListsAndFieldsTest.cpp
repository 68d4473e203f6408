// Building a structure from the lists and the number fields.
#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

using ListsTest = FormTest;
using FieldsTest = FormTest;

TEST_F(ListsTest, ObliqueGroupSetsItsStartingCell) {
    F().Check3->setChecked(true);
    F().Command8->click();  // some rotation to be reset
    Choose(F().Combo3, 3);  // and a matrix
    Choose(F().Combo1, 0);
    EXPECT_EQ(Text(F().Text1) + " " + Text(F().Text2) + " " + Text(F().Text3),
              "1.4142 1.0000 55.0");
    EXPECT_EQ(Shown({F().Text1, F().Text2, F().Text3, F().Label4, F().Label5, F().Check2}),
              (std::vector<bool>{true, true, true, true, true, false}));
    EXPECT_EQ(M().RotAngle, 0);
    EXPECT_EQ(Mat(), (Matrix{1, 0, 0, 1}));
    EXPECT_EQ(Text(F().Combo3), Padded("p(1x1)", 30));
    EXPECT_FALSE(F().Check3->isChecked() || M().IncludeDomains);  // cleared by its handler
}

TEST_F(ListsTest, SameLatticeTypeKeepsTheMatrixButResetsTheCell) {
    Choose(F().Combo3, 4);  // p(2x2)
    Type(F().Text1, "2");
    EXPECT_EQ(M().LatticeB, 2.0);  // b follows a on a square lattice
    Choose(F().Combo1, 11);        // p4gm
    EXPECT_EQ(Mat(), (Matrix{2, 0, 0, 2}));
    EXPECT_EQ(M().LatticeB, 1.0);
    EXPECT_EQ(Text(F().Text1), "1.0000");
    Choose(F().Combo1, 5);  // p2mm: a = 1.4142, b = 1, no alpha; b no longer follows a
    EXPECT_EQ(Shown({F().Text2, F().Text3}), (std::vector<bool>{true, false}));
    Type(F().Text1, "3");
    EXPECT_EQ(M().LatticeB, 1.0);
}

TEST_F(ListsTest, CommonNamesSetTheirMatrixOnAnyLattice) {
    const std::pair<int, Matrix> cases[] = {
        {21, {2, -1, 1, 3}},  // (r7xr7)R19.1 on the square lattice, drawn all the same
        {9, {1, -1, 1, 1}},   // c(2x2)
        {15, {1, -1, 1, 1}},  // (r2xr2)R45: the same matrix
        {24, {2, 2, -5, 5}}, {0, {1, 0, 0, 1}},
    };
    for (const auto& [row, matrix] : cases) {
        Choose(F().Combo3, row);
        EXPECT_EQ(Mat(), matrix) << row;
        EXPECT_EQ(Fields(), matrix) << row;
        EXPECT_EQ(M().CommonNameIndex, row);
        EXPECT_TRUE(M().PatternValid);
    }
}

TEST_F(ListsTest, SuperstructureGroupList) {
    Choose(F().Combo2, 12);  // p3 is forbidden on a square lattice
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(Text(F().Combo2), Padded("[ 1]  Oblique p1", 32));
    Choose(F().Combo2, 10);  // p4mm is allowed for (1x1) on p4mm
    EXPECT_EQ(M().SuperGroup, 11);
    F().Command4->click();
    const int runs = F().UpdateRuns();
    Choose(F().Combo2, 10);  // the same row again: no update, unlike the other lists
    EXPECT_EQ(F().UpdateRuns(), runs);
    Choose(F().Combo1, 10);
    Choose(F().Combo3, 1);  // which also resets the zoom
    EXPECT_EQ(F().UpdateRuns(), runs + 2);
    EXPECT_EQ(M().LatMag, 1.0);
}

TEST_F(FieldsTest, LatticeEntriesAreReadCheckedAndShown) {
    const std::vector<std::string> none, alpha{"Invalid alpha value: \n  5 < alpha < 175"};
    struct Case {
        int basicRow, field;  // field 0, 1, 2: a, b, alpha
        const char *typed, *shown;
        std::vector<std::string> messages;  // "Wrong input: ..." refuses without an update
        double expected;
    };
    const Case cases[] = {
        {10, 0, "2.5x", "2.5000", none, 2.5},  // the leading number
        {5, 1, "0", "1.0000", {"Wrong input: 0"}, 1.0},
        {10, 0, "-3", "1.0000", none, 1.0},  // silently the old value
        {10, 0, "1e999", "1.0000", {"Wrong input: 1e999"}, 1.0},
        {0, 2, "175", "175.0", none, 175.0},
        {0, 2, "175.1", "55.0", alpha, 55.0},
        {0, 2, "4.9", "55.0", alpha, 55.0},
        {0, 2, "-60", "-60.0", none, -60.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Restart();
        Choose(F().Combo1, c.basicRow);
        QLineEdit* field = std::array{F().Text1, F().Text2, F().Text3}[c.field];
        const double* value = std::array{&M().LatticeA, &M().LatticeB, &M().LatticeAlpha}[c.field];
        const int runs = F().UpdateRuns();
        Type(field, c.typed);
        EXPECT_EQ(Text(field), c.shown);
        EXPECT_EQ(*value, c.expected);
        EXPECT_EQ(messages, c.messages);
        const bool refused = !c.messages.empty() && c.messages[0].rfind("Wrong", 0) == 0;
        EXPECT_EQ(F().UpdateRuns(), runs + (refused ? 0 : 1));
    }
}

TEST_F(FieldsTest, MatrixEntries) {
    Choose(F().Combo2, 1);   // p2
    Type(F().Text6, "1.5");  // halves go to the even neighbour
    EXPECT_EQ(M().M11, 2);
    EXPECT_EQ(M().SuperGroup, 1);  // reset by a matrix edit
    EXPECT_EQ(Text(F().Text6), "2");
    Type(F().Text6, "3");
    Type(F().Text6, "2.5");
    EXPECT_EQ(M().M11, 2);
    EXPECT_EQ(Text(F().Combo3), Padded("None", 30));
    EXPECT_EQ(M().CommonNameIndex, 1);  // only the shown row changes
    const int runs = F().UpdateRuns();
    Type(F().Text6, "2");  // unchanged: nothing happens
    EXPECT_EQ(F().UpdateRuns(), runs);
    EXPECT_TRUE(messages.empty());
    for (const char* bad : {"", "abc", "2147483648"}) {
        messages.clear();
        Type(F().Text8, bad);
        EXPECT_EQ(messages, std::vector<std::string>{std::string("Wrong input: ") + bad});
        EXPECT_EQ(Text(F().Text8), "0");
        EXPECT_EQ(M().M12, 0);
    }
}

TEST_F(FieldsTest, FocusSelectsTheTextAndEnterThenTabProcessesTheEntryTwice) {
    ShowActive();
    F().Text9->setFocus();
    EXPECT_EQ(F().Text9->selectedText(), QString("1"));
    const int runs = F().UpdateRuns();
    F().Text1->setFocus();
    F().Text1->setText("2");
    QTest::keyClick(F().Text1, Qt::Key_Return);
    QTest::keyClick(F().Text1, Qt::Key_Tab);
    EXPECT_EQ(M().LatticeA, 2.0);
    EXPECT_EQ(F().UpdateRuns(), runs + 2);
}
