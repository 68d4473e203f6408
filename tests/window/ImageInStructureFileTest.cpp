// A measured image travels with the structure file: saved with its levels
// and calibration, opened again in another window, and a file whose image
// has gone still opens its structure and says what is missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "platform/MessageBox.h"
#include "synthetic/SyntheticLeed.h"
#include "window/MainWindow.h"

namespace quorvex::testing {
namespace {

TEST(ImageInStructureFile, SavedWithItsCalibrationAndOpenedWithoutIt) {
    std::vector<QString> messages;
    platform::SetMessageHandler([&](const QString& t) { messages.push_back(t); });
    QTemporaryDir dir;
    synthetic::LeedPhoto photo;
    photo.beams = synthetic::SquareBeams(QStringLiteral("c(2x2)"), photo);
    const QString photoPath = dir.filePath(QStringLiteral("c2x2.png"));
    ASSERT_TRUE(synthetic::Render(photo, 8, false).save(photoPath));
    const QString file = dir.filePath(QStringLiteral("with-image.qvx"));

    auto first = std::make_unique<window::MainWindow>();
    first->form().commonNameList->setCurrentIndex(3);
    emit first->form().commonNameList->activated(3);
    ASSERT_TRUE(first->screen().openImage(photoPath));
    first->screen().setLevels({0.1, 0.8, 1.6, true});
    first->screen().setCalibration(image::Calibration::Similar({300.5, 280.25}, 290, 4));
    QString error;
    ASSERT_TRUE(first->saveStructureFile(file, &error)) << error.toStdString();
    const QJsonObject state = first->screen().measuredImageState();
    EXPECT_EQ(first->currentContents().measuredImage, state);

    window::MainWindow second;
    ASSERT_TRUE(second.openStructureFile(file, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_NE(second.screen().measuredImage(), nullptr);
    EXPECT_EQ(second.screen().measuredImageState(), state);
    EXPECT_EQ(second.form().document().structure, first->form().document().structure);
    EXPECT_FALSE(second.isWindowModified());

    // The image gone: the structure opens, the message names the image.
    ASSERT_TRUE(QFile::remove(photoPath));
    window::MainWindow third;
    error.clear();
    ASSERT_TRUE(third.openStructureFile(file, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("c2x2.png"))) << error.toStdString();
    EXPECT_EQ(third.screen().measuredImage(), nullptr);
    EXPECT_EQ(third.form().document().structure, first->form().document().structure);
    // Saved again, the file keeps the image's state for when it comes back.
    EXPECT_EQ(third.currentContents().measuredImage, state);
    EXPECT_TRUE(messages.empty());
    platform::SetMessageHandler({});
}

}  // namespace
}  // namespace quorvex::testing
