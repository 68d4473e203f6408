#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "render/PatternDrawing.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using model::RGB;
using testing::DrawCall;
using testing::RecordingSurface;
using Kind = DrawCall::Kind;

constexpr double Cx = 6300, Cy = 6420;  // the pattern box's centre

// The (h, k) of every circle drawn with the unit square basis, in order.
std::vector<std::pair<int, int>> Indices(const RecordingSurface& s, double scale) {
    std::vector<std::pair<int, int>> out;
    for (const DrawCall& c : s.Of(Kind::Circle))
        out.emplace_back(static_cast<int>(std::lround((c.x1 - Cx) / scale)),
                         static_cast<int>(std::lround((Cy - c.y1) / scale)));
    return out;
}

TEST(DrawPattern, LegendEntryUnderAPoint) {
    // {x, y, subpatterns, entry}: boxes of 180 x 225 twips from (8280, 4920), the
    // legend's outer edges left out, up to x = 9480. The left and top edges and
    // the boundary between two boxes are the window's legend clicks.
    const double cases[][4] = {{8819, 5144.9, 3, 3}, {8820, 5000, 3, 0},  {8500, 5145, 3, 0},
                               {9400, 5000, 12, 7},  {9480, 5000, 12, 0}, {9000, 5000, 40, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(LegendEntryAt(c[0], c[1], static_cast<int>(c[2])), c[3]) << c[0] << " " << c[1];
}

TEST(DrawLatticeSpots, GlideLinesRemoveOnlyOddAxialSpots) {
    for (SpotKind kind : {SpotKind::Substrate, SpotKind::Superstructure})
        for (model::Glides g : {model::Glides{}, {true, false}, {false, true}, {true, true}}) {
            RecordingSurface s;
            DrawLatticeSpots(s, 300, {1, 0}, {0, 1}, g, RGB(1, 2, 3), 45, kind, false);
            std::set<std::pair<int, int>> expected;
            for (int h = -5; h <= 5; ++h)  // 300 * 5 < 1740 - 45 < 300 * 6
                for (int k = -5; k <= 5; ++k)
                    if (!((k == 0 && h % 2 != 0 && g.alongFirst) ||
                          (h == 0 && k % 2 != 0 && g.alongSecond)))
                        expected.insert({h, k});
            const auto got = Indices(s, 300);
            EXPECT_EQ(std::set(got.begin(), got.end()), expected) << g.alongFirst << g.alongSecond;
            EXPECT_EQ(got.size(), expected.size());
        }
}

TEST(DrawLatticeSpots, EnumerationOrderAndTheStrictFrameTest) {
    RecordingSurface s;  // no glides; hmax = kmax = 3, only |h|, |k| <= 1 inside
    DrawLatticeSpots(s, 1000, {1, 0}, {0, 1}, {}, 0, 45, SpotKind::Superstructure, false);
    const std::vector<std::pair<int, int>> order = {{-1, -1}, {-1, 1}, {-1, 0}, {1, -1}, {1, 1},
                                                    {1, 0},   {0, -1}, {0, 0},  {0, 1}};
    EXPECT_EQ(Indices(s, 1000), order);
    // 1695 puts (+-1, 0) and (0, +-1) exactly one radius from the frame.
    for (auto [scale, count] : {std::pair{1695.0, 1u}, std::pair{1694.0, 9u}}) {
        RecordingSurface t;
        DrawLatticeSpots(t, scale, {1, 0}, {0, 1}, {}, 0, 45, SpotKind::Superstructure, false);
        EXPECT_EQ(t.Of(Kind::Circle).size(), count) << scale;
    }
}

}  // namespace
}  // namespace quorvex::render
