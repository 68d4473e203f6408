// Building a structure from the lists and the number fields.
#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

using ListsTest = FormTest;
using FieldsTest = FormTest;

namespace {
std::vector<int> Matrix(const model::Module1& m) { return {m.M11, m.M12, m.M21, m.M22}; }
}  // namespace

TEST_F(ListsTest, ObliqueGroupSetsItsStartingCell) {
    F().show();
    F().Check3->setChecked(true);
    F().Command8->click();  // some rotation to be reset
    Choose(F().Combo1, 0);
    EXPECT_EQ(Text(F().Text1), "1.4142");
    EXPECT_EQ(Text(F().Text2), "1.0000");
    EXPECT_EQ(Text(F().Text3), "55.0");
    for (QWidget* w : std::initializer_list<QWidget*>{F().Text1, F().Text2, F().Text3, F().Label4, F().Label5})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_EQ(M().RotAngle, 0);
    EXPECT_EQ(M().RotCos, 1);
    EXPECT_EQ(M().RotSin, 0);
    EXPECT_EQ(Matrix(M()), (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(Text(F().Combo3), Padded("p(1x1)", 30));
    EXPECT_FALSE(F().Check3->isChecked());
    EXPECT_FALSE(M().IncludeDomains);  // cleared through its handler
    EXPECT_FALSE(F().Check2->isVisible());
    EXPECT_EQ(M().BasicGroup, 1);
    EXPECT_EQ(Text(F().Combo2), Padded("[ 1]  Oblique p1", 32));
}

TEST_F(ListsTest, SameLatticeTypeKeepsTheMatrixButResetsTheCell) {
    F().show();
    Choose(F().Combo3, 4);  // p(2x2)
    Type(F().Text1, "2");
    EXPECT_EQ(M().LatticeB, 2.0);
    Choose(F().Combo1, 11);  // p4gm
    EXPECT_EQ(Matrix(M()), (std::vector<int>{2, 0, 0, 2}));
    EXPECT_EQ(M().LatticeA, 1.0);
    EXPECT_EQ(M().LatticeB, 1.0);
    EXPECT_EQ(Text(F().Text1), "1.0000");
    EXPECT_FALSE(F().Text2->isVisible());
}

TEST_F(ListsTest, RectangularGroupShowsOnlyB) {
    F().show();
    Choose(F().Combo1, 5);  // p2mm
    EXPECT_TRUE(F().Text2->isVisible());
    EXPECT_FALSE(F().Text3->isVisible());
    EXPECT_EQ(M().LatticeAlpha, 90.0);
}

TEST_F(ListsTest, SameGroupChosenAgainStillUpdates) {
    const int runs = F().UpdateRuns();
    Choose(F().Combo1, 10);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
}

TEST_F(ListsTest, CommonNamesSetTheirMatrixOnAnyLattice) {
    struct Case {
        int row;
        std::vector<int> matrix;
    };
    const Case cases[] = {
        {21, {2, -1, 1, 3}},  // (r7xr7)R19.1 on the square lattice, drawn all the same
        {9, {1, -1, 1, 1}},   // c(2x2)
        {15, {1, -1, 1, 1}},  // (r2xr2)R45: the same matrix
        {24, {2, 2, -5, 5}},
        {0, {1, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        Choose(F().Combo3, c.row);
        EXPECT_EQ(Matrix(M()), c.matrix) << c.row;
        EXPECT_EQ(M().CommonNameIndex, c.row);
        EXPECT_TRUE(M().PatternValid);
        EXPECT_EQ(Text(F().Text6), std::to_string(c.matrix[0]));
        EXPECT_EQ(Text(F().Text8), std::to_string(c.matrix[1]));
        EXPECT_EQ(Text(F().Text7), std::to_string(c.matrix[2]));
        EXPECT_EQ(Text(F().Text9), std::to_string(c.matrix[3]));
    }
}

TEST_F(ListsTest, CommonNameChosenAgainUpdatesAndResetsTheZoom) {
    F().Command4->click();
    const int runs = F().UpdateRuns();
    Choose(F().Combo3, 1);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
    EXPECT_EQ(M().LatMag, 1.0);
}

TEST_F(ListsTest, ApplyCommonNameOutsideTheRows) {
    Choose(F().Combo3, 9);
    F().ApplyCommonName(-3);
    EXPECT_EQ(Matrix(M()), (std::vector<int>{1, 0, 0, 1}));
    Choose(F().Combo3, 9);
    F().ApplyCommonName(26);
    EXPECT_EQ(Matrix(M()), (std::vector<int>{1, -1, 1, 1}));
}

TEST_F(ListsTest, ForbiddenSuperstructureGroupSnapsBackToP1) {
    Choose(F().Combo2, 12);  // p3 on a square lattice
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(Text(F().Combo2), Padded("[ 1]  Oblique p1", 32));
    Choose(F().Combo2, 10);  // p4mm is allowed for (1x1) on p4mm
    EXPECT_EQ(M().SuperGroup, 11);
}

TEST_F(ListsTest, SuperstructureListUpdatesOnlyOnAChange) {
    Choose(F().Combo2, 1);
    const int runs = F().UpdateRuns();
    Choose(F().Combo2, 1);
    EXPECT_EQ(F().UpdateRuns(), runs);
}

struct FieldCase {
    const char* name;
    int basicGroup;  // chosen first (list row + 1)
    QLineEdit* window::PatternForm::*field;
    const char* typed;
    const char* shown;             // the field afterwards
    const char* message;           // nullptr: none
    double model::Module1::*value;  // or null for integer fields
    double expected;
};

class RealFieldTest : public FormTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(RealFieldTest, EntryIsReadCheckedAndShown) {
    const FieldCase c = GetParam();
    F().show();
    if (c.basicGroup != 11) Choose(F().Combo1, c.basicGroup - 1);
    const int runs = F().UpdateRuns();
    QLineEdit* field = F().*c.field;
    Type(field, QString::fromUtf8(c.typed));
    EXPECT_EQ(Text(field), c.shown);
    EXPECT_EQ(M().*c.value, c.expected);
    if (c.message) {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], c.message);
    } else {
        EXPECT_TRUE(messages.empty());
    }
    const bool refusedOutright = c.message && std::string(c.message).rfind("Wrong", 0) == 0;
    EXPECT_EQ(F().UpdateRuns(), runs + (refusedOutright ? 0 : 1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RealFieldTest,
    ::testing::Values(
        FieldCase{"LeadingNumber", 11, &window::PatternForm::Text1, "2.5x", "2.5000", nullptr,
                  &model::Module1::LatticeA, 2.5},
        FieldCase{"ZeroB", 6, &window::PatternForm::Text2, "0", "1.0000", "Wrong input: 0",
                  &model::Module1::LatticeB, 1.0},
        FieldCase{"Letters", 11, &window::PatternForm::Text1, "abc", "1.0000",
                  "Wrong input: abc", &model::Module1::LatticeA, 1.0},
        FieldCase{"NegativeA", 11, &window::PatternForm::Text1, "-3", "1.0000", nullptr,
                  &model::Module1::LatticeA, 1.0},
        FieldCase{"NotFinite", 11, &window::PatternForm::Text1, "1e999", "1.0000",
                  "Wrong input: 1e999", &model::Module1::LatticeA, 1.0},
        FieldCase{"NotFiniteD", 6, &window::PatternForm::Text2, "1D400", "1.0000",
                  "Wrong input: 1D400", &model::Module1::LatticeB, 1.0},
        FieldCase{"Alpha175", 1, &window::PatternForm::Text3, "175", "175.0", nullptr,
                  &model::Module1::LatticeAlpha, 175.0},
        FieldCase{"Alpha175_1", 1, &window::PatternForm::Text3, "175.1", "55.0",
                  "Invalid alpha value: \n  5 < alpha < 175", &model::Module1::LatticeAlpha,
                  55.0},
        FieldCase{"Alpha4_9", 1, &window::PatternForm::Text3, "4.9", "55.0",
                  "Invalid alpha value: \n  5 < alpha < 175", &model::Module1::LatticeAlpha,
                  55.0},
        FieldCase{"AlphaNegative", 1, &window::PatternForm::Text3, "-60", "-60.0", nullptr,
                  &model::Module1::LatticeAlpha, -60.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FieldsTest, BFollowsAOnlyOnSquareAndHexagonalGroups) {
    Type(F().Text1, "2");
    EXPECT_EQ(M().LatticeB, 2.0);
    Choose(F().Combo1, 5);  // p2mm: a = 1.4142, b = 1
    Type(F().Text1, "3");
    EXPECT_EQ(M().LatticeA, 3.0);
    EXPECT_EQ(M().LatticeB, 1.0);
}

TEST_F(FieldsTest, MatrixEntriesRoundHalvesToEven) {
    Type(F().Text6, "1.5");
    EXPECT_EQ(M().M11, 2);
    EXPECT_EQ(Text(F().Text6), "2");
    Type(F().Text6, "3");
    Type(F().Text6, "2.5");
    EXPECT_EQ(M().M11, 2);
    EXPECT_EQ(Text(F().Combo3), Padded("None", 30));
    EXPECT_EQ(M().CommonNameIndex, 1);  // only the shown row changes
    EXPECT_TRUE(messages.empty());
}

TEST_F(FieldsTest, UnchangedMatrixEntryDoesNothing) {
    const int runs = F().UpdateRuns();
    Type(F().Text6, "1");
    EXPECT_EQ(F().UpdateRuns(), runs);
    EXPECT_EQ(Text(F().Combo3), Padded("p(1x1)", 30));
}

TEST_F(FieldsTest, BadMatrixEntriesAreRefused) {
    for (const char* bad : {"", "abc", "2147483648", "1e400", "nan"}) {
        messages.clear();
        Type(F().Text8, bad);
        ASSERT_EQ(messages.size(), 1u) << bad;
        EXPECT_EQ(messages[0], std::string("Wrong input: ") + bad);
        EXPECT_EQ(Text(F().Text8), "0");
        EXPECT_EQ(M().M12, 0);
    }
}

TEST_F(FieldsTest, SingularEntryStaysWithTheMessageAndTheFocus) {
    ShowActive();
    const int runs = F().UpdateRuns();
    Type(F().Text6, "0");
    ASSERT_EQ(messages, std::vector<std::string>{"Superlattice matrix inconsistent"});
    EXPECT_EQ(M().M11, 0);
    EXPECT_EQ(Text(F().Text6), "0");
    EXPECT_EQ(QApplication::focusWidget(), F().Text6);
    EXPECT_EQ(F().Text6->selectedText(), QString("0"));
    EXPECT_EQ(F().UpdateRuns(), runs);
    // Every later update repeats the message until the matrix is invertible again.
    F().Command1->click();
    EXPECT_EQ(messages.size(), 2u);
    Type(F().Text6, "3");
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
}

TEST_F(FieldsTest, EnterThenTabProcessesTheEntryTwice) {
    ShowActive();
    const int runs = F().UpdateRuns();
    F().Text1->setFocus();
    F().Text1->setText("2");
    QTest::keyClick(F().Text1, Qt::Key_Return);
    QTest::keyClick(F().Text1, Qt::Key_Tab);
    EXPECT_EQ(M().LatticeA, 2.0);
    EXPECT_EQ(F().UpdateRuns(), runs + 2);
}

TEST_F(FieldsTest, GettingTheFocusSelectsTheWholeText) {
    ShowActive();
    F().Text9->setFocus();
    EXPECT_EQ(F().Text9->selectedText(), QString("1"));
}
