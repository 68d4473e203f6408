// Input as a keyboard or mouse user gives it: keys typed into closed lists,
// clicks that stay with the control they hit, and the field that keeps the
// focus after a refused entry.
#include "window/WindowFixture.h"

namespace quorvex::testing {
namespace {

using UserInputTest = WindowTest;

TEST_F(UserInputTest, KeysTypedIntoAClosedListChooseNothing) {
    ShowActive();
    for (const char* list : {"basicGroupList", "superGroupList", "commonNameList"}) {
        const model::Structure before = S();
        const int runs = W().updateRuns();
        auto* box = Find<QComboBox>(list);
        box->setFocus();
        for (Qt::Key key :
             {Qt::Key_C, Qt::Key_BracketLeft, Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown})
            QTest::keyClick(box, key);
        EXPECT_EQ(S(), before) << list;
        EXPECT_EQ(W().updateRuns(), runs) << list;
    }
}

TEST_F(UserInputTest, MouseEventsOnControlsStayWithThem) {
    ShowActive();
    // Labels and right-clicked buttons no longer reach the window's mouse
    // editing, which would switch off the redraw on activation.
    for (const char* control : {"patternViewLabel", "refreshButton", "domainCountLabel"}) {
        QTest::mouseClick(Find(control), Qt::RightButton);
        QTest::mouseClick(Find(control), Qt::LeftButton);
        const int runs = W().updateRuns();
        W().onActivated();
        EXPECT_EQ(W().updateRuns(), runs + 1) << control;
    }
}

TEST_F(UserInputTest, ARefusedMatrixEntryKeepsTheFocusInItsOwnField) {
    // Each entry makes the matrix singular: on p(1x1) (identity) a zero on the
    // diagonal, on c(2x2) (1 -1 / 1 1) a sign change off it.
    // {common name row, text} for the fields m11, m12, m21, m22 in turn.
    const std::pair<int, const char*> entries[] = {{1, "0"}, {9, "1"}, {9, "-1"}, {1, "0"}};
    for (int i = 0; i < 4; ++i) {
        const char* field = kMatrixFields[i];
        Restart();
        ShowActive();
        Choose("commonNameList", entries[i].first);
        Find("lengthAField")->setFocus();
        Type(field, entries[i].second);
        EXPECT_EQ(messages, std::vector<std::string>{"Superlattice matrix inconsistent"}) << field;
        EXPECT_TRUE(Find(field)->hasFocus()) << field;
    }
}

}  // namespace
}  // namespace quorvex::testing
