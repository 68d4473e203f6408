// The real-space lattice box: the substrate net with its thick basis vectors,
// the superlattice dots with their thin ones, and the refusal of a superlattice
// too large to draw.
#include "render/RealLattice.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "render/ClippedLine.h"

namespace quorvex::render {

namespace {

using platform::FillStyle;
using platform::Surface;

// Rows counted beyond this lie closer than a third of a pixel (the box is
// 3480 twips wide), so more of them add nothing visible. The bound keeps the
// dot loops, quadratic in it, short, and N + 1 far from overflow.
constexpr int kMaxRowCount = 1000;

// floor(extent / spacing) lattice rows each side of the origin, limited to
// kMaxRowCount; none when the quotient is NaN (degenerate vectors or scale).
std::optional<int> RowCount(double extent, double spacing) {
    const double rows = std::floor(extent / spacing);
    if (std::isnan(rows)) return std::nullopt;
    const double limit = kMaxRowCount;
    return static_cast<int>(std::clamp(rows, -limit, limit));
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
void DrawNet(model::Module1& m, Surface& s, const LatticeBox& box, double t1x, double t1y,
             double t2x, double t2y, int n1, int n2, model::Rgb colour) {
    const int reach1 = n1 + 1;
    const int reach2 = n2 + 1;
    for (int k = -reach1; k <= reach1; ++k) {
        m.SegX1 = box.X(k * t1x - reach2 * t2x);
        m.SegY1 = box.Y(k * t1y - reach2 * t2y);
        m.SegX2 = box.X(k * t1x + reach2 * t2x);
        m.SegY2 = box.Y(k * t1y + reach2 * t2y);
        ClippedLine(s, box, m.SegX1, m.SegY1, m.SegX2, m.SegY2, colour);
    }
    for (int k = -reach2; k <= reach2; ++k) {
        m.SegX1 = box.X(-reach1 * t1x + k * t2x);
        m.SegY1 = box.Y(-reach1 * t1y + k * t2y);
        m.SegX2 = box.X(reach1 * t1x + k * t2x);
        m.SegY2 = box.Y(reach1 * t1y + k * t2y);
        ClippedLine(s, box, m.SegX1, m.SegY1, m.SegX2, m.SegY2, colour);
    }
}

// The superlattice points, each a filled dot that lies wholly inside the box
// (strict tests: a dot touching an edge is left out).
void DrawDots(Surface& s, const LatticeBox& box, double t1x, double t1y, double t2x, double t2y,
              int n1, int n2, double r, model::Rgb colour) {
    // An infinite radius would pass the edge tests on one side and reach the surface.
    if (!std::isfinite(r)) return;
    for (int i = -n1; i <= n1; ++i) {
        for (int j = -n2; j <= n2; ++j) {
            const double x = box.X(i * t1x + j * t2x);
            const double y = box.Y(i * t1y + j * t2y);
            if (x > box.left + r && x < box.right - r && y > box.top + r && y < box.bottom - r)
                s.Circle(x, y, r, colour);
        }
    }
}

void DrawFrame(Surface& s, double left, double top, double right, double bottom,
               model::Rgb colour) {
    s.Line(left, top, left, bottom, colour);
    s.Line(left, bottom, right, bottom, colour);
    s.Line(right, bottom, right, top, colour);
    s.Line(right, top, left, top, colour);
}

}  // namespace

void DrawRealLattice(model::Module1& m, Surface& s, double t1x, double t1y, double t2x, double t2y,
                     model::Rgb colour, double dotRadius, model::Long kind) {
    const double a11 = t1x * t1x + t1y * t1y;
    const double a22 = t2x * t2x + t2y * t2y;
    const double a12 = t1x * t2x + t1y * t2y;
    // The parts of t1 and t2 perpendicular to the other vector: the row spacings.
    const double e1x = t1x - (a12 / a22) * t2x;
    const double e1y = t1y - (a12 / a22) * t2y;
    const double e2x = t2x - (a12 / a11) * t1x;
    const double e2y = t2y - (a12 / a11) * t1y;
    const double extent = m.LatBoxWidth / m.LatScale;
    const std::optional<int> n1 = RowCount(extent, RowSpacing(e1x, e1y));
    const std::optional<int> n2 = RowCount(extent, RowSpacing(e2x, e2y));

    const LatticeBox box{m.LatBoxCenterX,
                         m.LatBoxCenterY,
                         m.LatScale,
                         m.LatBoxLeft,
                         m.LatBoxLeft + m.LatBoxWidth,
                         m.LatBoxTop,
                         m.LatBoxTop + m.LatBoxHeight};

    if (kind == 1) s.SetLineWidth(3);
    ClippedLine(s, box, box.cx, box.cy, box.X(t1x), box.Y(t1y), colour);
    ClippedLine(s, box, box.cx, box.cy, box.X(t2x), box.Y(t2y), colour);

    s.SetFillColor(colour);
    s.SetFillStyle(FillStyle::Solid);
    s.SetLineWidth(1);

    if (!n1 || !n2) return;
    if (kind == 1)
        DrawNet(m, s, box, t1x, t1y, t2x, t2y, *n1, *n2, colour);
    else
        DrawDots(s, box, t1x, t1y, t2x, t2y, *n1, *n2, dotRadius, colour);
}

void ShowSuperlatticeTooLarge(const model::Module1& m, Surface& s) {
    const model::Rgb white = model::RGB(255, 255, 255);
    const model::Rgb black = model::RGB(0, 0, 0);

    const double latRight = m.LatBoxLeft + m.LatBoxWidth;
    const double latBottom = m.LatBoxTop + m.LatBoxHeight;
    s.FilledRectangle(m.LatBoxLeft, m.LatBoxTop, latRight, latBottom, white);
    // The frame ends at the top-left corner, where the message is printed.
    DrawFrame(s, m.LatBoxLeft, m.LatBoxTop, latRight, latBottom, black);
    s.SetTextColor(model::RGB(255, 0, 0));
    s.Print("Superlattice too large");

    const double patRight = m.PatBoxLeft + m.PatBoxWidth;
    const double patBottom = m.PatBoxTop + m.PatBoxHeight;
    s.FilledRectangle(m.PatBoxLeft, m.PatBoxTop, patRight, patBottom, black);
    DrawFrame(s, m.PatBoxLeft, m.PatBoxTop, patRight, patBottom, white);
}

}  // namespace quorvex::render
