#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "model/Pattern.h"
#include "model/PointOperations.h"
#include "render/SymmetryDiagram.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using model::Int32;
using model::Vec2;
using testing::DrawCall;
using testing::FillStyle;
using testing::LineStyle;
using testing::RecordingSurface;

constexpr double R = 960, BasicCx = 6480, SuperCx = 8640, Cy = 1800;
const model::Rgb Back = model::RGB(12, 34, 56);

bool Near(Vec2 a, Vec2 b, double eps = 1e-6) {
    return std::fabs(a.x - b.x) < eps && std::fabs(a.y - b.y) < eps;
}

// Cell lines are Plain, Mirror or Glide; a rotation symbol of order n centred at
// a has the kind Rot + n.
enum Kind { Plain, Mirror, Glide, Rot = 10 };
struct Seg {
    int kind;
    Vec2 a, b;
};

struct Diagram {
    std::vector<Seg> segs;  // the cell lines in drawing order, then the symbols
    std::vector<DrawCall> calls;
};

// A rotation symbol is a closed black path of width 2 through these offsets
// (y down) from its centre, from its top vertex: upright and of full size.
const double W = 77.9422863;
const std::vector<std::pair<int, std::vector<Vec2>>> Shapes{
    {2, {{0, -90}, {45, 0}, {0, 90}, {-45, 0}}},
    {3, {{0, -90}, {W, 45}, {-W, 45}}},
    {4, {{0, -90}, {90, 0}, {0, 90}, {-90, 0}}},
    {6, {{0, -90}, {W, -45}, {W, 45}, {0, 90}, {-W, 45}, {-W, -45}}}};

// The order of the symbol whose path starts at lines[i], or 0.
int SymbolAt(const std::vector<DrawCall>& lines, std::size_t i) {
    const Vec2 c{lines[i].x1, lines[i].y1 + 90};
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

// Reads back the cell lines and the rotation symbols of a drawn diagram, and
// checks that it leaves the surface solid, thin and unfilled.
Diagram Parse(const RecordingSurface& s, model::Rgb colour) {
    Diagram d{{}, s.calls};
    const auto lines = s.Of(DrawCall::Kind::Line);
    for (std::size_t i = 0; i < lines.size();) {
        const DrawCall& k = lines[i];
        if (const int n = SymbolAt(lines, i)) {
            d.segs.push_back({Rot + n, {k.x1, k.y1 + 90}, {k.x1, k.y1 + 90}});
            i += n == 2 ? 4 : n;
            continue;
        }
        ++i;
        const bool dotted = k.state.lineStyle == LineStyle::Dotted, wide = k.state.lineWidth == 2;
        EXPECT_TRUE(k.state.lineWidth == 1 || (wide && !dotted));
        EXPECT_TRUE(d.segs.empty() || d.segs.back().kind < Rot) << "line after a symbol";
        EXPECT_EQ(k.color, colour);
        d.segs.push_back({dotted ? Glide : wide ? Mirror : Plain, {k.x1, k.y1}, {k.x2, k.y2}});
    }
    EXPECT_TRUE(s.State().lineWidth == 1 && s.State().lineStyle == LineStyle::Solid &&
                s.State().fillStyle == FillStyle::Transparent);
    return d;
}

// A surface left dotted and wide by whatever was drawn before.
struct UsedSurface : RecordingSurface {
    UsedSurface() : RecordingSurface(Back) {
        SetLineStyle(LineStyle::Dotted);
        SetLineWidth(5);
    }
};

model::CellVectors Cell(Int32 basicGroup, double a, double b, double alpha) {
    model::Structure st;
    st.basicGroup = basicGroup, st.a = a, st.b = b, st.alpha = alpha;
    return model::ComputeCellVectors(st);
}

// The superlattice diagram of `group` on the identity matrix over the basic cell.
Diagram Super(Int32 group, Int32 basicGroup, double a, double b, double alpha, bool swap = false,
              bool rightHanded = true) {
    UsedSurface s;
    DrawSuperDiagram(
        s, {group, basicGroup, Cell(basicGroup, a, b, alpha), 1, 0, 0, rightHanded, swap});
    return Parse(s, model::kBlue);
}

// The cell of each group: 1..17 drawn as basic diagrams, the turned settings
// as superlattices of an identity matrix over the basic group named.
struct GroupCase {
    Int32 group, basicGroup;
    double a, b, alpha;
    bool super() const { return group > model::kBasicGroupCount; }
    Diagram Draw() const {
        if (super()) return Super(group, basicGroup, a, b, alpha);
        const model::CellVectors v = Cell(group, a, b, alpha);
        UsedSurface s;
        DrawBasicDiagram(s, group, v.a1, v.a2, model::ViewSettings{});
        return Parse(s, model::kBlack);
    }
};
// {group, basic group, a, b, alpha}
const std::vector<GroupCase> Groups = {
    {1, 1, 1, 1.3, 70},  {2, 2, 1, 1.3, 130}, {3, 3, 1, 1.6, 90},  {4, 4, 1, 1.6, 90},
    {5, 5, 2, 1, 90},    {6, 6, 1, 1.6, 90},  {7, 7, 1, 1.6, 90},  {8, 8, 1, 1.6, 90},
    {9, 9, 1, 3, 90},    {10, 10, 1, 1, 90},  {11, 11, 1, 1, 90},  {12, 12, 1, 1, 90},
    {13, 13, 1, 1, 120}, {14, 14, 1, 1, 120}, {15, 15, 1, 1, 120}, {16, 16, 1, 1, 120},
    {17, 17, 1, 1, 120}, {18, 6, 1, 1.6, 90}, {19, 6, 1, 1.6, 90}, {20, 9, 2, 1, 90},
    {21, 6, 1, 1.6, 90}};

TEST(SymmetryDiagram, EveryGroupErasesThenDrawsItsElementsWithCornersOnTheCircle) {
    for (const GroupCase& g : Groups) {
        SCOPED_TRACE(g.group);
        const Diagram d = g.Draw();
        const DrawCall& disc = d.calls.front();
        const double cx = g.super() ? SuperCx : BasicCx;
        EXPECT_TRUE(disc.kind == DrawCall::Kind::Circle && Near({disc.x1, disc.y1}, {cx, Cy}) &&
                    disc.r == R && disc.color == Back && disc.state.fillColor == Back &&
                    disc.state.fillStyle == FillStyle::Solid && disc.state.lineWidth == 20);
        // The outline comes first, edge after edge from P1, its farthest corners at R.
        double farthest = 0;
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(Near(d.segs[i].b, d.segs[(i + 1) % 4].a));
            farthest = std::max(farthest, std::hypot(d.segs[i].a.x - cx, d.segs[i].a.y - Cy));
        }
        EXPECT_NEAR(farthest, R, 1e-6);
        // A left-handed superlattice mirrors the cell top to bottom, which shows on
        // the hexagonal rhombus alone.
        if (g.group <= 2) continue;  // the oblique cell is not covered by the rule
        const Diagram right = Super(g.group, g.basicGroup, g.a, g.b, g.alpha);
        const Diagram left = Super(g.group, g.basicGroup, g.a, g.b, g.alpha, false, false);
        ASSERT_EQ(left.segs.size(), right.segs.size());
        const auto image = [](Vec2 p) { return Vec2{p.x, 2 * Cy - p.y}; };
        for (std::size_t i = 0; i < left.segs.size(); ++i) {
            const Seg &l = left.segs[i], &r = right.segs[i];
            EXPECT_TRUE(l.kind == r.kind && Near(l.a, image(r.a)) && Near(l.b, image(r.b))) << i;
        }
    }
    EXPECT_EQ(BasicDiagramTitle(7), "Basic lattice [7]");
}

// The drawn elements against the point operations of the group, with the cell
// as the operations see it (a1 along x; the diagram's y axis points down): a
// mirror or glide line runs along a direction some reflection of the group
// fixes, every reflection has such a line, and the rotation symbols show the
// orders of the group's rotations. The glide extinctions of a substrate follow:
// a glide line along a basis vector and no mirror along it.
TEST(SymmetryDiagram, ElementsAgreeWithThePointOperationsAndTheGlideExtinctions) {
    for (Int32 group = 1; group <= model::kBasicGroupCount; ++group) {
        SCOPED_TRACE(group);
        const GroupCase& g = Groups[group - 1];
        std::set<Int32> reflections, reflectionsDrawn;
        std::set<int> orders, ordersDrawn;
        for (Int32 code : model::GroupOperations(group)) {
            const Vec2 x = model::ApplyPointOperation(code, {1, 0});
            if (model::Cross(x, model::ApplyPointOperation(code, {0, 1})) < 0) {
                reflections.insert(code);
                continue;
            }
            int n = 1;
            for (Vec2 v = x; !Near(v, {1, 0}, 1e-9) && n <= 6; ++n)
                v = model::ApplyPointOperation(code, v);
            orders.insert(n);
        }
        const model::CellVectors cell = Cell(group, g.a, g.b, g.alpha);
        bool glideAlong[2] = {}, mirrorAlong[2] = {};
        for (const Seg& s : g.Draw().segs) {
            if (s.kind >= Rot) ordersDrawn.insert(s.kind - Rot);
            if (s.kind != Mirror && s.kind != Glide) continue;
            const double length = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
            const Vec2 d{(s.b.x - s.a.x) / length, (s.a.y - s.b.y) / length};
            Int32 fixedBy = 0;
            for (Int32 code : reflections)
                if (Near(model::ApplyPointOperation(code, d), d, 1e-9)) fixedBy = code;
            EXPECT_NE(fixedBy, 0) << (s.kind == Mirror ? "mirror" : "glide") << " along " << d.x
                                  << " " << d.y;
            reflectionsDrawn.insert(fixedBy);
            const Vec2 axes[] = {cell.a1, cell.a2};
            for (const int i : {0, 1})
                if (std::abs(model::Cross(d, axes[i])) < 1e-6 * std::hypot(axes[i].x, axes[i].y))
                    (s.kind == Glide ? glideAlong : mirrorAlong)[i] = true;
        }
        EXPECT_EQ(reflectionsDrawn, reflections);
        EXPECT_EQ(ordersDrawn, orders);
        EXPECT_EQ(model::SubstrateGlides(group), (model::Glides{glideAlong[0] && !mirrorAlong[0],
                                                                glideAlong[1] && !mirrorAlong[1]}));
    }
}

// The swap relabels the corners of the 2 x 1 rectangle, which turns every
// element by 90 degrees; the mirrors lie a quarter of the cell from its edges.
TEST(SymmetryDiagram, P2mgElementsTurnWithTheAxisSwap) {
    const double l1 = 858.6501033, l2 = 429.3250517;  // 2 * 960 / sqrt 5, 960 / sqrt 5
    for (Int32 group : {model::kP2mg, model::kP2mgTurned})
        for (bool swap : {false, true}) {
            const Diagram d = Super(group, model::kP2mm, 2, 1, 90, swap);
            ASSERT_EQ(std::ranges::count(d.segs, Glide, &Seg::kind), 3);
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

}  // namespace
}  // namespace quorvex::render
