// Levels as a user sees them on the shown picture: black and white points,
// gamma, invert, and Auto from the image's own percentiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "image/Levels.h"

namespace quorvex::testing {
namespace {

std::vector<std::uint16_t> Ramp() {
    std::vector<std::uint16_t> grey(65536);
    for (std::size_t v = 0; v < grey.size(); ++v) grey[v] = static_cast<std::uint16_t>(v);
    return grey;
}

int Shown(const image::Levels& levels, double fraction) {
    const std::vector<std::uint16_t> one{static_cast<std::uint16_t>(std::lround(fraction * 65535))};
    return image::ApplyLevels(one, {1, 1}, levels).constScanLine(0)[0];
}

// Black at the black point, white at the white point, and a ramp of every grey
// that never darkens: so black below the one and white above the other.
TEST(Levels, PointsClipAndStretchGammaBendsAndInvertMirrors) {
    const image::Levels levels{0.2, 0.6, 1, false};
    EXPECT_EQ(Shown(levels, 0.2), 0);
    EXPECT_EQ(Shown(levels, 0.4), 128);  // half-way between the points
    EXPECT_EQ(Shown(levels, 0.6), 255);
    const QImage ramp = image::ApplyLevels(Ramp(), {256, 256}, levels);
    ASSERT_EQ(ramp.format(), QImage::Format_Grayscale8);
    // Never darker for a brighter grey: 256-byte rows hold the ramp without padding.
    EXPECT_TRUE(std::is_sorted(ramp.constBits(), ramp.constBits() + ramp.sizeInBytes()));
    EXPECT_GT(Shown({0, 1, 2.2, false}, 0.25), Shown({0, 1, 1, false}, 0.25) + 40);
    EXPECT_LT(Shown({0, 1, 0.5, false}, 0.5), 70);
    EXPECT_EQ(Shown({0, 1, 2.2, false}, 0.0), 0);  // the ends stay where they are
    EXPECT_EQ(Shown({0, 1, 2.2, false}, 1.0), 255);
    for (double f : {0.0, 0.1, 0.37, 0.8, 1.0})
        EXPECT_EQ(Shown({0.1, 0.9, 1.7, true}, f), 255 - Shown({0.1, 0.9, 1.7, false}, f)) << f;
}

// The view's RGB32 picture shows the same greys as the 8-bit one.
TEST(Levels, ColourPictureMatchesTheGreyOne) {
    const image::Levels levels{0.05, 0.8, 0.7, true};
    const QImage grey = image::ApplyLevels(Ramp(), {256, 256}, levels);
    const QImage rgb = image::ApplyLevels(Ramp(), {256, 256}, levels, QImage::Format_RGB32);
    ASSERT_EQ(rgb.format(), QImage::Format_RGB32);
    for (int y = 0; y < 256; y += 5)
        for (int x = 0; x < 256; x += 3)
            ASSERT_EQ(rgb.pixel(x, y), grey.pixel(x, y));  // pixel() gives a grey as an RGB
}

TEST(Levels, NonsenseIsPutIntoRange) {
    const image::Levels s = image::Sanitised({0.9, 0.2, std::nan(""), false});
    EXPECT_LT(s.black, s.white);
    EXPECT_EQ(s.gamma, 1);
    EXPECT_EQ(image::Sanitised({-3, 7, 1e9, false}),
              (image::Levels{0, 1, image::kMostGamma, false}));
}

TEST(Histogram, AutoLevelsSitAtTheHalfPercentEnds) {
    // 1000 pixels 0.10, 98 000 spread evenly over 0.2 .. 0.6, 1000 pixels 0.95.
    std::vector<std::uint16_t> grey;
    grey.insert(grey.end(), 1000, static_cast<std::uint16_t>(0.10 * 65535));
    for (int i = 0; i < 98000; ++i)
        grey.push_back(static_cast<std::uint16_t>((0.2 + 0.4 * i / 98000.0) * 65535));
    grey.insert(grey.end(), 1000, static_cast<std::uint16_t>(0.95 * 65535));
    const image::Histogram h(grey);
    EXPECT_EQ(h.Total(), 100000u);
    const image::Levels autoLevels = image::AutoLevels(h, {0, 1, 1.8, true});
    // 0.5 % is the 500th pixel: inside the dark 1 %; 99.5 % inside the bright 1 %.
    EXPECT_NEAR(autoLevels.black, 0.10, 1e-4);
    EXPECT_NEAR(autoLevels.white, 0.95, 1e-4);
    EXPECT_EQ(autoLevels.gamma, 1.8);  // the rest stays as it was
    EXPECT_TRUE(autoLevels.invert);
    const std::vector<std::uint64_t> bins = h.Bins(10);
    EXPECT_EQ(bins[0], 1000u);  // 0.10 is the top of the first bin
    EXPECT_EQ(bins[9], 1000u);
    EXPECT_EQ(std::accumulate(bins.begin(), bins.end(), std::uint64_t{0}), h.Total());
    // A flat image still gets a usable window.
    const image::Levels flat =
        image::AutoLevels(image::Histogram(std::vector<std::uint16_t>(50, 1234)), {});
    EXPECT_LT(flat.black, flat.white);
}

}  // namespace
}  // namespace quorvex::testing
