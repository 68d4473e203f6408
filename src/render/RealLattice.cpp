// The real-space lattice box: the substrate net with its thick basis vectors,
// the superlattice dots with their thin ones, and the refusal of a superlattice
// too large to draw.
#include "render/RealLattice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "model/FormLayout.h"
#include "render/ClippedLine.h"
#include "render/PatternDrawing.h"
#include "render/ParallelLines.h"
#include "render/PixelLattice.h"

namespace quorvex::render {

namespace {

using platform::FillStyle;
using platform::Surface;

// Lines of the net each side of the centre drawn one by one, in the loops'
// order, on a surface without pixels; beyond it one per distinct picture at
// the window's pixel size.
constexpr double kRecordedLines = 1 << 20;
constexpr double kWindowPixelTwips = 15;

// Net lines reaching further than this many rows (vectors parallel, or a
// scale near nothing) are shortened to it, which still reaches far past the
// box and keeps their end points finite.
constexpr double kMaxReach = 1e300;

// floor(extent / spacing) lattice rows each side of the origin, infinite for
// a spacing of nothing; none when the quotient is NaN (degenerate vectors or
// scale).
std::optional<double> RowCount(double extent, double spacing) {
    const double rows = std::floor(extent / spacing);
    if (std::isnan(rows)) return std::nullopt;
    return rows;
}

// |ex + ey| or |ex - ey|, whichever is greater: |ex| + |ey|.
double RowSpacing(double ex, double ey) {
    double d = std::abs(ex + ey);
    if (std::abs(ex - ey) > d) d = std::abs(ex - ey);
    return d;
}

struct LatticeBox {
    double cx, cy, scale;
    double left, right, top, bottom;

    double X(double x) const { return cx + scale * x; }
    double Y(double y) const { return cy - scale * y; }
};

void ClippedLine(Surface& s, const LatticeBox& box, double x1, double y1, double x2, double y2,
                 model::Rgb colour) {
    DrawClippedLine(s, x1, y1, x2, y2, box.left, box.right, box.top, box.bottom, colour);
}

// The net of the substrate: the lines parallel to t2 through k*t1, then those
// parallel to t1 through k*t2, each reaching one row beyond the counted ones.
// Only lines that reach the box are drawn, and on a surface with pixels each
// distinct picture of a line once (they are all of one colour and pen).
void DrawNet(Surface& s, const LatticeBox& box, double t1x, double t1y,
             double t2x, double t2y, double n1, double n2, model::Rgb colour) {
    const double reach1 = std::clamp(n1 + 1, -kMaxReach, kMaxReach);
    const double reach2 = std::clamp(n2 + 1, -kMaxReach, kMaxReach);
    const LineFamily families[2] = {
        {box.cx, box.cy, box.scale, t1x, t1y, t2x, t2y, reach1, reach2},
        {box.cx, box.cy, box.scale, t2x, t2y, t1x, t1y, reach2, reach1}};
    const ClipBox clip{box.left, box.right, box.top, box.bottom};

    auto line = [&](const LineFamily& f, double k) {
        const platform::Segment seg = f.At(k);
        ClippedLine(s, box, seg.x1, seg.y1, seg.x2, seg.y2, colour);
    };

    if (StraightforwardLoops()) {
        for (const LineFamily& f : families)
            for (double k = -std::min(f.reach, kIndexLimit); k <= std::min(f.reach, kIndexLimit);
                 ++k)
                line(f, k);
        return;
    }
    const double pixel = s.PixelTwips();
    if (pixel == 0) {
        std::optional<LineSpan> spans[2];
        bool few = true;
        for (int i = 0; i < 2; ++i) {
            spans[i] = LinesReaching(families[i], clip);
            few = few && spans[i] && spans[i]->Count() <= kRecordedLines &&
                  std::max(std::abs(spans[i]->lo), std::abs(spans[i]->hi)) <= kIndexLimit;
        }
        if (few) {
            for (int i = 0; i < 2; ++i)
                for (double k = spans[i]->lo; k <= spans[i]->hi; ++k) line(families[i], k);
            return;
        }
    }
    const double grid = pixel > 0 ? pixel : kWindowPixelTwips;
    std::vector<platform::Segment> lines;
    for (const LineFamily& f : families) DistinctClippedLines(f, clip, grid, lines);
    // Both directions are one drawing: a line of the one that lands on the
    // pixels of a line of the other is drawn once.
    auto key = [grid](const platform::Segment& l) {
        return std::array<int, 4>{
            platform::PixelIndex(l.x1, grid), platform::PixelIndex(l.y1, grid),
            platform::PixelIndex(l.x2, grid), platform::PixelIndex(l.y2, grid)};
    };
    std::stable_sort(lines.begin(), lines.end(),
                     [&](const auto& a, const auto& b) { return key(a) < key(b); });
    lines.erase(std::unique(lines.begin(), lines.end(),
                            [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                lines.end());
    s.Lines(lines, colour);
}

// The superlattice points, each a filled dot that lies wholly inside the box
// (strict tests: a dot touching an edge is left out).
void DrawDots(Surface& s, const LatticeBox& box, double t1x, double t1y, double t2x, double t2y,
              double n1, double n2, double r, model::Rgb colour) {
    const PlacedLattice lattice{box.cx, box.cy, box.scale, t1x, t1y, t2x, t2y};
    PointRule rule;
    rule.hmax = n1;
    rule.kmax = n2;
    rule.left = box.left + r;
    rule.right = box.right - r;
    rule.top = box.top + r;
    rule.bottom = box.bottom - r;
    DrawLatticePoints(s, lattice, rule, r, colour, PointOrder::Dots);
}

void DrawFrame(Surface& s, double left, double top, double right, double bottom,
               model::Rgb colour) {
    s.Line(left, top, left, bottom, colour);
    s.Line(left, bottom, right, bottom, colour);
    s.Line(right, bottom, right, top, colour);
    s.Line(right, top, left, top, colour);
}

}  // namespace

void DrawRealLattice(Surface& s, const LatticeDrawing& d) {
    const double t1x = d.t1.x, t1y = d.t1.y, t2x = d.t2.x, t2y = d.t2.y;
    const model::Rgb colour = d.colour;
    const bool substrate = d.kind == LatticeKind::SubstrateNet;
    const double a11 = t1x * t1x + t1y * t1y;
    const double a22 = t2x * t2x + t2y * t2y;
    const double a12 = t1x * t2x + t1y * t2y;
    // The parts of t1 and t2 perpendicular to the other vector: the row spacings.
    const double e1x = t1x - (a12 / a22) * t2x;
    const double e1y = t1y - (a12 / a22) * t2y;
    const double e2x = t2x - (a12 / a11) * t1x;
    const double e2y = t2y - (a12 / a11) * t1y;
    const model::Box& area = model::kLatticeBox;
    const double extent = area.width / d.scale;
    const std::optional<double> n1 = RowCount(extent, RowSpacing(e1x, e1y));
    const std::optional<double> n2 = RowCount(extent, RowSpacing(e2x, e2y));

    const LatticeBox box{area.CentreX(), area.CentreY(), d.scale,     area.left,
                         area.Right(),   area.top,      area.Bottom()};

    if (substrate) s.SetLineWidth(3);
    ClippedLine(s, box, box.cx, box.cy, box.X(t1x), box.Y(t1y), colour);
    ClippedLine(s, box, box.cx, box.cy, box.X(t2x), box.Y(t2y), colour);

    s.SetFillColor(colour);
    s.SetFillStyle(FillStyle::Solid);
    s.SetLineWidth(1);

    if (!n1 || !n2) return;
    if (substrate)
        DrawNet(s, box, t1x, t1y, t2x, t2y, *n1, *n2, colour);
    else
        DrawDots(s, box, t1x, t1y, t2x, t2y, *n1, *n2, d.dotRadius, colour);
}

void ShowSuperlatticeTooLarge(Surface& s) {
    const model::Box& lattice = model::kLatticeBox;
    const model::Box& pattern = model::kPatternBox;
    s.FilledRectangle(lattice.left, lattice.top, lattice.Right(), lattice.Bottom(), model::kWhite);
    // The frame ends at the top-left corner, where the message is printed.
    DrawFrame(s, lattice.left, lattice.top, lattice.Right(), lattice.Bottom(), model::kBlack);
    s.SetTextColor(model::kRed);
    s.Print("Superlattice too large");

    s.FilledRectangle(pattern.left, pattern.top, pattern.Right(), pattern.Bottom(), model::kBlack);
    DrawFrame(s, pattern.left, pattern.top, pattern.Right(), pattern.Bottom(), model::kWhite);
    const platform::FillStyle fill = s.State().fillStyle;
    EraseLegend(s);
    s.SetFillStyle(fill);
}

void DrawLatticeBox(Surface& s, const model::CellVectors& v, double latticeScale, double dotRadius,
                    bool include1x1) {
    const model::Box& box = model::kLatticeBox;
    s.FilledRectangle(box.left, box.top, box.Right(), box.Bottom(), model::kWhite);
    if (include1x1)
        DrawRealLattice(
            s, {v.a1, v.a2, latticeScale, model::kGreen, dotRadius, LatticeKind::SubstrateNet});
    DrawLatticeBoxFrame(s);
    DrawRealLattice(
        s, {v.b1, v.b2, latticeScale, model::kBlack, dotRadius, LatticeKind::SuperlatticeDots});
}

void DrawLatticeBoxFrame(Surface& s) {
    const model::Box& b = model::kLatticeBox;
    DrawFrame(s, b.left, b.top, b.Right(), b.Bottom(), model::kBlack);
}

}  // namespace quorvex::render
