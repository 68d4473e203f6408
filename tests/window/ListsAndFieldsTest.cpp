// Building a structure from the lists and the number fields.
#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

using ListsTest = WindowTest;
using FieldsTest = WindowTest;

TEST_F(ListsTest, LatticeFamilySetsItsStartingCell) {
    Tick("includeDomainsBox", true);
    Click("rotateRightButton");   // some rotation to be reset
    Choose("commonNameList", 3);  // and a matrix
    Choose("basicGroupList", 0);  // oblique p1
    EXPECT_EQ(Text("lengthAField") + " " + Text("lengthBField") + " " + Text("alphaField"),
              "1.4142 1.0000 55.0");
    EXPECT_EQ(
        Shown({"lengthBField", "alphaField", "lengthBLabel", "alphaLabel", "paintDomainsBox"}),
        (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(std::tuple(V().rotationDegrees, Fields(), Text("commonNameList")),
              std::tuple(0.0, kIdentity, Padded("p(1x1)", 30)));
    EXPECT_FALSE(Ticked()[2] || S().options.includeDomains);  // cleared by its handler
    // The same lattice type keeps the matrix but resets the cell.
    Restart();
    Choose("commonNameList", 4);  // p(2x2)
    Type("lengthAField", "2");
    EXPECT_EQ(S().b, 2.0);         // b follows a on a square lattice
    Choose("basicGroupList", 11);  // p4gm
    EXPECT_EQ(std::tuple(Fields(), Text("lengthAField"), S().b),
              std::tuple(Matrix{2, 0, 0, 2}, "1.0000", 1.0));
    Choose("basicGroupList", 5);  // p2mm: a = 1.4142, b = 1, no alpha; b no longer follows a
    EXPECT_EQ(Shown({"lengthBField", "alphaField"}), (std::vector<bool>{true, false}));
    Type("lengthAField", "3");
    EXPECT_EQ(S().b, 1.0);
}

TEST_F(ListsTest, SuperstructureGroupList) {
    Choose("superGroupList", 12);  // p3 is forbidden on a square lattice
    EXPECT_EQ(Text("superGroupList"), Padded("[ 1]  Oblique p1", 32));
    Choose("superGroupList", 10);  // p4mm is allowed for (1x1) on p4mm
    EXPECT_EQ(S().superGroup, model::kP4mm);
    EXPECT_EQ(Text("superDiagramTitle"), "Superlattice [11]");
    const int runs = W().updateRuns();
    Choose("superGroupList", 10);  // the same row again: no update, unlike the other lists
    EXPECT_EQ(W().updateRuns(), runs);
    Choose("basicGroupList", 10);
    Choose("commonNameList", 1);
    EXPECT_EQ(W().updateRuns(), runs + 2);
}

TEST_F(FieldsTest, LatticeEntriesAreReadCheckedAndShown) {
    const std::string alpha = "Invalid alpha value: \n  5 < alpha < 175";
    using model::Structure;
    // {basic group row, field, value, typed, shown, message, value after}; "Wrong input: ..."
    // refuses without an update.
    using Case = std::tuple<int, const char*, double Structure::*, const char*, const char*,
                            std::string, double>;
    const Case cases[] = {
        {10, "lengthAField", &Structure::a, "2.5x", "2.5000", "", 2.5},  // the leading number
        {5, "lengthBField", &Structure::b, "0", "1.0000", "Wrong input: 0", 1.0},
        {10, "lengthAField", &Structure::a, "-3", "1.0000", "", 1.0},  // silently the old value
        {10, "lengthAField", &Structure::a, "1e999", "1.0000", "Wrong input: 1e999", 1.0},
        {0, "alphaField", &Structure::alpha, "175", "175.0", "", 175.0},
        {0, "alphaField", &Structure::alpha, "175.1", "55.0", alpha, 55.0},
        {0, "alphaField", &Structure::alpha, "4.9", "55.0", alpha, 55.0},
        {0, "alphaField", &Structure::alpha, "-60", "-60.0", "", -60.0},
    };
    for (const auto& [basicRow, field, value, typed, shown, message, expected] : cases) {
        SCOPED_TRACE(typed);
        Restart();
        Choose("basicGroupList", basicRow);
        const int runs = W().updateRuns();
        Type(field, typed);
        EXPECT_EQ(Text(field), shown);
        EXPECT_EQ(S().*value, expected);
        EXPECT_EQ(messages, std::vector<std::string>(!message.empty(), message));
        EXPECT_EQ(W().updateRuns(), runs + (message.rfind("Wrong", 0) == 0 ? 0 : 1));
    }
}

// Lengths too small to show read back as 0 when their field is left, and are
// refused: leaving one such field for the other refuses it once and keeps the
// focus there, without the other refusing in turn.
TEST_F(FieldsTest, LeavingOneTooSmallLengthForAnotherRefusesOnlyTheOneLeft) {
    ShowActive();
    Choose("basicGroupList", 5);
    for (const char* field : {"lengthAField", "lengthBField"}) {
        Find<QLineEdit>(field)->setText("1e-87");
        W().onFieldCommitted(Find<QLineEdit>(field));
    }
    ASSERT_EQ(Text("lengthAField") + " " + Text("lengthBField"), "0.0000 0.0000");
    Find("lengthAField")->setFocus();
    messages.clear();
    Find("lengthBField")->setFocus();
    EXPECT_EQ(messages, std::vector<std::string>{"Wrong input: 0.0000"});
    EXPECT_TRUE(Find("lengthAField")->hasFocus());
}

TEST_F(FieldsTest, MatrixEntries) {
    Choose("superGroupList", 1);   // p2
    Type("matrixField11", "1.5");  // halves go to the even neighbour
    // The group is reset by a matrix edit.
    EXPECT_EQ(std::tuple(S().matrix.m11, S().superGroup, Text("matrixField11")),
              std::tuple(2, model::kP1, "2"));
    Type("matrixField11", "3");
    Type("matrixField11", "2.5");
    // No common name, so that a saved set shows it again.
    EXPECT_EQ(std::tuple(S().matrix.m11, Text("commonNameList"), S().commonNameRow),
              std::tuple(2, Padded("None", 30), model::kNoCommonName));
    const int runs = W().updateRuns();
    Type("matrixField11", "2");  // unchanged: nothing happens
    EXPECT_EQ(W().updateRuns(), runs);
    EXPECT_TRUE(messages.empty());
    for (const char* bad : {"", "abc", "2147483648"}) {
        messages.clear();
        Type("matrixField12", bad);
        EXPECT_EQ(std::tuple(messages, Text("matrixField12"), S().matrix.m12),
                  std::tuple(std::vector<std::string>{"Wrong input: " + std::string(bad)}, "0", 0));
    }
}

// Focus and a click as the window system delivers it (the focus arrives
// before the press) select a field's text; Enter then Tab process the entry twice.
TEST_F(FieldsTest, FocusAndClickSelectTheTextAndEnterThenTabProcessTheEntryTwice) {
    ShowActive();
    Find("matrixField22")->setFocus();
    EXPECT_EQ(Find<QLineEdit>("matrixField22")->selectedText(), QString("1"));
    for (const char* field : kMatrixFields) {
        QTest::mouseClick(Find(field), Qt::LeftButton);
        EXPECT_EQ(Find<QLineEdit>(field)->selectedText(), Find<QLineEdit>(field)->text()) << field;
    }
    const int runs = W().updateRuns();
    Type("lengthAField", "2");
    QTest::keyClick(Find("lengthAField"), Qt::Key_Tab);
    EXPECT_EQ(S().a, 2.0);
    EXPECT_EQ(W().updateRuns(), runs + 2);
}

}  // namespace
}  // namespace quorvex::testing
