// Opening measured images: every depth and format a camera writes comes in
// as the same grey levels; every bad file gives one message naming it.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

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

// A file name as a test name: "grey8.png" is "grey8_png".
template <typename File>
std::string TestName(const ::testing::TestParamInfo<File>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (c == '.') c = '_';
    return name;
}

struct Saved {
    const char* name;
    int bits;
    bool colour;
    const char* format;
    bool exact;  // lossless: every grey read back as written
};

class LoadEveryKind : public ::testing::TestWithParam<Saved> {};

TEST_P(LoadEveryKind, ReadsTheGreyLevelsThatWereWritten) {
    const Saved s = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(s.name));
    const synthetic::LeedPhoto photo = SmallPhoto();
    const QImage written = synthetic::Render(photo, s.bits, s.colour);
    ASSERT_TRUE(written.save(path, s.format)) << s.name;
    const image::LoadedImage loaded = image::LoadMeasuredImage(path);
    ASSERT_TRUE(loaded.image) << loaded.error.toStdString();
    const image::MeasuredImage& m = *loaded.image;
    EXPECT_EQ(m.Size(), written.size());
    EXPECT_EQ(m.bitsPerChannel, s.bits) << s.name;
    EXPECT_EQ(m.colour, s.colour) << s.name;
    // The (1 0) spot is bright, the gun's shadow dark, in every kind alike.
    const QPointF spot = synthetic::SpotCentre(photo, {1, 0});
    const int bright = m.At(int(spot.x()), int(spot.y()));
    const int shadow = m.At(int(photo.centre.x()), int(photo.centre.y()));
    const double fullScale = s.colour ? 0.69 : 1.0;  // a green phosphor's luminance
    EXPECT_GT(bright, 0.5 * fullScale * 65535) << s.name;
    EXPECT_LT(shadow, 0.06 * 65535) << s.name;
    if (s.exact && !s.colour) {
        for (QPoint p : {QPoint(3, 4), QPoint(150, 90), QPoint(int(spot.x()), int(spot.y()))}) {
            const int expected = s.bits == 16 ? reinterpret_cast<const quint16*>(written.constScanLine(p.y()))[p.x()]
                                              : written.constScanLine(p.y())[p.x()] * 257;
            EXPECT_EQ(m.At(p.x(), p.y()), expected) << s.name << " at " << p.x() << "," << p.y();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, LoadEveryKind,
                         ::testing::Values(Saved{"grey8.png", 8, false, "PNG", true},
                                           Saved{"grey16.png", 16, false, "PNG", true},
                                           Saved{"grey8.tif", 8, false, "TIFF", true},
                                           Saved{"grey16.tif", 16, false, "TIFF", true},
                                           Saved{"colour8.png", 8, true, "PNG", true},
                                           Saved{"colour16.png", 16, true, "PNG", true},
                                           Saved{"colour16.tif", 16, true, "TIFF", true},
                                           Saved{"grey8.bmp", 8, true, "BMP", true},  // BMP keeps grey as colour
                                           Saved{"grey8.jpg", 8, false, "JPEG", false}),
                         TestName<Saved>);

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray Photo(const char* format) { return Encoded(synthetic::Render(SmallPhoto(), 8, false), format); }

// The first part of a good photograph in this format.
QByteArray Cut(const char* format, double keptFraction) {
    const QByteArray whole = Photo(format);
    return whole.left(static_cast<qsizetype>(whole.size() * keptFraction));
}

// A good PNG with every 7th byte past its header flipped.
QByteArray Scrambled() {
    QByteArray bytes = Photo("PNG");
    for (qsizetype i = 100; i < bytes.size() - 100; i += 7) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    return bytes;
}

QByteArray BlankPng(int width, int height, QImage::Format format) {
    QImage blank(width, height, format);
    blank.fill(1);
    return Encoded(blank, "PNG");
}

// A file cut, scrambled, empty, of another kind, too large or too shallow:
// no image, and a message that names the file and the problem.
struct BadFile {
    const char* name;
    const char* problem;    // a phrase the message must hold
    QByteArray (*bytes)();  // the file's content; none: there is no file
};

class RefuseBadFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(RefuseBadFiles, NoImageAndOneMessage) {
    const BadFile bad = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(bad.name));
    if (bad.bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bad.bytes());
    }
    const image::LoadedImage loaded = image::LoadMeasuredImage(path);
    EXPECT_FALSE(loaded.image) << bad.name;
    EXPECT_TRUE(loaded.error.contains(QString::fromLatin1(bad.name))) << loaded.error.toStdString();
    EXPECT_TRUE(loaded.error.contains(QString::fromLatin1(bad.problem)))
        << bad.name << ": " << loaded.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefuseBadFiles,
    ::testing::Values(
        BadFile{"empty.png", "empty", [] { return QByteArray(); }},
        BadFile{"notes.png", "not a PNG, JPEG, BMP or TIFF",
                [] { return QByteArray("These are my notes, not a picture.\n"); }},
        BadFile{"cut.png", "truncated", [] { return Cut("PNG", 0.5); }},
        BadFile{"cut.jpg", "truncated", [] { return Cut("JPEG", 0.67); }},
        BadFile{"cut.tif", "truncated", [] { return Cut("TIFF", 0.33); }},
        BadFile{"cut.bmp", "truncated", [] { return Cut("BMP", 0.5); }},
        BadFile{"scrambled.png", "corrupt", Scrambled},
        BadFile{"wide.png", "8193",
                [] { return BlankPng(image::kMostPixelsPerSide + 1, 4, QImage::Format_Grayscale8); }},
        BadFile{"bilevel.png", "1-bit", [] { return BlankPng(64, 64, QImage::Format_Mono); }},
        BadFile{"picture.ppm", "not a PNG", [] { return Photo("PPM"); }},
        BadFile{"missing.png", "cannot be read", nullptr}),
    TestName<BadFile>);

// The view's picture averages the pixels each of its pixels covers.
TEST(Resampled, AveragesBlocksAndRepeatsWhenEnlarged) {
    image::MeasuredImage m;
    m.width = 4;
    m.height = 2;
    m.grey = {0, 100, 200, 300, 400, 500, 600, 700};
    EXPECT_EQ(image::Resampled(m, {2, 1}), (std::vector<std::uint16_t>{250, 450}));
    EXPECT_EQ(image::Resampled(m, {8, 2})[1], 0);
    EXPECT_EQ(image::Resampled(m, {8, 2})[2], 100);
    EXPECT_EQ(image::Resampled(m, {1, 1}), (std::vector<std::uint16_t>{350}));
    // Full-scale pixels do not overflow the sums.
    m.grey.assign(8, 65535);
    EXPECT_EQ(image::Resampled(m, {1, 1}), (std::vector<std::uint16_t>{65535}));
}

}  // namespace
}  // namespace quorvex::testing
