// The QImage canvas: exact pixels, bitwise-OR merging, dotted lines, text
// placement and the overlay of unretained drawing.
#include <gtest/gtest.h>

#include "platform/ImageSurface.h"

using namespace quorvex;
using model::RGB;
using platform::FillStyle;
using platform::ImageSurface;
using platform::PenMode;

namespace {
constexpr model::Rgb kBack = RGB(240, 240, 240);
}

TEST(ImageSurface, MergeModeIsABitwiseOr) {
    ImageSurface s(3000, 3000, kBack);
    s.FilledRectangle(0, 0, 3000, 3000, RGB(0, 0, 0));
    s.SetPenMode(PenMode::Merge);
    s.SetFillStyle(FillStyle::Solid);
    s.SetFillColor(RGB(138, 138, 255));
    s.Circle(1500, 1500, 90, RGB(138, 138, 255));
    s.SetFillColor(RGB(255, 106, 106));
    s.Circle(1500, 1500, 90, RGB(255, 106, 106));
    EXPECT_EQ(s.PixelAt(1500, 1500), RGB(255, 234, 255));
}

TEST(ImageSurface, CoordinatesRoundToWholePixels) {
    ImageSurface s(3000, 3000, kBack);
    s.Line(0, 22, 3000, 22, RGB(255, 0, 0));  // 22 twips: pixel row 1
    EXPECT_EQ(s.PixelAt(600, 15), RGB(255, 0, 0));
    EXPECT_EQ(s.PixelAt(600, 0), kBack);
    EXPECT_EQ(s.PixelAt(600, 30), kBack);
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

TEST(ImageSurface, TextHasItsTopLeftAtTheCurrentPosition) {
    ImageSurface s(3000, 3000, RGB(255, 255, 255));
    s.SetTextColor(RGB(255, 0, 0));
    s.SetCurrentPosition(300, 300);
    s.Print("Superlattice too large");
    bool above = false, below = false;
    for (int x = 0; x < 3000; x += 15) {
        for (int y = 0; y < 285; y += 15) above |= s.PixelAt(x, y) != RGB(255, 255, 255);
        for (int y = 300; y < 600; y += 15) below |= s.PixelAt(x, y) == RGB(255, 0, 0);
    }
    EXPECT_FALSE(above);
    EXPECT_TRUE(below);
}

TEST(ImageSurface, UnretainedDrawingIsGoneAtTheNextRetainedDrawing) {
    ImageSurface s(3000, 3000, kBack);
    s.SetRetained(false);
    s.Line(0, 150, 3000, 150, RGB(255, 0, 0));
    EXPECT_EQ(s.PixelAt(1500, 150), RGB(255, 0, 0));
    EXPECT_EQ(s.Image().pixelColor(100, 10), QColor(240, 240, 240));
    s.SetRetained(true);
    s.Line(0, 600, 3000, 600, RGB(0, 0, 255));
    EXPECT_EQ(s.PixelAt(1500, 150), kBack);
    EXPECT_EQ(s.PixelAt(1500, 600), RGB(0, 0, 255));
}

TEST(ImageSurface, FarOffCoordinatesAreHarmless) {
    ImageSurface s(3000, 3000, kBack);
    s.Line(-1e300, 150, 1e300, 150, RGB(255, 0, 0));
    s.Circle(std::nan(""), 1e308, 1e308, RGB(255, 0, 0));
    EXPECT_EQ(s.PixelAt(1500, 150), RGB(255, 0, 0));
}
