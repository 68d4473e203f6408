// "Help": the help file beside the program, opened at its contents.
#include <QFileInfo>
#include <QScrollBar>

#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

using HelpTest = WindowTest;

// The build puts the help file beside the program; a test program built on
// its own may have none, and then the message must name where it looked.
TEST_F(HelpTest, HelpOpensAtItsContentsOrNamesTheMissingFile) {
    const QString path = W().helpFilePath();
    ASSERT_TRUE(path.endsWith("/Quorvex.hlp"));
    Click("helpButton");
    if (!QFileInfo::exists(path)) {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(path.toStdString()), std::string::npos) << messages[0];
        EXPECT_EQ(W().helpViewer(), nullptr);
        return;
    }
    ASSERT_TRUE(messages.empty()) << messages[0];
    platform::HelpViewer* help = W().helpViewer();
    ASSERT_TRUE(help && help->isVisible());
    QScrollBar* bar = help->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->minimum());
    help->setSource(QUrl("#store"));  // away to a topic and back to the contents
    EXPECT_GT(bar->value(), bar->minimum());
    Click("helpButton");
    EXPECT_TRUE(W().helpViewer() == help && bar->value() == bar->minimum());
    Click("exitButton");  // the help goes with the window
    EXPECT_FALSE(help->isVisible() || W().isVisible());
}

}  // namespace
}  // namespace quorvex::testing
