// The event rules the handlers rely on: when a field counts as left, which
// mouse buttons act, and when activation redraws.
#include <QMessageBox>
#include <QTimer>

#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

// Real message boxes, each closed as it appears; their titles and texts are kept.
class PlatformEventsTest : public WindowTest {
  protected:
    void AnswerBoxes() {
        platform::SetMessageHandler({});
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes.push_back(box->windowTitle().toStdString() + ": " +
                                box->text().toStdString());
                box->button(QMessageBox::Ok)->click();
            }
        });
        closer.start(10);
    }
    QTimer closer;
    std::vector<std::string> boxes;
};

TEST_F(PlatformEventsTest, FieldIsLeftOnlyForAnotherControlAndNotForAMessageBox) {
    ShowActive();
    auto* a = Find<QLineEdit>("lengthAField");
    a->setFocus();
    a->setText("2");
    EXPECT_EQ(S().a, 1.0);
    Find("matrixField11")->setFocus();
    EXPECT_EQ(S().a, 2.0);
    AnswerBoxes();  // a box counted as leaving the field would read "abc" once more
    Type("lengthAField", "abc");
    QTest::qWait(50);
    EXPECT_EQ(boxes, std::vector<std::string>{"Quorvex: Wrong input: abc"});
    EXPECT_EQ(Text("lengthAField"), "2.0000");
}

TEST_F(PlatformEventsTest, AnyMouseButtonReleasedOnTheSavedSetButtonsTheKeyboardNot) {
    ShowActive();
    MouseClick("saveButton", Qt::RightButton);
    MouseClick("saveButton", Qt::MiddleButton);
    Find("saveButton")->setFocus();
    QTest::keyClick(Find("saveButton"), Qt::Key_Space);
    Click("saveButton");
    EXPECT_EQ(Text("loadButton"), "Load (1/2)");
    MouseClick("loadButton", Qt::RightButton);
    EXPECT_EQ(Text("loadButton"), "Load (2/2)");
    MouseClick("matrixLabel", Qt::RightButton);  // the hold takes a left click only
    EXPECT_FALSE(W().matrixHeld());
    MouseClick("clearButton", Qt::MiddleButton);
    EXPECT_EQ(Text("loadButton"), "Load (0/0)");
}

TEST_F(PlatformEventsTest, ActivationRedrawsButNotOnReturnFromOwnMessageBox) {
    const int beforeShow = W().updateRuns();
    ShowActive();
    EXPECT_EQ(W().updateRuns(), beforeShow + 1);
    AnswerBoxes();
    platform::ShowMessage("hello");
    W().activateWindow();  // as the window manager gives the activation back
    ASSERT_TRUE(QTest::qWaitForWindowActive(&W()));
    QTest::qWait(20);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(W().updateRuns(), beforeShow + 1);
}

}  // namespace
}  // namespace quorvex::testing
