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
constexpr double L = 678.8225099;                       // square: 960 / sqrt 2
constexpr double H15 = 831.3843876, H05 = 277.1281292;  // hexagonal: 1.5 h and 0.5 h
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
Pt Q(Pt a, Pt b) {
    return {a.x + (b.x - a.x) / 4, a.y + (b.y - a.y) / 4};
}

enum Kind { Plain, Mirror, Glide };
struct Seg {
    int kind;  // Kind, or the order n of a rotation symbol centred at a
    Pt a, b;
};

// Vertex offsets of the rotation symbols (y downward); a symbol is a closed
// black path of width 2 through them, starting at its top vertex.
const double W = 77.9422863;
const std::vector<std::pair<int, std::vector<Pt>>> Shapes{
    {2, {{0, -90}, {45, 0}, {0, 90}, {-45, 0}}},
    {3, {{0, -90}, {W, 45}, {-W, 45}}},
    {4, {{0, -90}, {90, 0}, {0, 90}, {-90, 0}}},
    {6, {{0, -90}, {W, -45}, {W, 45}, {0, 90}, {-W, 45}, {-W, -45}}}};

struct Diagram {
    std::vector<Seg> lines, symbols;
    std::vector<DrawCall> calls;
    std::string caption;
    platform::DrawState after;
    int Count(const std::vector<Seg>& v, int k) const {
        return static_cast<int>(
            std::count_if(v.begin(), v.end(), [k](auto& s) { return s.kind == k; }));
    }
};

Diagram Draw(model::Module1& m, Long group, Long kind) {
    RecordingSurface s(Back);
    s.SetLineStyle(LineStyle::Dotted);  // whatever a previous drawing left behind
    s.SetLineWidth(5);
    Diagram d{{}, {}, {}, DrawSymmetryElements(m, s, group, kind), s.State()};
    d.calls = s.calls;
    const auto lines = s.Of(DrawCall::Kind::Line);
    for (std::size_t i = 0; i < lines.size();) {
        const Pt c{lines[i].x1, lines[i].y1 + 90};
        int found = 0;
        for (const auto& [n, v] : Shapes) {
            bool ok = i + v.size() <= lines.size();
            for (std::size_t j = 0; ok && j < v.size(); ++j) {
                const DrawCall& k = lines[i + j];
                const Pt to = v[(j + 1) % v.size()];
                ok = k.state.lineWidth == 2 && k.color == 0 &&
                     Near({k.x1 - c.x, k.y1 - c.y}, v[j], 0.01) &&
                     Near({k.x2 - c.x, k.y2 - c.y}, to, 0.01);
            }
            if (ok) found = n, i += v.size();
        }
        if (found) {
            d.symbols.push_back({found, c, c});
            continue;
        }
        const DrawCall& k = lines[i++];
        const bool dotted = k.state.lineStyle == LineStyle::Dotted;
        EXPECT_TRUE(k.state.lineWidth == 1 || (k.state.lineWidth == 2 && !dotted));
        EXPECT_TRUE(d.symbols.empty()) << "cell line after a rotation symbol";
        EXPECT_EQ(k.color, kind == 2 ? model::RGB(0, 0, 255) : 0);
        d.lines.push_back({dotted                   ? Glide
                           : k.state.lineWidth == 2 ? Mirror
                                                    : Plain,
                           {k.x1, k.y1},
                           {k.x2, k.y2}});
    }
    return d;
}

model::Module1 Lattice(Long basicGroup, double a, double b, double alpha, Long superGroup = 0) {
    model::Module1 m;
    model::FillTables(m);
    m.LatticeA = a, m.LatticeB = b, m.LatticeAlpha = alpha;
    m.BasicGroup = basicGroup;
    m.SuperGroup = superGroup ? superGroup : basicGroup;
    m.M11 = 1, m.M12 = 0, m.M21 = 0, m.M22 = 1;
    m.SuperRightHanded = true;
    model::ComputeBasicVectors(m);
    model::ComputeSuperVectors(m);
    return m;
}

// Appends the segments of a connected path of one kind.
void Path(std::vector<Seg>& out, int kind, std::initializer_list<Pt> pts) {
    for (auto p = pts.begin(); p + 1 != pts.end(); ++p) out.push_back({kind, p[0], p[1]});
}

void ExpectSegs(const std::vector<Seg>& got, const std::vector<Seg>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_TRUE(got[i].kind == want[i].kind && Near(got[i].a, want[i].a, 0.01) &&
                    Near(got[i].b, want[i].b, 0.01))
            << i << ": " << got[i].kind << " (" << got[i].a.x << ", " << got[i].a.y << ")";
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

TEST(SymmetryDiagram, EveryGroupErasesThenDrawsItsElementsWithCornersOnTheCircle) {
    for (const GroupCase& g : Groups) {
        SCOPED_TRACE(g.group);
        model::Module1 m = Lattice(g.basicGroup, g.a, g.b, g.alpha, g.group);
        const Diagram d = Draw(m, g.group, g.kind);
        const DrawCall& disc = d.calls.front();
        const double cx = g.kind == 1 ? BasicCx : SuperCx;
        EXPECT_TRUE(disc.kind == DrawCall::Kind::Circle && Near({disc.x1, disc.y1}, {cx, Cy}) &&
                    disc.r == R);
        EXPECT_TRUE(disc.color == Back && disc.state.fillColor == Back);
        EXPECT_TRUE(disc.state.fillStyle == FillStyle::Solid && disc.state.lineWidth == 20);
        EXPECT_EQ(d.calls[1].state.fillStyle, FillStyle::Transparent);
        EXPECT_EQ(
            std::tuple(d.Count(d.lines, Plain), d.Count(d.lines, Mirror), d.Count(d.lines, Glide)),
            std::tuple(g.plain, g.mirror, g.glide));
        EXPECT_EQ(std::tuple(d.Count(d.symbols, 2), d.Count(d.symbols, 3), d.Count(d.symbols, 4),
                             d.Count(d.symbols, 6)),
                  std::tuple(g.n2, g.n3, g.n4, g.n6));
        // The outline comes first, edge after edge from P1, its farthest corners at R.
        double farthest = 0;
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(Near(d.lines[i].b, d.lines[(i + 1) % 4].a));
            farthest = std::max(farthest, std::hypot(d.lines[i].a.x - cx, d.lines[i].a.y - Cy));
        }
        EXPECT_NEAR(farthest, R, 1e-6);
        EXPECT_TRUE(d.after.lineWidth == 1 && d.after.lineStyle == LineStyle::Solid &&
                    d.after.fillStyle == FillStyle::Transparent);
    }
}

TEST(SymmetryDiagram, SquareP4mm) {
    model::Module1 m = Lattice(11, 1, 1, 90);
    const Diagram d = Draw(m, 11, 1);
    const Pt p1{BasicCx - L, Cy + L}, p2{BasicCx - L, Cy - L}, p3{BasicCx + L, Cy - L},
        p4{BasicCx + L, Cy + L};
    const Pt m12 = Mid(p1, p2), m23 = Mid(p2, p3), m34 = Mid(p3, p4), m41 = Mid(p4, p1);
    std::vector<Seg> want, symbols;
    Path(want, Mirror, {p1, p2, p3, p4, p1});
    for (auto [a, b] : {std::pair{m12, m34}, {m23, m41}, {p1, p3}, {p2, p4}})
        Path(want, Mirror, {a, b});
    for (auto [a, b] : {std::pair{m12, m23}, {m12, m41}, {m34, m23}, {m34, m41}})
        Path(want, Glide, {a, b});
    ExpectSegs(d.lines, want);
    for (Pt p : {p1, p2, p3, p4, Mid(p1, p3)}) symbols.push_back({4, p, p});
    for (Pt p : {m12, m23, m34, m41}) symbols.push_back({2, p, p});
    ExpectSegs(d.symbols, symbols);
    EXPECT_EQ(d.caption, "Basic lattice [11]");
}

// A 2 x 1 rectangle: l1 = 2 * 960 / sqrt 5, l2 = 960 / sqrt 5. The swap relabels
// the corners (P1 takes P2 and so on), which turns every element by 90 degrees.
TEST(SymmetryDiagram, P2mgGlidesMoveToTheOtherEdgesWithTheAxisSwap) {
    const double l1 = 858.6501033, l2 = 429.3250517;
    const Pt c1{SuperCx - l1, Cy + l2}, c2{SuperCx - l1, Cy - l2}, c3{SuperCx + l1, Cy - l2},
        c4{SuperCx + l1, Cy + l2};
    for (Long group : {7, 21}) {
        for (bool swap : {false, true}) {
            model::Module1 m = Lattice(6, 2, 1, 90, group);
            m.GroupAxisSwap[group] = swap;
            const Diagram d = Draw(m, group, 2);
            const Pt p1 = swap ? c2 : c1, p2 = swap ? c3 : c2, p3 = swap ? c4 : c3,
                     p4 = swap ? c1 : c4;
            std::vector<Seg> want;
            Path(want, Glide, {p1, p2});
            Path(want, Plain, {p2, p3});
            Path(want, Glide, {p3, p4});
            Path(want, Plain, {p4, p1});
            Path(want, Glide, {Mid(p2, p3), Mid(p4, p1)});
            Path(want, Mirror, {Q(p1, p2), Q(p4, p3)});
            Path(want, Mirror, {Q(p2, p1), Q(p3, p4)});
            ExpectSegs(d.lines, want);
            // Glides along t2 (vertical) unswapped, along t1 swapped.
            EXPECT_EQ(std::fabs(d.lines[0].a.x - d.lines[0].b.x) < 1e-6, !swap);
        }
    }
}

// Hexagonal vectors at 120 degrees: k h = -480, so P1 lies upper left.
TEST(SymmetryDiagram, HexagonalP3m1AndP6mm) {
    const Pt p1{BasicCx - H15, Cy - 480}, p2{BasicCx - H05, Cy + 480}, p3{BasicCx + H15, Cy + 480},
        p4{BasicCx + H05, Cy - 480};
    const Pt m12 = Mid(p1, p2), m23 = Mid(p2, p3), m34 = Mid(p3, p4), m41 = Mid(p4, p1);
    for (Long group : {14, 17}) {
        model::Module1 m = Lattice(group, 1, 1, 120);
        const Diagram d = Draw(m, group, 1);
        const int outline = group == 14 ? Plain : Mirror;
        std::vector<Seg> want;
        Path(want, outline, {p1, p2, p3, p4, p1});
        Path(want, outline, {p2, p4});
        for (auto [a, b] : {std::pair{m12, p4}, {m23, p4}, {m34, p2}, {m41, p2}, {p1, p3}})
            Path(want, Mirror, {a, b});
        for (auto [a, b] : {std::pair{Q(p1, p4), m12},
                            {Q(p4, p1), Q(p2, p3)},
                            {Q(p3, p2), m34},
                            {Q(p1, p2), m41},
                            {Q(p2, p1), Q(p4, p3)},
                            {Q(p3, p4), m23}})
            Path(want, Glide, {a, b});
        if (group == 14) {
            Path(want, Glide, {m12, m23});
            Path(want, Glide, {m34, m41});
        } else {
            Path(want, Glide, {m41, m23});
            Path(want, Glide, {m12, m23, m34, m41, m12, m34});
        }
        ExpectSegs(d.lines, want);
        const Pt g1{(2 * p1.x + p3.x) / 3, (2 * p1.y + p3.y) / 3};
        EXPECT_TRUE(d.symbols.at(4).kind == 3 && Near(d.symbols[4].a, g1, 0.01));
    }
}

// Segments and symbols as a set, optionally mirrored top to bottom.
std::set<std::tuple<int, long, long, long, long>> Shape(const Diagram& d, bool mirror) {
    std::set<std::tuple<int, long, long, long, long>> out;
    for (const auto* v : {&d.lines, &d.symbols})
        for (Seg s : *v) {
            if (mirror) s.a.y = 2 * Cy - s.a.y, s.b.y = 2 * Cy - s.b.y;
            if (std::tie(s.a.x, s.a.y) > std::tie(s.b.x, s.b.y)) std::swap(s.a, s.b);
            out.insert({s.kind, std::lround(s.a.x * 100), std::lround(s.a.y * 100),
                        std::lround(s.b.x * 100), std::lround(s.b.y * 100)});
        }
    return out;
}

TEST(SymmetryDiagram, LeftHandedSuperlatticeMirrorsOnlyTheHexagonalRhombus) {
    for (const GroupCase& g : Groups) {
        if (g.group <= 2) continue;  // the oblique cell is not covered by the rule
        SCOPED_TRACE(g.group);
        model::Module1 m = Lattice(g.basicGroup, g.a, g.b, g.alpha, g.group);
        const Diagram right = Draw(m, g.group, 2);
        m.SuperRightHanded = false;
        EXPECT_EQ(Shape(Draw(m, g.group, 2), false), Shape(right, g.group >= 13 && g.group <= 17));
    }
    // At 60 degrees the same cell as at 120 degrees, mirrored: P1 lower left.
    model::Module1 m60 = Lattice(16, 1, 1, 60), m120 = Lattice(16, 1, 1, 120);
    const Diagram d60 = Draw(m60, 16, 1);
    EXPECT_EQ(Shape(d60, false), Shape(Draw(m120, 16, 1), true));
    EXPECT_TRUE(Near(d60.lines[0].a, {BasicCx - H15, Cy + 480}));
}

TEST(SymmetryDiagram, SymbolsStayUprightWhenTheViewTurns) {
    model::Module1 m = Lattice(11, 1, 1, 90);
    m.RotAngle = 30, m.RotCos = std::sqrt(0.75), m.RotSin = 0.5;
    const Diagram d = Draw(m, 11, 1);
    // P1 = (-l, l) turned: (-l (c + s), l (c - s)) from the centre.
    const Pt p1{BasicCx - L * (std::sqrt(0.75) + 0.5), Cy + L * (std::sqrt(0.75) - 0.5)};
    EXPECT_TRUE(Near(d.lines[0].a, p1));
    ASSERT_EQ(d.symbols.size(), 9u);  // recognised only upright and of full size
    EXPECT_TRUE(Near(d.symbols[0].a, p1, 0.01));
}

TEST(SymmetryDiagram, SuperlatticeDiagramTurnsFromTheBasicToTheSuperlatticeReference) {
    model::Module1 m = Lattice(11, 1, 1, 90);
    Draw(m, 11, 2);
    EXPECT_TRUE(m.SymCos == 1 && m.SymSin == 0);
    m.M11 = 1, m.M12 = 1, m.M21 = -1, m.M22 = 1;  // (r2 x r2)R45: b1 up and to the right
    model::ComputeSuperVectors(m);
    Draw(m, 11, 2);
    EXPECT_NEAR(m.SymCos, std::sqrt(0.5), 1e-6);  // alpha 90 is not exact
    EXPECT_NEAR(m.SymSin, -std::sqrt(0.5), 1e-6);
    // c2mm 2 x 1 under cm: u = (1, 0), b1 = (1, -0.5), b2 = (1, 0.5), b1.b2 > 0, so
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

TEST(SymmetryDiagram, Captions) {
    for (auto [group, kind, caption] : {std::tuple{1, 1, "Basic lattice [1]"},
                                        {7, 2, "Superlattice [7]"},
                                        {17, 2, "Superlattice [17]"},
                                        {18, 2, "Superlattice [3']"},
                                        {19, 2, "Superlattice [4']"},
                                        {20, 2, "Superlattice [5']"},
                                        {21, 2, "Superlattice [7']"}}) {
        model::Module1 m = Lattice(6, 1, 2, 90);
        EXPECT_EQ(Draw(m, group, kind).caption, caption);
    }
}

TEST(SymmetryDiagram, RotationSymbolOfAnUnknownOrderDrawsNothing) {
    for (Long n : {0, 1, 5, 8}) {
        RecordingSurface other;
        other.SetLineWidth(3);
        DrawRotationSymbol(other, 0, 0, n);
        EXPECT_TRUE(other.calls.empty() && other.State().lineWidth == 1) << n;
    }
}

TEST(SymmetryDiagram, DegenerateInputDrawsNoUndefinedCoordinates) {
    for (double bad : {0.0, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL}) {
        for (Long group = 0; group <= 22; ++group) {
            for (Long kind : {1, 2}) {
                model::Module1 m = Lattice(11, 1, 1, 90, group);
                m.A1X = m.A1Y = m.A2X = m.A2Y = m.B1X = m.B1Y = m.B2X = m.B2Y = bad;
                const Diagram d = Draw(m, group, kind);
                for (const DrawCall& c : d.calls)
                    EXPECT_TRUE(std::isfinite(c.x1 + c.y1 + c.x2 + c.y2)) << bad << " " << group;
                EXPECT_TRUE(std::isfinite(m.SymCos) && std::isfinite(m.SymSin));
                EXPECT_TRUE(d.after.lineWidth == 1 && d.after.lineStyle == LineStyle::Solid &&
                            d.after.fillStyle == FillStyle::Transparent);
                if (group == 0 || group == 22) {
                    EXPECT_EQ(d.calls.size(), 1u);  // the erasing disc only
                }
            }
        }
    }
}

}  // namespace
}  // namespace quorvex::render
