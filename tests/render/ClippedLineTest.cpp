#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "render/ClippedLine.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using testing::DrawCall;
using testing::RecordingSurface;

struct Segment {
    double x1, y1, x2, y2;
};

struct ClipCase {
    const char* name;
    Segment in;
    std::optional<Segment> drawn;  // end points in the order drawn; none: nothing drawn
};

// All against the box [0, 10] x [0, 10].
const std::vector<ClipCase> kClipCases = {
    {"InsideRising", {2, 3, 7, 8}, Segment{2, 3, 7, 8}},
    {"InsideRisingGivenBackwards", {7, 8, 2, 3}, Segment{2, 3, 7, 8}},
    {"InsideFallingStartsAtSmallerY", {2, 8, 7, 3}, Segment{7, 3, 2, 8}},
    {"PassesOutsideCorner", {-5, 4, 4, -5}, std::nullopt},
    {"CutsCorner", {-5, 6, 6, -5}, Segment{1, 0, 0, 1}},
    {"ClippedLeftAndRight", {-10, 0, 20, 15}, Segment{0, 5, 10, 10}},
    {"ClippedTopAndBottom", {4, -6, 6, 14}, Segment{4.6, 0, 5.6, 10}},
    {"WhollyLeft", {-8, 1, -2, 9}, std::nullopt},
    {"EndsOnLeftEdge", {-4, 2, 0, 6}, Segment{0, 6, 0, 6}},
    {"NearlyVerticalDrawnAtX1", {5, 2, 5.05, 12}, Segment{5, 2, 5, 10}},
    {"ZeroLength", {3, 3, 3, 3}, Segment{3, 3, 3, 3}},
    {"VerticalOnRightEdge", {10, -5, 10, 20}, Segment{10, 0, 10, 10}},
    {"VerticalOnLeftEdgeDownwards", {0, 8, 0, 2}, Segment{0, 2, 0, 8}},
    {"VerticalJustRight", {10.01, 2, 10.01, 8}, std::nullopt},
    {"VerticalBelow", {5, 11, 5, 20}, std::nullopt},
    {"VerticalTouchingBottom", {5, 10, 5, 20}, Segment{5, 10, 5, 10}},
    {"NearlyHorizontalDrawnAtY1", {12, 5, -3, 5.05}, Segment{0, 5, 10, 5}},
    {"HorizontalOnTopEdge", {2, 0, 8, 0}, Segment{2, 0, 8, 0}},
    {"HorizontalAbove", {2, -0.5, 8, -0.5}, std::nullopt},
    {"HorizontalWhollyRight", {11, 5, 15, 5}, std::nullopt},
    {"VerticalThroughInfinity", {5, -INFINITY, 5, INFINITY}, Segment{5, 0, 5, 10}},
};

class ClipTable : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipTable, DrawsThePartInsideTheBox) {
    const ClipCase& c = GetParam();
    RecordingSurface s;
    s.SetLineWidth(2);
    const model::Rgb colour = model::RGB(1, 2, 3);
    DrawClippedLine(s, c.in.x1, c.in.y1, c.in.x2, c.in.y2, 0, 10, 0, 10, colour);
    if (!c.drawn) {
        EXPECT_TRUE(s.calls.empty());
        return;
    }
    ASSERT_EQ(s.calls.size(), 1u);
    const DrawCall& line = s.calls[0];
    EXPECT_EQ(line.kind, DrawCall::Kind::Line);
    EXPECT_DOUBLE_EQ(line.x1, c.drawn->x1);
    EXPECT_DOUBLE_EQ(line.y1, c.drawn->y1);
    EXPECT_DOUBLE_EQ(line.x2, c.drawn->x2);
    EXPECT_DOUBLE_EQ(line.y2, c.drawn->y2);
    EXPECT_EQ(line.color, colour);
    EXPECT_EQ(line.state.lineWidth, 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClipTable, ::testing::ValuesIn(kClipCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClampValue, LowerThenUpperSoAnInvertedIntervalGivesUpper) {
    struct Case {
        double value, lower, upper, expected;
    };
    const Case cases[] = {{-1, 0, 10, 0}, {11, 0, 10, 10}, {5, 0, 10, 5}, {0, 0, 10, 0},
                          {1, 8, 2, 2},   {5, 8, 2, 2},    {9, 8, 2, 2}};
    for (const Case& c : cases) {
        double v = c.value;
        ClampValue(v, c.lower, c.upper);
        EXPECT_EQ(v, c.expected) << c.value << " in [" << c.lower << ", " << c.upper << "]";
    }
}

TEST(DrawClippedLine, ExtremeEndPointsNeverReachTheSurfaceAsInfOrNaN) {
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {std::nan(""), -inf, inf, -1e308, 1e308, 0, 5, 1e-300};
    RecordingSurface s;
    for (double x1 : values)
        for (double y1 : values)
            for (double x2 : values)
                for (double y2 : values) DrawClippedLine(s, x1, y1, x2, y2, 0, 10, 0, 10, 0);
    EXPECT_FALSE(s.calls.empty());
    for (const DrawCall& c : s.calls) {
        EXPECT_TRUE(std::isfinite(c.x1) && std::isfinite(c.y1) && std::isfinite(c.x2) &&
                    std::isfinite(c.y2))
            << c.x1 << " " << c.y1 << " " << c.x2 << " " << c.y2;
        EXPECT_TRUE(c.x1 >= 0 && c.x1 <= 10 && c.x2 >= 0 && c.x2 <= 10);
        EXPECT_TRUE(c.y1 >= 0 && c.y1 <= 10 && c.y2 >= 0 && c.y2 <= 10);
    }
}

}  // namespace
}  // namespace quorvex::render
