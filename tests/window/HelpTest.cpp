// "Help": the help file beside the program, opened at its contents.
#include <QScrollBar>
#include <QTemporaryDir>
#include <filesystem>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

namespace {

// The help folder of the source tree; the build copies it beside the program.
const QString kHelpDir = QString::fromStdString(
    (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "help").string());

using HelpTest = FormTest;

TEST_F(HelpTest, MissingHelpFileIsReportedWithItsPath) {
    QTemporaryDir empty;
    M().AppPath = empty.path().toStdString();
    QTest::mouseClick(F().Command11, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(M().AppPath + "/Quorvex.hlp"), std::string::npos) << messages[0];
    EXPECT_EQ(F().Help(), nullptr);
}

TEST_F(HelpTest, HelpOpensAtItsContents) {
    M().AppPath = kHelpDir.toStdString();
    QTest::mouseClick(F().Command11, Qt::LeftButton);
    ASSERT_TRUE(messages.empty()) << messages[0];
    platform::HelpViewer* help = F().Help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    QScrollBar* bar = help->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->minimum());
    help->setSource(QUrl("#store"));  // away to a topic and back to the contents
    EXPECT_GT(bar->value(), bar->minimum());
    QTest::mouseClick(F().Command11, Qt::LeftButton);
    EXPECT_EQ(F().Help(), help);
    EXPECT_EQ(bar->value(), bar->minimum());
}

}  // namespace
