// Input as a keyboard or mouse user gives it: keys typed into closed lists,
// focus moving to the size bars, clicks that stay with the control they hit,
// and the field that keeps the focus after a refused entry.
#include <QAbstractItemView>
#include <QScrollBar>

#include "window/WindowFixture.h"

namespace quorvex::testing {
namespace {

class UserInputTest : public WindowTest {};

TEST_F(UserInputTest, KeysTypedIntoAClosedListChooseNothing) {
    ShowActive();
    for (const char* list : {"basicGroupList", "superGroupList", "commonNameList"}) {
        const model::Structure before = S();
        const int runs = W().updateRuns();
        auto* box = Find<QComboBox>(list);
        box->setFocus();
        for (Qt::Key key : {Qt::Key_C, Qt::Key_BracketLeft, Qt::Key_Down, Qt::Key_End,
                            Qt::Key_PageDown})
            QTest::keyClick(box, key);
        EXPECT_EQ(S(), before) << list;
        EXPECT_EQ(W().updateRuns(), runs) << list;
    }
    // F4 opens the list; Enter on a row is a choice.
    auto* names = Find<QComboBox>("commonNameList");
    names->setFocus();
    QTest::keyClick(names, Qt::Key_F4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return names->view()->isVisible(); }));
    names->view()->setCurrentIndex(names->model()->index(9, 0));
    QTest::keyClick(names->view(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return S().commonNameRow == 9; }));
    EXPECT_EQ(Mat(), (Matrix{1, -1, 1, 1}));
}

TEST_F(UserInputTest, ClickingASizeBarTakesAPendingEntryOverFirst) {
    ShowActive();
    Type("lengthAField", "3");
    auto* a = Find<QLineEdit>("lengthAField");
    a->setFocus();
    a->setText("5");  // typed, not yet confirmed
    auto* bar = Find<QScrollBar>("dotSizeBar");
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    EXPECT_TRUE(bar->hasFocus());
    EXPECT_EQ(S().a, 5.0);
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
    ShowActive();
    // Each entry makes the matrix singular: on p(1x1) (identity) a zero on the
    // diagonal, on c(2x2) (1 -1 / 1 1) a sign change off it.
    struct Entry {
        int commonName;
        const char* field;
        const char* text;
    };
    const Entry entries[] = {{1, "matrixField11", "0"}, {9, "matrixField12", "1"},
                             {9, "matrixField21", "-1"}, {1, "matrixField22", "0"}};
    for (const Entry& e : entries) {
        Restart();
        ShowActive();
        Choose("commonNameList", e.commonName);
        Find("lengthAField")->setFocus();
        Type(e.field, e.text);
        EXPECT_EQ(messages, std::vector<std::string>{"Superlattice matrix inconsistent"}) << e.field;
        EXPECT_TRUE(Find(e.field)->hasFocus()) << e.field;
    }
}

TEST_F(UserInputTest, DefaultSizesEndTheHoldAndItsRedLabel) {
    ShowActive();
    MouseClick("matrixLabel");
    ASSERT_TRUE(Red("matrixLabel"));
    Click("defaultSizesButton");
    EXPECT_FALSE(W().matrixHeld());
    EXPECT_FALSE(Red("matrixLabel"));
}

}  // namespace
}  // namespace quorvex::testing
