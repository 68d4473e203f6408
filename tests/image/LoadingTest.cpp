// Opening measured images: every depth and format a camera writes comes in
// as the same grey levels; every bad file gives one message naming it.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <optional>

#include "image/MeasuredImage.h"
#include "synthetic/SyntheticLeed.h"

namespace quorvex::testing {
namespace {

synthetic::LeedPhoto SmallPhoto() {
    synthetic::LeedPhoto photo;
    photo.width = 200;
    photo.height = 180;
    photo.centre = {101.2, 88.7};
    photo.scale = 110;
    photo.beams = synthetic::SquareBeams(QStringLiteral("p(1x1)"), photo);
    return photo;
}

// Every kind is read back with its depth and colour; the lossless grey files
// give back every grey exactly as written.
TEST(LoadEveryKind, ReadsTheGreyLevelsThatWereWritten) {
    struct Saved {
        const char* name;
        int bits;
        bool colour;
        const char* format;
    };
    // (The window's measured-image tests open a 16-bit grey PNG.)
    const Saved kinds[] = {{"grey8.png", 8, false, "PNG"},    {"grey8.tif", 8, false, "TIFF"},
                           {"grey16.tif", 16, false, "TIFF"}, {"colour8.png", 8, true, "PNG"},
                           {"colour16.png", 16, true, "PNG"}, {"grey8.jpg", 8, false, "JPEG"},
                           {"grey8.bmp", 8, true, "BMP"}};  // BMP keeps grey as colour
    QTemporaryDir dir;
    const synthetic::LeedPhoto photo = SmallPhoto();
    const QPointF spot = synthetic::SpotCentre(photo, {1, 0});
    for (const Saved& s : kinds) {
        SCOPED_TRACE(s.name);
        const QString path = dir.filePath(QString::fromLatin1(s.name));
        const QImage written = synthetic::Render(photo, s.bits, s.colour);
        ASSERT_TRUE(written.save(path, s.format));
        const image::LoadedImage loaded = image::LoadMeasuredImage(path);
        ASSERT_TRUE(loaded.image) << loaded.error.toStdString();
        const image::MeasuredImage& m = *loaded.image;
        EXPECT_EQ(m.Size(), written.size());
        EXPECT_EQ(m.bitsPerChannel, s.bits);
        EXPECT_EQ(m.colour, s.colour);
        // The (1 0) spot is bright, the gun's shadow dark, in every kind alike.
        const double fullScale = s.colour ? 0.69 : 1.0;  // a green phosphor's luminance
        EXPECT_GT(m.At(int(spot.x()), int(spot.y())), 0.5 * fullScale * 65535);
        EXPECT_LT(m.At(int(photo.centre.x()), int(photo.centre.y())), 0.06 * 65535);
        if (s.colour || QByteArray(s.format) == "JPEG") continue;
        for (QPoint p : {QPoint(3, 4), QPoint(150, 90), QPoint(int(spot.x()), int(spot.y()))}) {
            const int expected =
                s.bits == 16 ? reinterpret_cast<const quint16*>(written.constScanLine(p.y()))[p.x()]
                             : written.constScanLine(p.y())[p.x()] * 257;
            EXPECT_EQ(m.At(p.x(), p.y()), expected) << "at " << p.x() << "," << p.y();
        }
    }
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray Photo(const char* format) {
    return Encoded(synthetic::Render(SmallPhoto(), 8, false), format);
}

// The first part of a good photograph in this format.
QByteArray Cut(const char* format, double keptFraction) {
    const QByteArray whole = Photo(format);
    return whole.left(static_cast<qsizetype>(whole.size() * keptFraction));
}

// A good PNG with every 7th byte past its header flipped.
QByteArray Scrambled() {
    QByteArray bytes = Photo("PNG");
    for (qsizetype i = 100; i < bytes.size() - 100; i += 7)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    return bytes;
}

QByteArray BlankPng(int width, int height, QImage::Format format) {
    QImage blank(width, height, format);
    blank.fill(1);
    return Encoded(blank, "PNG");
}

// A file cut, scrambled, empty, of another kind, too large or too shallow:
// no image, and a message that names the file and the problem.
TEST(RefuseBadFiles, NoImageAndOneMessage) {
    struct BadFile {
        const char* name;
        const char* problem;              // a phrase the message must hold
        std::optional<QByteArray> bytes;  // the file's content; none: there is no file
    };
    const BadFile files[] = {
        {"empty.png", "empty", QByteArray()},
        {"notes.png", "not a PNG, JPEG, BMP or TIFF", "These are my notes, not a picture.\n"},
        {"cut.png", "truncated", Cut("PNG", 0.5)},
        {"cut.jpg", "truncated", Cut("JPEG", 0.67)},
        {"cut.tif", "truncated", Cut("TIFF", 0.33)},
        {"cut.bmp", "truncated", Cut("BMP", 0.5)},
        {"scrambled.png", "corrupt", Scrambled()},
        {"wide.png", "8193", BlankPng(image::kMostPixelsPerSide + 1, 4, QImage::Format_Grayscale8)},
        {"bilevel.png", "1-bit", BlankPng(64, 64, QImage::Format_Mono)},
        {"picture.ppm", "not a PNG", Photo("PPM")},
        {"missing.png", "cannot be read", std::nullopt}};
    QTemporaryDir dir;
    for (const BadFile& bad : files) {
        const QString path = dir.filePath(QString::fromLatin1(bad.name));
        if (bad.bytes) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*bad.bytes);
        }
        const image::LoadedImage loaded = image::LoadMeasuredImage(path);
        EXPECT_FALSE(loaded.image) << bad.name;
        EXPECT_TRUE(loaded.error.contains(QString::fromLatin1(bad.name)))
            << loaded.error.toStdString();
        EXPECT_TRUE(loaded.error.contains(QString::fromLatin1(bad.problem)))
            << bad.name << ": " << loaded.error.toStdString();
    }
}

}  // namespace
}  // namespace quorvex::testing
