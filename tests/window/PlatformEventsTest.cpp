// The event rule the handlers rely on: when a field counts as left.
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

// A click on a size bar gives it the focus, which takes a pending entry over first.
TEST_F(PlatformEventsTest, FieldIsLeftOnlyForAnotherControlAndNotForAMessageBox) {
    ShowActive();
    auto* a = Find<QLineEdit>("lengthAField");
    a->setFocus();
    a->setText("2");  // typed, not yet confirmed
    EXPECT_EQ(S().a, 1.0);
    auto* bar = Find<QScrollBar>("dotSizeBar");
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    EXPECT_TRUE(bar->hasFocus());
    EXPECT_EQ(S().a, 2.0);
    AnswerBoxes();  // a box counted as leaving the field would read "abc" once more
    Type("lengthAField", "abc");
    QTest::qWait(50);
    EXPECT_EQ(boxes, std::vector<std::string>{"Quorvex: Wrong input: abc"});
    EXPECT_EQ(Text("lengthAField"), "2.0000");
}

}  // namespace
}  // namespace quorvex::testing
