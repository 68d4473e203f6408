// The event rules the handlers rely on: which control changes run a handler,
// when a field counts as left, and when activation redraws.
#include <QMessageBox>
#include <QTimer>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

using PlatformEventsTest = FormTest;

// Real message boxes from here on, each closed as it appears; their titles and texts are kept.
static void AnswerBoxes(QTimer& closer, std::vector<std::string>& boxes) {
    platform::SetMessageHandler({});
    QObject::connect(&closer, &QTimer::timeout, [&boxes] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(10);
}

TEST_F(PlatformEventsTest, ControlsSetFromCode) {
    const int runs = F().UpdateRuns();
    F().Check1->setChecked(true);    // already ticked: no handler
    F().Combo2->setCurrentIndex(5);  // a list shown from code runs nothing
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(F().UpdateRuns(), runs);
    F().Check1->setChecked(false);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
    EXPECT_FALSE(M().Include1x1);
}

TEST_F(PlatformEventsTest, ScrollBarScrollDrawsThePreviewChangeRedraws) {
    ShowActive();
    const int patterns = F().PatternRuns();
    F().VScroll2->setSliderDown(true);  // the thumb moving: Scroll only
    F().VScroll2->setSliderPosition(20);
    EXPECT_EQ(M().SpotRadius, 130);
    EXPECT_EQ(F().PatternRuns(), patterns);
    F().VScroll2->setSliderDown(false);  // released: Change, once
    EXPECT_EQ(F().PatternRuns(), patterns + 1);
    F().VScroll2->setValue(150);  // from code: Change when the value changes
    F().VScroll2->setValue(150);
    EXPECT_EQ(F().PatternRuns(), patterns + 2);
}

TEST_F(PlatformEventsTest, FieldIsLeftOnlyForAnotherControlAndNotForAMessageBox) {
    ShowActive();
    F().Text1->setFocus();
    F().Text1->setText("2");
    EXPECT_EQ(M().LatticeA, 1.0);
    F().Text6->setFocus();
    EXPECT_EQ(M().LatticeA, 2.0);
    // A box counted as leaving the field would read "abc" once more.
    QTimer closer;
    std::vector<std::string> boxes;
    AnswerBoxes(closer, boxes);
    Type(F().Text1, "abc");
    QTest::qWait(50);
    EXPECT_EQ(boxes, std::vector<std::string>{"Quorvex: Wrong input: abc"});
    EXPECT_EQ(Text(F().Text1), "2.0000");
}

TEST_F(PlatformEventsTest, AnyMouseButtonReleasedOnTheStoreButtonsTheKeyboardNot) {
    ShowActive();
    QTest::mouseClick(F().Command18, Qt::RightButton);
    QTest::mouseClick(F().Command18, Qt::MiddleButton);
    F().Command18->setFocus();
    QTest::keyClick(F().Command18, Qt::Key_Space);
    F().Command18->click();
    EXPECT_EQ(Text(F().Command19), "Load (1/2)");
    QTest::mouseClick(F().Command19, Qt::RightButton);
    EXPECT_EQ(Text(F().Command19), "Load (2/2)");
    QTest::mouseClick(F().Command20, Qt::MiddleButton);
    EXPECT_EQ(Text(F().Command19), "Load (0/0)");
}

TEST_F(PlatformEventsTest, ActivationRedrawsButNotOnReturnFromOwnMessageBox) {
    const int beforeShow = F().UpdateRuns();
    ShowActive();
    EXPECT_EQ(F().UpdateRuns(), beforeShow + 1);
    QTimer closer;
    std::vector<std::string> boxes;
    AnswerBoxes(closer, boxes);
    platform::ShowMessage("hello");
    F().activateWindow();  // as the window manager gives the activation back
    ASSERT_TRUE(QTest::qWaitForWindowActive(&F()));
    QTest::qWait(20);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(F().UpdateRuns(), beforeShow + 1);
}
