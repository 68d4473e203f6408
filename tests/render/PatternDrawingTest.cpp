#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "model/DomainColours.h"
#include "render/PatternDrawing.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using model::DomainColour;
using model::RGB;
using testing::DrawCall;
using testing::FillStyle;
using testing::FiniteCheckingSurface;
using testing::PenMode;
using testing::RecordingSurface;
using Kind = DrawCall::Kind;

constexpr double Cx = 6300, Cy = 6420;  // the pattern box's centre
const model::Glides kNoGlides;

model::Pattern PatternOf(model::Int32 group, double alpha, model::SuperlatticeMatrix matrix,
                         bool domains, double zoom = 1, double rotationDegrees = 0) {
    model::Structure s;
    s.basicGroup = group, s.alpha = alpha, s.matrix = matrix;
    s.options.includeDomains = domains;
    model::ViewSettings view;
    view.patternZoom = zoom;
    view.rotationCos = std::cos(rotationDegrees * model::kDegToRad);
    view.rotationSin = std::sin(rotationDegrees * model::kDegToRad);
    const model::CellVectors v = model::Rotated(model::ComputeCellVectors(s), view, s.matrix);
    return model::ComputePattern(v, s, view, model::AllowedGroups{});
}

// The (h, k) of every circle drawn with the unit square basis, in order.
std::vector<std::pair<int, int>> Indices(const RecordingSurface& s, double scale) {
    std::vector<std::pair<int, int>> out;
    for (const DrawCall& c : s.Of(Kind::Circle))
        out.emplace_back(static_cast<int>(std::lround((c.x1 - Cx) / scale)),
                         static_cast<int>(std::lround((Cy - c.y1) / scale)));
    return out;
}

// p4mm (2x1): the (2x1) domain is subpattern 1, the (1x2) domain subpattern 2.
TEST(DrawPattern, DomainColoursLegendAndCentreSpot) {
    // {paint domains, include domains}
    for (auto [paint, include] : {std::pair{true, true}, {false, true}, {true, false}}) {
        SCOPED_TRACE(::testing::Message() << "paint " << paint << " include " << include);
        const model::Pattern pattern = PatternOf(model::kP4mm, 90, {2, 0, 0, 1}, include);
        const model::PatternOptions options{true, paint, include, false};
        RecordingSurface s(RGB(12, 34, 56));
        DrawPattern(s, pattern, options, 45);
        ASSERT_FALSE(s.calls.empty());
        EXPECT_TRUE(s.calls[0].kind == Kind::FilledRectangle &&
                    s.calls[0].Joins(4560, 4680, 8040, 8160, true));
        const auto discsAt = [&](double x, double y, model::Rgb c) {
            return s
                .Where([&](const DrawCall& d) {
                    return d.kind == Kind::Circle && std::abs(d.x1 - x) < 0.01 &&
                           std::abs(d.y1 - y) < 0.01 && d.state.fillColor == c && d.r == 45 &&
                           d.state.fillStyle == FillStyle::Solid &&
                           d.state.penMode == PenMode::Merge;
                })
                .size();
        };
        const bool legend = paint && include;
        EXPECT_EQ(LegendShown(options), legend);
        // 0.5 a1* of subpattern 1; 0.5 a2* of subpattern 2 only with the domains.
        EXPECT_EQ(discsAt(Cx + 696, Cy, model::SubpatternColour(1, legend)), 1u);
        EXPECT_EQ(discsAt(Cx, Cy - 696, model::SubpatternColour(2, legend)), include ? 1u : 0u);
        // Six legend boxes blanked, then one box per subpattern in its colour, where
        // the pointer finds that subpattern.
        EXPECT_EQ(s.Where([](const DrawCall& c) {
                       return c.kind == Kind::FilledRectangle && c.color == RGB(12, 34, 56);
                   }).size(),
                  6u);
        const auto boxes = s.Of(Kind::Rectangle);
        ASSERT_EQ(boxes.size(), legend ? 2u : 0u);
        for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
            const DrawCall& b = boxes[i];
            EXPECT_TRUE(b.color == 0 && b.state.fillColor == DomainColour(i + 2) &&
                        b.state.fillStyle == FillStyle::Solid);
            EXPECT_EQ(LegendEntryAt((b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2, 2), i + 1);
        }
        // With the domains, the white centre disc and its ring come last.
        const DrawCall& last = s.calls.back();
        if (!include) {
            EXPECT_TRUE(last.kind == Kind::FilledRectangle && last.x1 == 8280 + 5 * 180);
            continue;
        }
        const DrawCall& disc = s.calls[s.calls.size() - 2];
        EXPECT_TRUE(disc.kind == Kind::Circle && disc.x1 == Cx && disc.y1 == Cy && disc.r == 45 &&
                    disc.state.fillColor == model::kWhite && disc.state.penMode == PenMode::Copy);
        EXPECT_TRUE(last.r == 80 && last.state.fillStyle == FillStyle::Transparent);
    }
}

TEST(DrawPattern, LegendEntryUnderAPoint) {
    // {x, y, subpatterns, entry}: boxes of 180 x 225 twips from (8280, 4920), the
    // legend's outer edges left out, up to x = 9480.
    const double cases[][4] = {{8280, 5000, 3, 0},   {8281, 5000, 3, 1},  {8460, 5000, 3, 2},
                               {8819, 5144.9, 3, 3}, {8820, 5000, 3, 0},  {8500, 4920, 3, 0},
                               {8500, 5145, 3, 0},   {9400, 5000, 12, 7}, {9480, 5000, 12, 0},
                               {9000, 5000, 40, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(LegendEntryAt(c[0], c[1], static_cast<int>(c[2])), c[3]) << c[0] << " " << c[1];
}

TEST(HighlightSubpattern, RingsOneSubpatternInItsColour) {
    const model::Pattern pattern = PatternOf(model::kP4mm, 90, {2, 0, 0, 1}, true);
    for (int number : {0, 2, 3}) {  // of two subpatterns
        RecordingSurface s;
        HighlightSubpattern(s, pattern, number, 45, false);
        std::set<std::pair<long, long>> at;  // in half steps of a*
        for (const DrawCall& c : s.Of(Kind::Circle)) {
            EXPECT_TRUE(c.r == 80 && c.color == DomainColour(3) &&
                        c.state.penMode == PenMode::Copy &&
                        c.state.fillStyle == FillStyle::Transparent);
            at.insert({std::lround((c.x1 - Cx) / 696), std::lround((Cy - c.y1) / 696)});
        }
        EXPECT_EQ(s.calls.empty(), number != 2) << number;
        EXPECT_TRUE(number != 2 || (at.count({0, 1}) && at.count({2, 0}) && !at.count({1, 0})));
    }
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
    RecordingSurface s;  // hmax = kmax = 3, only |h|, |k| <= 1 inside
    DrawLatticeSpots(s, 1000, {1, 0}, {0, 1}, kNoGlides, 0, 45, SpotKind::Superstructure, false);
    const std::vector<std::pair<int, int>> order = {{-1, -1}, {-1, 1}, {-1, 0}, {1, -1}, {1, 1},
                                                    {1, 0},   {0, -1}, {0, 0},  {0, 1}};
    EXPECT_EQ(Indices(s, 1000), order);
    // 1695 puts (+-1, 0) and (0, +-1) exactly one radius from the frame.
    for (auto [scale, count] : {std::pair{1695.0, 1u}, std::pair{1694.0, 9u}}) {
        RecordingSurface t;
        DrawLatticeSpots(t, scale, {1, 0}, {0, 1}, kNoGlides, 0, 45, SpotKind::Superstructure,
                         false);
        EXPECT_EQ(t.Of(Kind::Circle).size(), count) << scale;
    }
}

// The substrate's basis is drawn thin, the others thick; substrate and
// superstructure spots merge, highlights are copied over them.
TEST(DrawLatticeSpots, BasisVectorsAndTheStateLeftBehind) {
    for (const auto& [kind, width, fill, pen] :
         {std::tuple{SpotKind::Substrate, 1, FillStyle::Transparent, PenMode::Merge},
          std::tuple{SpotKind::Superstructure, 3, FillStyle::Solid, PenMode::Merge},
          std::tuple{SpotKind::Highlight, 3, FillStyle::Transparent, PenMode::Copy}}) {
        RecordingSurface s;
        s.SetLineWidth(3);
        DrawLatticeSpots(s, 300, {1, 0.5}, {-0.5, 2}, kNoGlides, RGB(9, 8, 7), 45, kind, true);
        ASSERT_GT(s.calls.size(), 2u);
        EXPECT_TRUE(s.calls[0].Joins(Cx, Cy, Cx + 300, Cy - 150, true));
        EXPECT_TRUE(s.calls[1].Joins(Cx, Cy, Cx - 150, Cy - 600, true));
        for (int i : {0, 1})
            EXPECT_TRUE(s.calls[i].state.lineWidth == width && s.calls[i].color == RGB(9, 8, 7));
        for (const DrawCall& d : s.Of(Kind::Circle))
            EXPECT_TRUE(d.state.fillStyle == fill && d.state.penMode == pen &&
                        d.state.fillColor == RGB(9, 8, 7) && d.state.lineWidth == 1);
        EXPECT_TRUE(s.State().penMode == PenMode::Copy && s.State().lineWidth == 1);
    }
}

TEST(DrawPattern, ExtremeInputsFinishWithFiniteCoordinates) {
    const model::Int32 big = 2147483647;
    const std::tuple<model::Int32, double, model::SuperlatticeMatrix, double> patterns[] = {
        {model::kP4mm, 90, {1, 0, 0, 1}, 1e-300},
        {model::kP4mm, 90, {1, 0, 0, 1}, 1e300},
        {model::kP1, 55, {big, big - 1, 1, 1}, 1e-3},
        {model::kP6mm, 120, {big, -big, 1, 0}, 1}};
    for (const auto& [group, alpha, matrix, zoom] : patterns) {
        FiniteCheckingSurface s;
        DrawPattern(s, PatternOf(group, alpha, matrix, true, zoom, 30), {true, true, true, true},
                    45);
        EXPECT_EQ(s.nonFinite, 0) << group << " " << zoom;
        EXPECT_LE(s.circles, 2001L * 2001 * 14) << group;
    }
    const double inf = INFINITY, nan = NAN;  // {scale, p, q}
    const double spots[][5] = {{300, 1, 0, 2, 0},
                               {300, nan, 0, 0, 1},
                               {inf, 1, 0, 0, 1},
                               {0, 1, 0, 0, 1},
                               {1e300, 1e10, -3, 0, 1}};
    for (const auto& c : spots) {
        FiniteCheckingSurface s;
        DrawLatticeSpots(s, c[0], {c[1], c[2]}, {c[3], c[4]}, kNoGlides, 0, 45,
                         SpotKind::Superstructure, true);
        EXPECT_EQ(s.nonFinite, 0) << c[0] << " " << c[1] << " " << c[3];
        EXPECT_LE(s.circles, 2001L * 2001);
    }
}

}  // namespace
}  // namespace quorvex::render
