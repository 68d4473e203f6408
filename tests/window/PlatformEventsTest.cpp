// The event rules the handlers rely on: which control changes run a handler,
// when a field counts as left, and when activation redraws.
#include <QMessageBox>
#include <QTimer>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

using PlatformEventsTest = FormTest;

TEST_F(PlatformEventsTest, CheckBoxSetFromCodeRunsItsHandlerOnlyOnAChange) {
    const int runs = F().UpdateRuns();
    F().Check1->setChecked(true);  // already ticked
    EXPECT_EQ(F().UpdateRuns(), runs);
    F().Check1->setChecked(false);
    EXPECT_EQ(F().UpdateRuns(), runs + 1);
    EXPECT_FALSE(M().Include1x1);
}

TEST_F(PlatformEventsTest, ListShownFromCodeRunsNothing) {
    const int runs = F().UpdateRuns();
    F().Combo2->setCurrentIndex(5);
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(F().UpdateRuns(), runs);
}

TEST_F(PlatformEventsTest, ScrollBarScrollDrawsThePreviewChangeRedraws) {
    ShowActive();
    const int patterns = F().PatternRuns();
    // The thumb moving: Scroll only.
    F().VScroll2->setSliderDown(true);
    F().VScroll2->setSliderPosition(20);
    EXPECT_EQ(M().SpotRadius, 130);
    F().VScroll2->setSliderPosition(0);
    EXPECT_EQ(M().SpotRadius, 150);
    EXPECT_EQ(F().PatternRuns(), patterns);
    // The thumb released: Change, once.
    F().VScroll2->setSliderDown(false);
    EXPECT_EQ(F().PatternRuns(), patterns + 1);
    // Set from code: Change when the value changes, nothing otherwise.
    F().VScroll2->setValue(150);
    EXPECT_EQ(M().SpotRadius, 0);
    EXPECT_EQ(F().PatternRuns(), patterns + 2);
    F().VScroll2->setValue(150);
    EXPECT_EQ(F().PatternRuns(), patterns + 2);
}

TEST_F(PlatformEventsTest, FieldIsLeftOnlyForAnotherControlOfTheWindow) {
    ShowActive();
    F().Text1->setFocus();
    F().Text1->setText("2");
    EXPECT_EQ(M().LatticeA, 1.0);
    F().Text6->setFocus();  // another control of the window
    EXPECT_EQ(M().LatticeA, 2.0);
    EXPECT_EQ(M().LatticeB, 2.0);  // b follows a on a square lattice
}

TEST_F(PlatformEventsTest, AMessageBoxTakingTheFocusIsNoLostFocus) {
    platform::SetMessageHandler({});  // real boxes in this test
    ShowActive();
    std::vector<std::string> shown;
    // Closes every box as it appears and remembers its text.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown.push_back(box->text().toStdString());
            EXPECT_EQ(box->windowTitle().toStdString(), "Quorvex");
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(10);
    Type(F().Text1, "abc");
    QTest::qWait(50);
    EXPECT_EQ(shown, std::vector<std::string>{"Wrong input: abc"});
    EXPECT_EQ(Text(F().Text1), "1.0000");
}

TEST_F(PlatformEventsTest, AnyMouseButtonReleasedOnSaveStores) {
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton})
        QTest::mouseClick(F().Command18, button);
    EXPECT_EQ(Text(F().Command19), "Load (1/3)");
    QTest::mouseClick(F().Command20, Qt::RightButton);
    EXPECT_EQ(Text(F().Command19), "Load (0/0)");
}

TEST_F(PlatformEventsTest, KeyboardDoesNotPressSave) {
    ShowActive();
    F().Command18->setFocus();
    QTest::keyClick(F().Command18, Qt::Key_Space);
    EXPECT_EQ(Text(F().Command19), "Load (0/0)");
}

TEST_F(PlatformEventsTest, ActivationRedrawsButNotOnReturnFromOwnMessageBox) {
    const int beforeShow = F().UpdateRuns();
    ShowActive();
    EXPECT_EQ(F().UpdateRuns(), beforeShow + 1);  // a genuine activation redraws

    platform::SetMessageHandler({});
    QTimer::singleShot(30, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    platform::ShowMessage("hello");
    // The window manager gives the activation back to the main window.
    F().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&F()));
    QTest::qWait(20);
    EXPECT_EQ(F().UpdateRuns(), beforeShow + 1);
}
