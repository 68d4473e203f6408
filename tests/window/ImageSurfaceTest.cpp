// The QImage canvas: dotted lines and coordinates far off. Exact pixels, the merge
// pen, text and unretained drawing are checked through the window.
#include <gtest/gtest.h>

#include "platform/ImageSurface.h"

using namespace quorvex;
using model::RGB;
using platform::ImageSurface;

namespace {
constexpr model::Rgb kBack = RGB(240, 240, 240);
}

TEST(ImageSurface, DottedLinesLeaveGaps) {
    ImageSurface s(3000, 3000, kBack);
    s.SetLineStyle(platform::LineStyle::Dotted);
    s.Line(0, 150, 3000, 150, RGB(0, 0, 255));
    int on = 0, off = 0;
    for (int x = 15; x < 2985; x += 15) (s.PixelAt(x, 150) == RGB(0, 0, 255) ? on : off)++;
    EXPECT_GT(on, 50);
    EXPECT_GT(off, 50);
}

TEST(ImageSurface, FarOffCoordinatesAreHarmless) {
    ImageSurface s(3000, 3000, kBack);
    s.Line(-1e300, 150, 1e300, 150, RGB(255, 0, 0));
    s.Circle(std::nan(""), 1e308, 1e308, RGB(255, 0, 0));
    EXPECT_EQ(s.PixelAt(1500, 150), RGB(255, 0, 0));
}
