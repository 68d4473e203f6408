#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "model/Vectors.h"
#include "render/PatternDrawing.h"
#include "support/RecordingSurface.h"

namespace model = quorvex::model;
namespace platform = quorvex::platform;
namespace render = quorvex::render;
using model::Long;
using model::Module1;
using model::RGB;
using quorvex::testing::DrawCall;
using quorvex::testing::FillStyle;
using quorvex::testing::PenMode;
using quorvex::testing::RecordingSurface;
using Kind = DrawCall::Kind;

namespace {

struct Structure {
    const char* name;
    Long group;
    double a, b, alpha;
    Long m11, m12, m21, m22;
    Long domains, unique;
};

Module1 Build(const Structure& st, double rotDeg = 0) {
    Module1 m;
    model::FillTables(m);
    m.BasicGroup = st.group;
    m.LatticeA = st.a, m.LatticeB = st.b, m.LatticeAlpha = st.alpha;
    m.M11 = st.m11, m.M12 = st.m12, m.M21 = st.m21, m.M22 = st.m22;
    model::ComputeBasicVectors(m);
    model::ComputeSuperVectors(m);
    m.RotCos = std::cos(rotDeg * m.DegToRad);
    m.RotSin = std::sin(rotDeg * m.DegToRad);
    model::RotateVectors(m);
    return m;
}

const Structure kSquare2x1{"p4mm (2x1)", 11, 1, 1, 90, 2, 0, 0, 1, 8, 2};

Module1 UnitSquare(double scale) {
    Module1 m;
    model::FillTables(m);
    m.PatScale = scale;
    m.BasicGroup = 1;
    m.SuperGroup = 1;
    return m;
}

// The (h, k) of every circle drawn with the unit square basis, in order.
std::vector<std::pair<int, int>> Indices(const RecordingSurface& s, const Module1& m) {
    std::vector<std::pair<int, int>> out;
    for (const DrawCall& c : s.Of(Kind::Circle))
        out.emplace_back(static_cast<int>(std::lround((c.x1 - m.PatBoxCenterX) / m.PatScale)),
                         static_cast<int>(std::lround((m.PatBoxCenterY - c.y1) / m.PatScale)));
    return out;
}

bool SameSegment(const DrawCall& c, double x1, double y1, double x2, double y2) {
    const auto near = [](double a, double b) { return std::abs(a - b) < 1e-6; };
    return (near(c.x1, x1) && near(c.y1, y1) && near(c.x2, x2) && near(c.y2, y2)) ||
           (near(c.x1, x2) && near(c.y1, y2) && near(c.x2, x1) && near(c.y2, y1));
}

// Counts non-finite coordinates without keeping millions of records.
class FiniteCheckingSurface : public platform::Surface {
  public:
    long circles = 0, nonFinite = 0;
    model::Rgb BackColor() const override { return 0; }

  protected:
    void Check(std::initializer_list<double> v) {
        for (double d : v) nonFinite += !std::isfinite(d);
    }
    void DoLine(double x1, double y1, double x2, double y2, model::Rgb) override {
        Check({x1, y1, x2, y2});
    }
    void DoRectangle(double, double, double, double, model::Rgb, bool) override {}
    void DoCircle(double x, double y, double r, model::Rgb) override {
        ++circles;
        Check({x, y, r});
    }
    void DoPrint(const std::string&) override {}
};

}  // namespace

TEST(DrawPatternBody, CountsDomainsAndUniqueSubpatterns) {
    const Structure cases[] = {
        {"p1 (2x1)", 1, std::sqrt(2.0), 1, 55, 2, 0, 0, 1, 1, 1},
        {"p2 oblique", 2, std::sqrt(2.0), 1, 55, 2, 1, -1, 3, 2, 1},
        kSquare2x1,
        {"p3m1 (r7xr7)R19.1", 14, 1, 1, 120, 2, -1, 1, 3, 6, 2},
        {"p6mm (r3xr3)R30", 17, 1, 1, 120, 1, -1, 1, 2, 12, 1},
        {"p6mm (2x1)", 17, 1, 1, 120, 2, 0, 0, 1, 12, 3},
        {"p6mm (1x1)", 17, 1, 1, 120, 1, 0, 0, 1, 12, 1},
    };
    for (const Structure& st : cases)
        for (double rot : {0.0, 30.0, -70.0}) {
            Module1 m = Build(st, rot);
            RecordingSurface s;
            const auto r = render::DrawPatternBody(m, s, {true, true, true, false});
            EXPECT_EQ(m.PointOpCount, st.domains) << st.name << " at " << rot;
            EXPECT_EQ(m.SubpatternCount, st.unique) << st.name << " at " << rot;
            EXPECT_TRUE(r.domainsDone);
            EXPECT_EQ(r.caption, std::to_string(st.domains) + " domain(s),  " +
                                     std::to_string(st.unique) + " unique subpattern(s)");
        }
}

TEST(DrawPatternBody, LegendBoxesCaptionAndCentreSpot) {
    Module1 m = Build({"p6mm (2x1)", 17, 1, 1, 120, 2, 0, 0, 1, 12, 3});
    RecordingSurface s(RGB(12, 34, 56));
    const auto r = render::DrawPatternBody(m, s, {true, true, true, false});
    EXPECT_TRUE(r.legendShown);
    EXPECT_EQ(r.caption, "12 domain(s),  3 unique subpattern(s)");
    const auto cleared =
        s.Where([](const DrawCall& c) { return c.kind == Kind::FilledRectangle && c.y1 == 4920; });
    ASSERT_EQ(cleared.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(SameSegment(cleared[i], 8280 + 180 * i, 4920, 8460 + 180 * i, 5145));
        EXPECT_EQ(cleared[i].color, RGB(12, 34, 56));
    }
    // The last calls: three legend boxes, the white disc and the ring.
    ASSERT_GE(s.calls.size(), 5u);
    const DrawCall* tail = &s.calls[s.calls.size() - 5];
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tail[i].kind, Kind::Rectangle);
        EXPECT_TRUE(SameSegment(tail[i], 8280 + 180 * i, 4920, 8460 + 180 * i, 5145));
        EXPECT_EQ(tail[i].color, RGB(0, 0, 0));
        EXPECT_EQ(tail[i].state.fillColor, m.DomainColor[i + 2]);
        EXPECT_EQ(tail[i].state.fillStyle, FillStyle::Solid);
    }
    EXPECT_TRUE(tail[3].kind == Kind::Circle && tail[3].x1 == 6300 && tail[3].y1 == 6420 &&
                tail[3].r == 45);
    EXPECT_EQ(tail[3].state.fillColor, RGB(255, 255, 255));
    EXPECT_EQ(tail[3].state.penMode, PenMode::Copy);
    EXPECT_TRUE(tail[4].r == 80 && tail[4].state.fillStyle == FillStyle::Transparent);
}

TEST(DrawPatternBody, PaintsEachDomainInItsSubpatternColourOnlyWhenIncluded) {
    for (auto [include, paint] :
         {std::pair{true, true}, std::pair{false, false}, std::pair{false, true}}) {
        Module1 m = Build(kSquare2x1);
        m.PointOpCount = 99;
        RecordingSurface s;
        const auto r = render::DrawPatternBody(m, s, {include, paint, include, false});
        ASSERT_FALSE(s.calls.empty());
        EXPECT_TRUE(s.calls[0].kind == Kind::FilledRectangle &&
                    SameSegment(s.calls[0], 4560, 4680, 8040, 8160));
        if (include) {
            // (2x1) spot 0.5 a1* in subpattern 1's colour; the (1x2) domain's 0.5 a2* in 2's.
            const auto at = [&](double x, double y, model::Rgb c) {
                return s.Where([&](const DrawCall& d) {
                    return d.kind == Kind::Circle && std::abs(d.x1 - x) < 0.01 &&
                           std::abs(d.y1 - y) < 0.01 && d.state.fillColor == c &&
                           d.state.fillStyle == FillStyle::Solid &&
                           d.state.penMode == PenMode::Merge && d.r == 45;
                });
            };
            EXPECT_EQ(at(6300 + 696, 6420, m.DomainColor[2]).size(), 1u);
            EXPECT_EQ(at(6300, 6420 - 696, m.DomainColor[3]).size(), 1u);
            EXPECT_TRUE(at(6300, 6420 - 696, m.DomainColor[2]).empty());
            continue;
        }
        EXPECT_FALSE(r.legendShown || r.domainsDone);
        EXPECT_EQ(m.PointOpCount, 99);
        const auto spots = s.Of(Kind::Circle);
        ASSERT_FALSE(spots.empty());
        for (const DrawCall& c : spots) EXPECT_EQ(c.state.fillColor, RGB(255, 255, 255));
        EXPECT_EQ(s.calls.back().kind, Kind::FilledRectangle);  // no centre disc
        EXPECT_EQ(s.calls.back().x1, 8280 + 5 * 180);
    }
}

TEST(DrawLatticeSpots, GlideLinesRemoveOnlyOddAxialSpots) {
    // basic, super, axis swap, kind, glide along a1, glide along a2
    const std::tuple<Long, Long, bool, Long, bool, bool> cases[] = {
        {4, 1, false, -1, true, false},  {7, 1, false, -1, false, true},
        {8, 1, false, -1, true, true},   {12, 1, false, -1, true, true},
        {4, 1, false, 2, false, false},  {1, 4, false, 2, true, false},
        {1, 4, true, 2, false, true},    {1, 7, false, 2, false, true},
        {1, 7, true, 2, true, false},    {1, 4, false, -1, false, false},
        {6, 6, false, -1, false, false},
    };
    for (const auto& [basic, super, swap, kind, g1, g2] : cases) {
        Module1 m = UnitSquare(300);
        m.BasicGroup = basic, m.SuperGroup = super, m.GroupAxisSwap[super] = swap;
        RecordingSurface s;
        render::DrawLatticeSpots(m, s, 1, 0, 0, 1, RGB(1, 2, 3), 45, kind, false);
        std::set<std::pair<int, int>> expected;
        for (int h = -5; h <= 5; ++h)  // 300 * 5 < 1740 - 45 < 300 * 6
            for (int k = -5; k <= 5; ++k)
                if (!((k == 0 && h % 2 != 0 && g1) || (h == 0 && k % 2 != 0 && g2)))
                    expected.insert({h, k});
        const auto got = Indices(s, m);
        EXPECT_EQ(std::set(got.begin(), got.end()), expected)
            << basic << " " << super << " " << swap << " " << kind;
        EXPECT_EQ(got.size(), expected.size());
    }
}

TEST(DrawLatticeSpots, EnumerationOrderStrictFrameTestAndRangesFromTheWidth) {
    Module1 m = UnitSquare(1000);  // hmax = kmax = 3, only |h|, |k| <= 1 inside
    RecordingSurface s;
    render::DrawLatticeSpots(m, s, 1, 0, 0, 1, 0, 45, 2, false);
    const std::vector<std::pair<int, int>> order = {{-1, -1}, {-1, 1}, {-1, 0}, {1, -1}, {1, 1},
                                                    {1, 0},   {0, -1}, {0, 0},  {0, 1}};
    EXPECT_EQ(Indices(s, m), order);
    // 1695 puts (+-1, 0) and (0, +-1) exactly one radius from the frame.
    for (auto [scale, count] : {std::pair{1695.0, 1u}, std::pair{1694.0, 9u}}) {
        Module1 f = UnitSquare(scale);
        RecordingSurface t;
        render::DrawLatticeSpots(f, t, 1, 0, 0, 1, 0, 45, 2, false);
        EXPECT_EQ(t.Of(Kind::Circle).size(), count) << scale;
    }
    // A tall box: the row h = 1 would fit vertically, but hmax = floor(3480 / 4000) = 0.
    Module1 tall = UnitSquare(4000);
    tall.PatBoxTop = 0, tall.PatBoxHeight = 20000, tall.PatBoxCenterY = 10000;
    RecordingSurface u;
    render::DrawLatticeSpots(tall, u, 0, 1, 0.25, 0, 0, 45, 2, false);
    const auto spots = u.Of(Kind::Circle);
    ASSERT_EQ(spots.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(spots[i].x1 == 5300 + 1000 * i && spots[i].y1 == 10000);
}

TEST(DrawLatticeSpots, BasisVectorsAndTheStateLeftBehind) {
    for (const auto& [kind, width, fill, pen] :
         {std::tuple{Long{-1}, 1, FillStyle::Transparent, PenMode::Merge},
          std::tuple{Long{2}, 3, FillStyle::Solid, PenMode::Merge},
          std::tuple{Long{3}, 3, FillStyle::Transparent, PenMode::Copy}}) {
        Module1 m = UnitSquare(300);
        RecordingSurface s;
        s.SetLineWidth(3);
        const model::Rgb colour = RGB(9, 8, 7);
        render::DrawLatticeSpots(m, s, 1, 0.5, -0.5, 2, colour, 45, kind, true);
        const auto lines = s.Of(Kind::Line);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(s.calls[0].kind, Kind::Line);
        EXPECT_TRUE(SameSegment(lines[0], 6300, 6420, 6600, 6270));
        EXPECT_TRUE(SameSegment(lines[1], 6300, 6420, 6150, 5820));
        for (const DrawCall& l : lines)
            EXPECT_TRUE(l.state.lineWidth == width && l.color == colour);
        for (const DrawCall& d : s.Of(Kind::Circle))
            EXPECT_TRUE(d.state.fillStyle == fill && d.state.penMode == pen &&
                        d.state.fillColor == colour && d.state.lineWidth == 1);
        EXPECT_EQ(s.State().penMode, PenMode::Copy);
        EXPECT_EQ(s.State().lineWidth, 1);
    }
}

TEST(DrawPatternBody, ExtremeInputsFinishWithFiniteCoordinates) {
    const Structure square{"p4mm (1x1)", 11, 1, 1, 90, 1, 0, 0, 1, 8, 1};
    const Long big = 2147483647;
    struct Case {
        Structure st;
        double patMag;
    };
    for (const Case& c : {Case{square, 1e-300}, Case{square, 1e300},
                          Case{{"huge skew", 1, 1, 1, 55, big, big - 1, 1, 1, 1, 1}, 1e-3},
                          Case{{"huge hex", 17, 1, 1, 120, big, -big, 1, 0, 12, 0}, 1}}) {
        Module1 m = Build(c.st, 30);
        m.PatMag = c.patMag;
        FiniteCheckingSurface s;
        render::DrawPatternBody(m, s, {true, true, true, true});
        EXPECT_EQ(s.nonFinite, 0) << c.st.name << " " << c.patMag;
        EXPECT_LE(s.circles, 2001L * 2001 * 14) << c.st.name;
    }
    const double inf = INFINITY, nan = NAN;
    const double spots[][5] = {{300, 1, 0, 2, 0},
                               {300, nan, 0, 0, 1},
                               {inf, 1, 0, 0, 1},
                               {0, 1, 0, 0, 1},
                               {1e300, 1e10, -3, 0, 1}};
    for (const auto& c : spots) {
        Module1 m = UnitSquare(c[0]);
        FiniteCheckingSurface s;
        render::DrawLatticeSpots(m, s, c[1], c[2], c[3], c[4], 0, 45, 2, true);
        EXPECT_EQ(s.nonFinite, 0) << c[0] << " " << c[1] << " " << c[3];
        EXPECT_LE(s.circles, 2001L * 2001);
    }
}
