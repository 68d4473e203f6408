// "Help": the help file beside the program, opened at its contents.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <filesystem>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;

namespace {

// The help folder of the source tree; the build copies it beside the program.
std::string SourceHelpDir() {
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "help")
        .string();
}

QString ReadHelpFile() {
    QFile file(QString::fromStdString(SourceHelpDir()) + "/Quorvex.hlp");
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

const char* const kTopics[] = {
    "The basic lattice and its plane group",
    "The superlattice matrix and Wood's notation",
    "Superstructure symmetry and the constraint",
    "Reading the diffraction pattern",
    "Editing with the mouse",
    "Zoom, rotation and dot sizes",
    "Save, Load and Clear",
    "The matrix hold",
};

using HelpTest = FormTest;

TEST_F(HelpTest, MissingHelpFileIsReportedWithItsPath) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    M().AppPath = empty.path().toStdString();
    QTest::mouseClick(F().Command11, Qt::LeftButton);
    const std::string path = empty.path().toStdString() + "/Quorvex.hlp";
    EXPECT_EQ(F().HelpFilePath().toStdString(), path);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(path), std::string::npos) << messages[0];
    EXPECT_EQ(F().Help(), nullptr);
}

TEST_F(HelpTest, HelpOpensAtItsContents) {
    M().AppPath = SourceHelpDir();
    QTest::mouseClick(F().Command11, Qt::LeftButton);
    ASSERT_TRUE(messages.empty()) << messages[0];
    platform::HelpViewer* help = F().Help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QString text = help->document()->toPlainText();
    for (const char* topic : kTopics) EXPECT_TRUE(text.contains(topic)) << topic;
    EXPECT_TRUE(text.contains("b1 = M11·a1 + M12·a2"));
    QScrollBar* bar = help->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->minimum());

    // Away to a topic and back: "Help" shows the contents again.
    help->setSource(QUrl("#store"));
    EXPECT_GT(bar->value(), bar->minimum());
    QTest::mouseClick(F().Command11, Qt::LeftButton);
    EXPECT_EQ(F().Help(), help);
    EXPECT_EQ(bar->value(), bar->minimum());
}

TEST_F(HelpTest, EveryLinkOfTheHelpFileHasItsTarget) {
    const QString html = ReadHelpFile();
    ASSERT_FALSE(html.isEmpty());
    QSet<QString> anchors;
    const QRegularExpression name(QStringLiteral("<a name=\"([^\"]+)\""));
    for (auto it = name.globalMatch(html); it.hasNext();) anchors.insert(it.next().captured(1));
    EXPECT_TRUE(anchors.contains("contents"));
    QSet<QString> linked;
    const QRegularExpression href(QStringLiteral("<a href=\"([^\"]*)\""));
    for (auto it = href.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(1);
        ASSERT_TRUE(target.startsWith('#')) << target.toStdString();
        EXPECT_TRUE(anchors.contains(target.mid(1))) << target.toStdString();
        linked.insert(target.mid(1));
    }
    // Every topic can be reached from the contents.
    for (const QString& anchor : anchors) {
        if (anchor != "contents") {
            EXPECT_TRUE(linked.contains(anchor)) << anchor.toStdString();
        }
    }
}

}  // namespace
