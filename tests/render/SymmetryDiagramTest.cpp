#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <tuple>

#include "model/Vectors.h"
#include "render/SymmetryDiagram.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using model::Long;
using testing::DrawCall;
using testing::FillStyle;
using testing::LineStyle;
using testing::RecordingSurface;

constexpr double R = 960, BasicCx = 6480, SuperCx = 8640, Cy = 1800;
constexpr double L = 678.8225099;    // square: 960 / sqrt 2
constexpr double H15 = 831.3843876;  // hexagonal: 1.5 h
const model::Rgb Back = model::RGB(12, 34, 56);

struct Pt {
    double x, y;
};
bool Near(Pt a, Pt b, double eps = 1e-6) {
    return std::fabs(a.x - b.x) < eps && std::fabs(a.y - b.y) < eps;
}
Pt Mid(Pt a, Pt b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// Cell lines are Plain, Mirror or Glide; a rotation symbol of order n centred at
// a has the kind Rot + n.
enum Kind { Plain, Mirror, Glide, Rot = 10 };
struct Seg {
    int kind;
    Pt a, b;
};

struct Diagram {
    std::vector<Seg> segs;  // the cell lines in drawing order, then the symbols
    std::vector<DrawCall> calls;
    std::string caption;
    platform::DrawState after;
    int Count(int k) const {
        return static_cast<int>(
            std::count_if(segs.begin(), segs.end(), [k](auto& s) { return s.kind == k; }));
    }
};

// A rotation symbol is a closed black path of width 2 through these offsets
// (y down) from its centre, from its top vertex: upright and of full size.
const double W = 77.9422863;
const std::vector<std::pair<int, std::vector<Pt>>> Shapes{
    {2, {{0, -90}, {45, 0}, {0, 90}, {-45, 0}}},
    {3, {{0, -90}, {W, 45}, {-W, 45}}},
    {4, {{0, -90}, {90, 0}, {0, 90}, {-90, 0}}},
    {6, {{0, -90}, {W, -45}, {W, 45}, {0, 90}, {-W, 45}, {-W, -45}}}};

// The order of the symbol whose path starts at lines[i], or 0.
int SymbolAt(const std::vector<DrawCall>& lines, std::size_t i) {
    const Pt c{lines[i].x1, lines[i].y1 + 90};
    for (const auto& [n, v] : Shapes) {
        bool ok = i + v.size() <= lines.size();
        for (std::size_t j = 0; ok && j < v.size(); ++j) {
            const DrawCall& k = lines[i + j];
            ok = k.state.lineWidth == 2 && k.color == 0 &&
                 Near({k.x1 - c.x, k.y1 - c.y}, v[j], 0.01) &&
                 Near({k.x2 - c.x, k.y2 - c.y}, v[(j + 1) % v.size()], 0.01);
        }
        if (ok) return n;
    }
    return 0;
}

Diagram Draw(model::Module1& m, Long group, Long kind) {
    RecordingSurface s(Back);
    s.SetLineStyle(LineStyle::Dotted);  // whatever a previous drawing left behind
    s.SetLineWidth(5);
    Diagram d{{}, {}, DrawSymmetryElements(m, s, group, kind), s.State()};
    d.calls = s.calls;
    const auto lines = s.Of(DrawCall::Kind::Line);
    for (std::size_t i = 0; i < lines.size();) {
        const DrawCall& k = lines[i];
        if (const int n = SymbolAt(lines, i)) {
            d.segs.push_back({Rot + n, {k.x1, k.y1 + 90}, {k.x1, k.y1 + 90}});
            i += n == 2 ? 4 : n;
            continue;
        }
        ++i;
        const bool dotted = k.state.lineStyle == LineStyle::Dotted;
        EXPECT_TRUE(k.state.lineWidth == 1 || (k.state.lineWidth == 2 && !dotted));
        EXPECT_TRUE(d.segs.empty() || d.segs.back().kind < Rot) << "line after a symbol";
        EXPECT_EQ(k.color, kind == 2 ? model::RGB(0, 0, 255) : 0);
        const int lineKind = dotted ? Glide : k.state.lineWidth == 2 ? Mirror : Plain;
        d.segs.push_back({lineKind, {k.x1, k.y1}, {k.x2, k.y2}});
    }
    return d;
}

model::Module1 Lattice(Long basicGroup, double a, double b, double alpha, Long superGroup = 0) {
    model::Module1 m;
    model::FillTables(m);
    m.LatticeA = a, m.LatticeB = b, m.LatticeAlpha = alpha, m.BasicGroup = basicGroup;
    m.SuperGroup = superGroup ? superGroup : basicGroup, m.SuperRightHanded = true;
    model::ComputeBasicVectors(m);
    model::ComputeSuperVectors(m);
    return m;
}

// Segments and symbols as a set, optionally mirrored top to bottom.
using Shape = std::set<std::tuple<int, long, long, long, long>>;
Shape ShapeOf(const std::vector<Seg>& segs, bool mirror = false) {
    Shape out;
    for (Seg s : segs) {
        if (mirror) s.a.y = 2 * Cy - s.a.y, s.b.y = 2 * Cy - s.b.y;
        if (std::tie(s.a.x, s.a.y) > std::tie(s.b.x, s.b.y)) std::swap(s.a, s.b);
        out.insert({s.kind, std::lround(s.a.x * 100), std::lround(s.a.y * 100),
                    std::lround(s.b.x * 100), std::lround(s.b.y * 100)});
    }
    return out;
}

struct GroupCase {
    Long group, kind, basicGroup;
    double a, b, alpha;
    int plain, mirror, glide, n2, n3, n4, n6;
};
// 1..17 as basic diagrams; the rotated settings as superlattices of an identity matrix.
const std::vector<GroupCase> Groups{
    {1, 1, 1, 1, 1.3, 70, 4, 0, 0, 0, 0, 0, 0},    {2, 1, 2, 1, 1.3, 130, 4, 0, 0, 4, 0, 0, 0},
    {3, 1, 3, 1, 1.6, 90, 2, 3, 0, 0, 0, 0, 0},    {4, 1, 4, 1, 1.6, 90, 2, 0, 3, 0, 0, 0, 0},
    {5, 1, 5, 2, 1, 90, 4, 1, 2, 0, 0, 0, 0},      {6, 1, 6, 1, 1.6, 90, 0, 6, 0, 9, 0, 0, 0},
    {7, 1, 7, 1, 1.6, 90, 2, 2, 3, 9, 0, 0, 0},    {8, 1, 8, 1, 1.6, 90, 4, 0, 4, 9, 0, 0, 0},
    {9, 1, 9, 1, 3, 90, 4, 2, 4, 9, 0, 0, 0},      {10, 1, 10, 1, 1, 90, 6, 0, 0, 4, 0, 5, 0},
    {11, 1, 11, 1, 1, 90, 0, 8, 4, 4, 0, 5, 0},    {12, 1, 12, 1, 1, 90, 4, 4, 6, 4, 0, 5, 0},
    {13, 1, 13, 1, 1, 120, 5, 0, 0, 0, 6, 0, 0},   {14, 1, 14, 1, 1, 120, 5, 5, 8, 0, 6, 0, 0},
    {15, 1, 15, 1, 1, 120, 0, 5, 4, 0, 6, 0, 0},   {16, 1, 16, 1, 1, 120, 5, 0, 0, 5, 2, 0, 4},
    {17, 1, 17, 1, 1, 120, 0, 10, 12, 5, 2, 0, 4}, {18, 2, 6, 1, 1.6, 90, 2, 3, 0, 0, 0, 0, 0},
    {19, 2, 6, 1, 1.6, 90, 2, 0, 3, 0, 0, 0, 0},   {20, 2, 9, 2, 1, 90, 4, 1, 2, 0, 0, 0, 0},
    {21, 2, 6, 1, 1.6, 90, 2, 2, 3, 9, 0, 0, 0}};

TEST(SymmetryDiagram, EveryGroupErasesThenDrawsItsElementsCornersOnTheCircleAndCaption) {
    for (const GroupCase& g : Groups) {
        SCOPED_TRACE(g.group);
        model::Module1 m = Lattice(g.basicGroup, g.a, g.b, g.alpha, g.group);
        const Diagram d = Draw(m, g.group, g.kind);
        const DrawCall& disc = d.calls.front();
        const double cx = g.kind == 1 ? BasicCx : SuperCx;
        EXPECT_TRUE(disc.kind == DrawCall::Kind::Circle && Near({disc.x1, disc.y1}, {cx, Cy}) &&
                    disc.r == R && disc.color == Back && disc.state.fillColor == Back &&
                    disc.state.fillStyle == FillStyle::Solid && disc.state.lineWidth == 20);
        EXPECT_EQ(d.calls[1].state.fillStyle, FillStyle::Transparent);
        EXPECT_EQ(std::tuple(d.Count(Plain), d.Count(Mirror), d.Count(Glide)),
                  std::tuple(g.plain, g.mirror, g.glide));
        EXPECT_EQ(
            std::tuple(d.Count(Rot + 2), d.Count(Rot + 3), d.Count(Rot + 4), d.Count(Rot + 6)),
            std::tuple(g.n2, g.n3, g.n4, g.n6));
        // The outline comes first, edge after edge from P1, its farthest corners at R.
        double farthest = 0;
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(Near(d.segs[i].b, d.segs[(i + 1) % 4].a));
            farthest = std::max(farthest, std::hypot(d.segs[i].a.x - cx, d.segs[i].a.y - Cy));
        }
        EXPECT_NEAR(farthest, R, 1e-6);
        EXPECT_TRUE(d.after.lineWidth == 1 && d.after.lineStyle == LineStyle::Solid &&
                    d.after.fillStyle == FillStyle::Transparent);
        const std::string label = g.group <= 17
                                      ? std::to_string(g.group)
                                      : std::string("3'4'5'7'").substr(2 * g.group - 36, 2);
        EXPECT_EQ(d.caption, (g.kind == 1 ? "Basic lattice [" : "Superlattice [") + label + "]");
    }
}

TEST(SymmetryDiagram, SquareP4mmAndItsUprightSymbolsWhenTheViewTurns) {
    model::Module1 m = Lattice(11, 1, 1, 90);
    const Diagram d = Draw(m, 11, 1);
    // Corners P1..P4 and edge midpoints M12, M23, M34, M41.
    const Pt p[4] = {
        {BasicCx - L, Cy + L}, {BasicCx - L, Cy - L}, {BasicCx + L, Cy - L}, {BasicCx + L, Cy + L}};
    const Pt mid[4] = {Mid(p[0], p[1]), Mid(p[1], p[2]), Mid(p[2], p[3]), Mid(p[3], p[0])};
    std::vector<Seg> want{{Mirror, mid[0], mid[2]},
                          {Mirror, mid[1], mid[3]},
                          {Mirror, p[0], p[2]},
                          {Mirror, p[1], p[3]},
                          {Rot + 4, Mid(p[0], p[2]), Mid(p[0], p[2])}};
    for (int i = 0; i < 4; ++i) {
        want.push_back({Mirror, p[i], p[(i + 1) % 4]});
        want.push_back({Glide, mid[i], mid[(i + 1) % 4]});
        want.push_back({Rot + 4, p[i], p[i]});
        want.push_back({Rot + 2, mid[i], mid[i]});
    }
    EXPECT_EQ(ShapeOf(d.segs), ShapeOf(want));

    m.RotAngle = 30, m.RotCos = std::sqrt(0.75), m.RotSin = 0.5;
    const Diagram turned = Draw(m, 11, 1);
    // P1 = (-l, l) turned: (-l (c + s), l (c - s)) from the centre.
    const Pt q1{BasicCx - L * (std::sqrt(0.75) + 0.5), Cy + L * (std::sqrt(0.75) - 0.5)};
    EXPECT_TRUE(Near(turned.segs[0].a, q1));
    EXPECT_EQ(turned.Count(Rot + 4) + turned.Count(Rot + 2), 9);  // upright and full size
    EXPECT_TRUE(Near(turned.segs[12].a, q1, 0.01));  // after 12 lines, the symbol at P1
}

// The swap relabels the corners of the 2 x 1 rectangle, which turns every
// element by 90 degrees; the mirrors lie a quarter of the cell from its edges.
TEST(SymmetryDiagram, P2mgElementsTurnWithTheAxisSwap) {
    const double l1 = 858.6501033, l2 = 429.3250517;  // 2 * 960 / sqrt 5, 960 / sqrt 5
    for (Long group : {7, 21}) {
        for (bool swap : {false, true}) {
            model::Module1 m = Lattice(6, 2, 1, 90, group);
            m.GroupAxisSwap[group] = swap;
            const Diagram d = Draw(m, group, 2);
            ASSERT_EQ(d.Count(Glide), 3);
            for (const Seg& s : d.segs) {
                const bool vertical = std::fabs(s.a.x - s.b.x) < 1e-6;
                EXPECT_TRUE(s.kind != Glide || vertical != swap) << group;
                if (s.kind != Mirror) continue;
                EXPECT_EQ(vertical, swap) << group;
                EXPECT_NEAR(swap ? std::fabs(s.a.x - SuperCx) : std::fabs(s.a.y - Cy),
                            swap ? l1 / 2 : l2 / 2, 0.01);
            }
        }
    }
}

TEST(SymmetryDiagram, LeftHandedSuperlatticeMirrorsOnlyTheHexagonalRhombus) {
    for (const GroupCase& g : Groups) {
        if (g.group <= 2) continue;  // the oblique cell is not covered by the rule
        SCOPED_TRACE(g.group);
        model::Module1 m = Lattice(g.basicGroup, g.a, g.b, g.alpha, g.group);
        const Diagram right = Draw(m, g.group, 2);
        m.SuperRightHanded = false;
        EXPECT_EQ(ShapeOf(Draw(m, g.group, 2).segs),
                  ShapeOf(right.segs, g.group >= 13 && g.group <= 17));
    }
    // 60 and 120 degrees give mirror images: P1 lower left at 60, upper left at 120.
    model::Module1 m60 = Lattice(16, 1, 1, 60), m120 = Lattice(16, 1, 1, 120);
    const Diagram d60 = Draw(m60, 16, 1), d120 = Draw(m120, 16, 1);
    EXPECT_EQ(ShapeOf(d60.segs), ShapeOf(d120.segs, true));
    EXPECT_TRUE(Near(d60.segs[0].a, {BasicCx - H15, Cy + 480}));
    EXPECT_TRUE(Near(d120.segs[0].a, {BasicCx - H15, Cy - 480}));
}

TEST(SymmetryDiagram, SuperlatticeDiagramTurnsFromTheBasicToTheSuperlatticeReference) {
    model::Module1 m = Lattice(11, 1, 1, 90);
    Draw(m, 11, 2);
    EXPECT_TRUE(m.SymCos == 1 && m.SymSin == 0);
    // cm on c2mm 2 x 1: u = (1, 0), b1 = (1, -0.5), b2 = (1, 0.5), b1.b2 > 0, so
    // axis 1 takes 2 b1 - b2 = (1, -1.5), axis 2 takes 2 b2 - b1 = (1, 1.5).
    const double c = 1 / std::sqrt(3.25), s = 1.5 / std::sqrt(3.25);
    for (auto [axis, symCos, symSin] : {std::tuple{0, 1.0, 0.0}, {1, c, s}, {2, c, -s}}) {
        model::Module1 cm = Lattice(9, 2, 1, 90, 5);
        cm.CentredAxis = axis;
        Draw(cm, 5, 2);
        EXPECT_NEAR(cm.SymCos, symCos, 1e-9) << axis;
        EXPECT_NEAR(cm.SymSin, symSin, 1e-9) << axis;
    }
}

TEST(SymmetryDiagram, DegenerateInputDrawsNoUndefinedCoordinates) {
    for (double bad : {0.0, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL})
        for (Long group = 0; group <= 22; ++group)
            for (Long kind : {1, 2}) {
                model::Module1 m = Lattice(11, 1, 1, 90, group);
                m.A1X = m.A1Y = m.A2X = m.A2Y = m.B1X = m.B1Y = m.B2X = m.B2Y = bad;
                const Diagram d = Draw(m, group, kind);
                for (const DrawCall& c : d.calls)
                    EXPECT_TRUE(std::isfinite(c.x1 + c.y1 + c.x2 + c.y2)) << bad << " " << group;
                EXPECT_TRUE(std::isfinite(m.SymCos) && std::isfinite(m.SymSin));
                EXPECT_TRUE(d.after.lineWidth == 1 && d.after.lineStyle == LineStyle::Solid);
                EXPECT_TRUE((group > 0 && group < 22) || d.calls.size() == 1)
                    << group;  // the disc only
            }
}

}  // namespace
}  // namespace quorvex::render
