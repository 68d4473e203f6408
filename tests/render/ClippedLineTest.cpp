#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "render/ClippedLine.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using platform::Segment;
using testing::DrawCall;
using testing::RecordingSurface;

TEST(DrawClippedLine, DrawsThePartInsideTheBox) {
    // All against the box [0, 10] x [0, 10]; drawn end points in the order drawn.
    const std::pair<Segment, std::optional<Segment>> cases[] = {
        {{7, 8, 2, 3}, Segment{2, 3, 7, 8}},    // inside, given backwards
        {{2, 8, 7, 3}, Segment{7, 3, 2, 8}},    // falling: starts at the smaller y
        {{-5, 4, 4, -5}, std::nullopt},         // passes outside the corner
        {{-5, 6, 6, -5}, Segment{1, 0, 0, 1}},  // cuts the corner
        {{-10, 0, 20, 15}, Segment{0, 5, 10, 10}},
        {{4, -6, 6, 14}, Segment{4.6, 0, 5.6, 10}},
        {{-8, 1, -2, 9}, std::nullopt},
        {{5, 2, 5.05, 12}, Segment{5, 2, 5, 10}},  // nearly vertical: drawn at x1
        {{3, 3, 3, 3}, Segment{3, 3, 3, 3}},
        {{10, -5, 10, 20}, Segment{10, 0, 10, 10}},  // vertical on the right edge
        {{0, 8, 0, 2}, Segment{0, 2, 0, 8}},
        {{10.01, 2, 10.01, 8}, std::nullopt},
        {{5, 11, 5, 20}, std::nullopt},
        {{12, 5, -3, 5.05}, Segment{0, 5, 10, 5}},  // nearly horizontal: drawn at y1
        {{2, -0.5, 8, -0.5}, std::nullopt},
        {{11, 5, 15, 5}, std::nullopt}};
    for (const auto& [in, drawn] : cases) {
        RecordingSurface s;
        DrawClippedLine(s, in.x1, in.y1, in.x2, in.y2, 0, 10, 0, 10, model::RGB(1, 2, 3));
        const std::string at = ::testing::PrintToString(std::array{in.x1, in.y1, in.x2, in.y2});
        ASSERT_EQ(s.calls.size(), drawn ? 1u : 0u) << at;
        if (!drawn) continue;
        const DrawCall& line = s.calls[0];
        EXPECT_TRUE(line.kind == DrawCall::Kind::Line &&
                    line.Joins(drawn->x1, drawn->y1, drawn->x2, drawn->y2) &&
                    line.color == model::RGB(1, 2, 3))
            << at << ": " << line.x1 << " " << line.y1 << " " << line.x2 << " " << line.y2;
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
    for (const DrawCall& c : s.calls)
        EXPECT_TRUE(c.x1 >= 0 && c.x1 <= 10 && c.x2 >= 0 && c.x2 <= 10 && c.y1 >= 0 && c.y1 <= 10 &&
                    c.y2 >= 0 && c.y2 <= 10)  // false for NaN too
            << c.x1 << " " << c.y1 << " " << c.x2 << " " << c.y2;
}

}  // namespace
}  // namespace quorvex::render
