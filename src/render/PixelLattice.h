// Lattice points as the drawing loops place them, and the pixels they land
// on. The spot and dot loops run over index ranges that can hold millions of
// points far outside the box or many to a pixel; these helpers visit only the
// rows that reach the box and, on a surface that rounds to pixels, find each
// pixel that some point lands on exactly once.
#pragma once

#include <vector>

#include "platform/Surface.h"

namespace quorvex::render {

// Point (h, k) of a lattice lies at
// (cx + scale * (h * px + k * qx), cy - scale * (h * py + k * qy)), computed
// in this order, as the loops do.
struct PlacedLattice {
    double cx = 0, cy = 0, scale = 0, px = 0, py = 0, qx = 0, qy = 0;

    bool operator==(const PlacedLattice&) const = default;
    double X(double h, double k) const { return cx + scale * (h * px + k * qx); }
    double Y(double h, double k) const { return cy - scale * (h * py + k * qy); }
};

// Which points are drawn: |h| <= hmax and |k| <= kmax, without (h, 0) for odd
// h when oddH0Left, without (0, k) for odd k when odd0KLeft, and only when the
// point lies strictly inside (left, right) x (top, bottom).
struct PointRule {
    double hmax = 0, kmax = 0;
    bool oddH0Left = false;
    bool odd0KLeft = false;
    double left = 0, right = 0, top = 0, bottom = 0;

    bool operator==(const PointRule&) const = default;
    bool Counts(double h, double k) const;
    bool Inside(double x, double y) const { return left < x && x < right && top < y && y < bottom; }
};

// Up to 2^52 an index and the next one are distinct doubles: loops that step
// through indices one by one stop there. Index ranges themselves may be
// larger; a point's indices are then whole doubles.
inline constexpr double kIndexLimit = 4503599627370496.0;

// One point per pixel (of pixelTwips twips) that some drawn point lands on,
// in no particular order, in `pixels` (emptied first); a pixel found without a
// particular point is given by its centre. False when the lattice is too
// degenerate for the geometry (parallel or vanishing vectors, far beyond
// double precision).
bool DistinctPixels(const PlacedLattice& lattice, const PointRule& rule, double pixelTwips,
                    std::vector<platform::Point>& pixels);

// The k of row h whose points can lie inside the rule's box, widened by the
// rounding margin; lo > hi when none. Within [-kmax, kmax].
struct IndexSpan {
    double lo = 1, hi = 0;
    bool Empty() const { return lo > hi; }
    double Count() const { return Empty() ? 0 : hi - lo + 1; }
};
IndexSpan RowSpan(const PlacedLattice& lattice, const PointRule& rule, double h);
// The h whose rows can reach the box; within [-hmax, hmax].
IndexSpan RowsReaching(const PlacedLattice& lattice, const PointRule& rule);

// A circle of radius r in colour c on every counted point inside the box, in
// the loops' order when the surface keeps every call apart: for spots the rows
// h != 0 with (h, 0) last, then the row h = 0; for dots row after row. On a
// surface with pixels each drawn pixel gets one circle, all in one call.
// A radius that is no finite number draws nothing.
enum class PointOrder { Spots, Dots };
void DrawLatticePoints(platform::Surface& s, const PlacedLattice& lattice, const PointRule& rule,
                       double r, model::Rgb c, PointOrder order);

// The pixels of the last lattices drawn on this thread are kept and drawn
// again when the same lattice comes again; this forgets them (for timing the
// search itself).
void ForgetDrawnPixels();

// The drawings visit only what can be seen and draw each pixel once. The
// straightforward loops over every index stay available for the tests that
// compare both pictures.
void UseStraightforwardLoops(bool on);
bool StraightforwardLoops();

}  // namespace quorvex::render
