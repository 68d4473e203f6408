#include <gtest/gtest.h>

#include <vector>

#include "render/RealLattice.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using model::kBlack;
using model::kGreen;
using model::RGB;
using model::Rgb;
using platform::Segment;
using testing::DrawCall;
using testing::RecordingSurface;

// The lattice box is 3480 twips square from (240, 4680), centred on (1980, 6420);
// 1160 twips to the unit is the scale of the identity on the unit square lattice.
void Draw(platform::Surface& s, model::Vec2 t1, model::Vec2 t2, LatticeKind kind,
          double scale = 1160, Rgb colour = kGreen, double radius = 45) {
    DrawRealLattice(s, {t1, t2, scale, colour, radius, kind});
}

// The lines joining the expected end points, the first `thick` of width 3, the rest of 1.
void ExpectLines(const std::vector<DrawCall>& lines, const std::vector<Segment>& expected,
                 size_t thick = 0) {
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(
            lines[i].Joins(expected[i].x1, expected[i].y1, expected[i].x2, expected[i].y2) &&
            lines[i].state.lineWidth == (i < thick ? 3 : 1))
            << "line " << i << ": " << lines[i].x1 << " " << lines[i].y1;
}

// The two basis vectors thick, then the rows of each family that reach the box,
// spaced by the part of the other vector perpendicular to them.
TEST(DrawRealLattice, NetRowsInTheBox) {
    RecordingSurface rectangular, parallel;
    // t1 = (0, 1), t2 = (0.5, 0): three rows parallel to t2 and seven parallel to
    // t1 reach the box, the outer two of these on its edges.
    Draw(rectangular, {0, 1}, {0.5, 0}, LatticeKind::SubstrateNet);
    std::vector<Segment> expected = {{1980, 5260, 1980, 6420}, {1980, 6420, 2560, 6420}};
    for (int k = -1; k <= 1; ++k)
        expected.push_back({240, 6420 - 1160.0 * k, 3720, 6420 - 1160.0 * k});
    for (int k = -3; k <= 3; ++k)
        expected.push_back({1980 + 580.0 * k, 4680, 1980 + 580.0 * k, 8160});
    ExpectLines(rectangular.calls, expected, 2);
    for (const DrawCall& c : rectangular.calls) EXPECT_EQ(c.color, kGreen);
    // Parallel vectors make the counts infinite: the net collapses onto the centre row, drawn once.
    Draw(parallel, {1, 0}, {2, 0}, LatticeKind::SubstrateNet);
    ASSERT_EQ(parallel.calls.size(), 3u);
    EXPECT_TRUE(parallel.calls[2].Joins(240, 6420, 3720, 6420, true));
}

TEST(DrawRealLattice, SuperlatticeDotsStrictlyInsideTheBoxInLoopOrder) {
    const Rgb kDotColour = RGB(12, 34, 56);
    RecordingSurface s;
    Draw(s, {1, 0}, {0, 1}, LatticeKind::SuperlatticeDots, 1160, kDotColour);
    const auto lines = s.Of(DrawCall::Kind::Line);
    ExpectLines(lines, {{1980, 6420, 3140, 6420}, {1980, 5260, 1980, 6420}});
    const auto dots = s.Of(DrawCall::Kind::Circle);
    ASSERT_EQ(dots.size(), 9u);
    for (size_t n = 0; n < 9; ++n)
        EXPECT_TRUE(dots[n].x1 == 1980 + 1160.0 * (int(n / 3) - 1) &&
                    dots[n].y1 == 6420 - 1160.0 * (int(n % 3) - 1) && dots[n].r == 45 &&
                    dots[n].color == kDotColour && dots[n].state.fillColor == kDotColour &&
                    dots[n].state.fillStyle == testing::FillStyle::Solid)
            << n;
    // The dots at +-1 row lie 580 inside the edges; the origin 1740.
    for (auto [radius, count] :
         std::vector<std::pair<double, size_t>>{{579.5, 9}, {580, 1}, {1739.5, 1}, {1740, 0}}) {
        RecordingSurface t;
        Draw(t, {1, 0}, {0, 1}, LatticeKind::SuperlatticeDots, 1160, kBlack, radius);
        EXPECT_EQ(t.Of(DrawCall::Kind::Circle).size(), count) << "radius " << radius;
    }
}

}  // namespace
}  // namespace quorvex::render
