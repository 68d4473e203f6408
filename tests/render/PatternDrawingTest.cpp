#include <gtest/gtest.h>

#include <cmath>
#include <set>
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
    if (rotDeg != 0) {
        m.RotCos = std::cos(rotDeg * m.DegToRad);
        m.RotSin = std::sin(rotDeg * m.DegToRad);
        model::RotateVectors(m);
    }
    return m;
}

const Structure kSquare2x1{"p4mm (2x1)", 11, 1, 1, 90, 2, 0, 0, 1, 8, 2};

// A unit square basis drawn at a fixed scale, for the spot enumeration.
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

}  // namespace

TEST(DrawPatternBody, CountsDomainsAndUniqueSubpatterns) {
    const double r2 = std::sqrt(2.0);
    const Structure cases[] = {
        {"p1 (2x1)", 1, r2, 1, 55, 2, 0, 0, 1, 1, 1},
        {"p2 oblique", 2, r2, 1, 55, 2, 1, -1, 3, 2, 1},
        {"pm (2 1 / 0 3)", 3, r2, 1, 90, 2, 1, 0, 3, 2, 2},
        {"p2mm (2x1)", 6, r2, 1, 90, 2, 0, 0, 1, 4, 1},
        kSquare2x1,
        {"p4mm c(2x2)", 11, 1, 1, 90, 1, -1, 1, 1, 8, 1},
        {"p4 (r5xr5)R26.6", 10, 1, 1, 90, 2, 1, -1, 2, 4, 1},
        {"p4mm (r5xr5)R26.6", 11, 1, 1, 90, 2, 1, -1, 2, 8, 2},
        {"p4mm (1x1)", 11, 1, 1, 90, 1, 0, 0, 1, 8, 1},
        {"p3 (r7xr7)R19.1", 13, 1, 1, 120, 2, -1, 1, 3, 3, 1},
        {"p3m1 (r7xr7)R19.1", 14, 1, 1, 120, 2, -1, 1, 3, 6, 2},
        {"p6mm (r3xr3)R30", 17, 1, 1, 120, 1, -1, 1, 2, 12, 1},
        {"p6mm (2x1)", 17, 1, 1, 120, 2, 0, 0, 1, 12, 3},
        {"p6mm (1x1)", 17, 1, 1, 120, 1, 0, 0, 1, 12, 1},
    };
    for (const Structure& st : cases)
        for (double rot : {0.0, 30.0, 90.0, -70.0}) {
            Module1 m = Build(st, rot);
            RecordingSurface s;
            const auto r = render::DrawPatternBody(m, s, {true, true, true, false});
            EXPECT_EQ(m.PointOpCount, st.domains) << st.name << " at " << rot;
            EXPECT_EQ(m.SubpatternCount, st.unique) << st.name << " at " << rot;
            EXPECT_TRUE(r.domainsDone);
            EXPECT_EQ(r.caption, std::to_string(st.domains) + " domain(s),  " +
                                     std::to_string(st.unique) + " unique subpattern(s)");
            EXPECT_EQ(m.SubpatternVec1[1].x, m.RB1X) << "the superlattice is subpattern 1";
        }
}

TEST(DrawPatternBody, DrawsBoxSubstrateFrameAndPaintedDomainsInOrder) {
    Module1 m = Build(kSquare2x1);
    RecordingSurface s;
    render::DrawPatternBody(m, s, {true, true, true, false});
    ASSERT_GT(s.calls.size(), 10u);
    EXPECT_EQ(s.calls[0].kind, Kind::FilledRectangle);
    EXPECT_TRUE(SameSegment(s.calls[0], 4560, 4680, 8040, 8160));
    EXPECT_EQ(s.calls[0].color, RGB(0, 0, 0));

    // Substrate: PatScale 1392, rings of radius 80 at |h|, |k| <= 1.
    std::size_t i = 1;
    for (; i < 10; ++i) {
        const DrawCall& c = s.calls[i];
        EXPECT_EQ(c.kind, Kind::Circle);
        EXPECT_EQ(c.r, 80);
        EXPECT_EQ(c.state.fillStyle, FillStyle::Transparent);
        EXPECT_EQ(c.state.penMode, PenMode::Merge);
    }
    const double frame[4][4] = {{4560, 4680, 4560, 8160},
                                {4560, 8160, 8040, 8160},
                                {8040, 8160, 8040, 4680},
                                {8040, 4680, 4560, 4680}};
    for (const auto& f : frame) {
        EXPECT_EQ(s.calls[i].kind, Kind::Line);
        EXPECT_EQ(s.calls[i].color, RGB(255, 255, 255));
        EXPECT_TRUE(s.calls[i].x1 == f[0] && s.calls[i].y1 == f[1] && s.calls[i].x2 == f[2] &&
                    s.calls[i].y2 == f[3]);
        ++i;
    }
    // (2x1) spot (1, 0) = 0.5 a1* in subpattern 1's colour; the (1x2) domain's
    // spot 0.5 a2* in subpattern 2's, painted over in merge mode.
    const auto at = [&](double x, double y, model::Rgb c) {
        return s.Where([&](const DrawCall& d) {
            return d.kind == Kind::Circle && std::abs(d.x1 - x) < 0.01 &&
                   std::abs(d.y1 - y) < 0.01 && d.color == c && d.state.fillColor == c &&
                   d.state.fillStyle == FillStyle::Solid && d.state.penMode == PenMode::Merge &&
                   d.r == 45;
        });
    };
    EXPECT_EQ(at(6300 + 696, 6420, m.DomainColor[2]).size(), 1u);
    EXPECT_EQ(at(6300, 6420 - 696, m.DomainColor[3]).size(), 1u);
    EXPECT_TRUE(at(6300, 6420 - 696, m.DomainColor[2]).empty());
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
        EXPECT_EQ(cleared[i].state.fillStyle, FillStyle::Solid);
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
    EXPECT_EQ(tail[3].kind, Kind::Circle);
    EXPECT_TRUE(tail[3].x1 == 6300 && tail[3].y1 == 6420 && tail[3].r == 45);
    EXPECT_EQ(tail[3].state.fillStyle, FillStyle::Solid);
    EXPECT_EQ(tail[3].state.fillColor, RGB(255, 255, 255));
    EXPECT_EQ(tail[3].state.penMode, PenMode::Copy);
    EXPECT_EQ(tail[4].r, 80);
    EXPECT_EQ(tail[4].state.fillStyle, FillStyle::Transparent);
    EXPECT_EQ(tail[4].color, RGB(255, 255, 255));
}

TEST(DrawPatternBody, PaintWithoutIncludeKeepsWhiteAndStopsAfterClearingTheLegend) {
    for (bool paint : {false, true}) {
        Module1 m = Build(kSquare2x1);
        m.PointOpCount = 99;
        RecordingSurface s;
        const auto r = render::DrawPatternBody(m, s, {false, paint, false, false});
        EXPECT_FALSE(r.legendShown);
        EXPECT_FALSE(r.domainsDone);
        EXPECT_EQ(m.PointOpCount, 99);
        EXPECT_EQ(m.SubpatternCount, 1);
        const auto spots = s.Of(Kind::Circle);
        ASSERT_FALSE(spots.empty());
        for (const DrawCall& c : spots) EXPECT_EQ(c.state.fillColor, RGB(255, 255, 255));
        EXPECT_EQ(s.calls.back().kind, Kind::FilledRectangle);  // no centre disc
        EXPECT_EQ(s.calls.back().x1, 8280 + 5 * 180);
    }
}

TEST(DrawLatticeSpots, GlideLinesRemoveOnlyOddAxialSpots) {
    struct Case {
        Long basic, super;
        bool swap;
        Long kind;
        bool g1, g2;
    };
    const Case cases[] = {
        {4, 1, false, -1, true, false},  {7, 1, false, -1, false, true},
        {8, 1, false, -1, true, true},   {12, 1, false, -1, true, true},
        {4, 1, false, 2, false, false},  {1, 4, false, 2, true, false},
        {1, 4, true, 2, false, true},    {1, 7, false, 2, false, true},
        {1, 7, true, 2, true, false},    {1, 19, false, 3, true, false},
        {1, 21, true, 2, true, false},   {1, 12, true, 2, true, true},
        {1, 4, false, -1, false, false}, {6, 6, false, -1, false, false},
    };
    for (const Case& c : cases) {
        Module1 m = UnitSquare(300);
        m.BasicGroup = c.basic, m.SuperGroup = c.super, m.GroupAxisSwap[c.super] = c.swap;
        RecordingSurface s;
        render::DrawLatticeSpots(m, s, 1, 0, 0, 1, RGB(1, 2, 3), 45, c.kind, false);
        std::set<std::pair<int, int>> expected;
        for (int h = -5; h <= 5; ++h)  // 300 * 5 < 1740 - 45 < 300 * 6
            for (int k = -5; k <= 5; ++k)
                if (!((k == 0 && h % 2 != 0 && c.g1) || (h == 0 && k % 2 != 0 && c.g2)))
                    expected.insert({h, k});
        const auto got = Indices(s, m);
        const std::set<std::pair<int, int>> drawn(got.begin(), got.end());
        EXPECT_EQ(drawn, expected) << c.basic << " " << c.super << " " << c.swap << " " << c.kind;
        EXPECT_EQ(got.size(), expected.size());
    }
}

TEST(DrawLatticeSpots, EnumerationOrderAndStrictFrameTest) {
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
}

TEST(DrawLatticeSpots, RangesComeFromTheBoxWidth) {
    // A tall box: the row h = 1 would fit vertically, but hmax = floor(3480 / 4000) = 0.
    Module1 m = UnitSquare(4000);
    m.PatBoxTop = 0, m.PatBoxHeight = 20000, m.PatBoxCenterY = 10000;
    RecordingSurface s;
    render::DrawLatticeSpots(m, s, 0, 1, 0.25, 0, 0, 45, 2, false);
    const auto spots = s.Of(Kind::Circle);
    ASSERT_EQ(spots.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(spots[i].x1 == 5300 + 1000 * i && spots[i].y1 == 10000) << i;
}

TEST(DrawLatticeSpots, BasisVectorsAndTheStateLeftBehind) {
    struct Case {
        Long kind;
        int width;
        FillStyle fill;
        PenMode pen;
    };
    for (const Case& c : {Case{-1, 1, FillStyle::Transparent, PenMode::Merge},
                          Case{2, 3, FillStyle::Solid, PenMode::Merge},
                          Case{3, 3, FillStyle::Transparent, PenMode::Copy}})
        for (bool bases : {false, true}) {
            Module1 m = UnitSquare(300);
            RecordingSurface s;
            s.SetLineWidth(3);
            const model::Rgb colour = RGB(9, 8, 7);
            render::DrawLatticeSpots(m, s, 1, 0.5, -0.5, 2, colour, 45, c.kind, bases);
            const auto lines = s.Of(Kind::Line);
            ASSERT_EQ(lines.size(), bases ? 2u : 0u);
            if (bases) {
                EXPECT_TRUE(SameSegment(lines[0], 6300, 6420, 6600, 6270));
                EXPECT_TRUE(SameSegment(lines[1], 6300, 6420, 6150, 5820));
                for (const DrawCall& l : lines) {
                    EXPECT_EQ(l.state.lineWidth, c.width);
                    EXPECT_EQ(l.color, colour);
                }
                EXPECT_EQ(s.calls[0].kind, Kind::Line);
            }
            for (const DrawCall& d : s.Of(Kind::Circle)) {
                EXPECT_EQ(d.state.fillStyle, c.fill);
                EXPECT_EQ(d.state.penMode, c.pen);
                EXPECT_EQ(d.state.fillColor, colour);
                EXPECT_EQ(d.state.lineWidth, 1);
            }
            EXPECT_EQ(s.State().penMode, PenMode::Copy);
            EXPECT_EQ(s.State().lineWidth, 1);
        }
}

namespace {

// Counts the calls and every coordinate that is not a finite number, without
// keeping millions of records.
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
    void DoRectangle(double x1, double y1, double x2, double y2, model::Rgb, bool) override {
        Check({x1, y1, x2, y2});
    }
    void DoCircle(double x, double y, double r, model::Rgb) override {
        ++circles;
        Check({x, y, r});
    }
    void DoPrint(const std::string&) override {}
};

}  // namespace

TEST(DrawPatternBody, ExtremeInputsFinishWithFiniteCoordinates) {
    const Structure square{"p4mm (1x1)", 11, 1, 1, 90, 1, 0, 0, 1, 8, 1};
    const Long big = 2147483647;
    struct Case {
        Structure st;
        double patMag;
    };
    for (const Case& c : {Case{square, 1e-300}, Case{square, 1e300},
                          Case{{"huge", 11, 1, 1, 90, big, 0, 0, 1, 8, 2}, 1},
                          Case{{"huge skew", 1, 1, 1, 55, big, big - 1, 1, 1, 1, 1}, 1e-3},
                          Case{{"huge hex", 17, 1, 1, 120, big, -big, 1, 0, 12, 0}, 1}}) {
        Module1 m = Build(c.st, 30);
        m.PatMag = c.patMag;
        FiniteCheckingSurface s;
        render::DrawPatternBody(m, s, {true, true, true, true});
        EXPECT_EQ(s.nonFinite, 0) << c.st.name << " " << c.patMag;
        EXPECT_LE(s.circles, 2001L * 2001 * 14) << c.st.name;
    }

    // Zoomed in so far that only the (0, 0) spots remain.
    Module1 m = Build(square);
    m.PatMag = 1e-300;
    RecordingSurface s;
    render::DrawPatternBody(m, s, {true, true, true, true});
    for (const DrawCall& d : s.Of(Kind::Circle)) EXPECT_TRUE(d.x1 == 6300 && d.y1 == 6420);
    EXPECT_EQ(s.Of(Kind::Circle).size(), 4u);
}

TEST(DrawLatticeSpots, DegenerateBasesFinishWithFiniteCoordinates) {
    const double inf = INFINITY, nan = NAN;
    struct Case {
        double scale, px, py, qx, qy;
    };
    for (const Case& c : {Case{300, 1, 0, 2, 0}, Case{300, 1, 0, 0, 0}, Case{300, nan, 0, 0, 1},
                          Case{inf, 1, 0, 0, 1}, Case{nan, 1, 0, 0, 1}, Case{0, 1, 0, 0, 1},
                          Case{1e300, 1e10, -3, 0, 1}, Case{300, inf, 1, 0, 1}}) {
        Module1 m = UnitSquare(c.scale);
        FiniteCheckingSurface s;
        render::DrawLatticeSpots(m, s, c.px, c.py, c.qx, c.qy, 0, 45, 2, true);
        EXPECT_EQ(s.nonFinite, 0) << c.scale << " " << c.px << " " << c.qx;
        EXPECT_LE(s.circles, 2001L * 2001);
    }
}
