// Finding the pixels a lattice lands on without visiting every point.
//
// Every decision that a pixel is drawn rests on a point evaluated with the
// loops' own formula (PlacedLattice::X, Y), or, for a pixel that the lattice
// covers many times over, on the fact that a small enough cell of the lattice
// fits inside it. The geometry below only chooses which points to evaluate:
// it works with a reduced basis (the two shortest independent lattice
// vectors), so that rows of points are short or few however skewed the drawn
// basis is, and it widens every region it searches by a margin larger than
// the rounding of the loops' formula.
#include "render/PixelLattice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "render/DenseLattice.h"

namespace quorvex::render {

using platform::Point;

namespace {

bool straightforwardLoops = false;

// A surface without pixels gets every spot in the loops' order up to this
// many, beyond it one per pixel of the window's size.
constexpr double kRecordedLimit = 1 << 22;
constexpr double kWindowPixelTwips = 15;
// Rows each side when the geometry has no answer, as the loops were bounded
// before they learnt to skip what cannot be seen.
constexpr double kLegacyRows = 1000;

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Beyond this many cells the box is not walked pixel by pixel.
constexpr double kMaxCells = 1 << 24;
// Up to this many indices a lattice without a reduced basis is drawn by the
// loops themselves, each pixel once.
constexpr double kDirectIndices = 1 << 16;
// Loops over more indices than this would run for hours: no picture of
// theirs to keep.
constexpr double kCountable = 1LL << 40;
// Up to this many rows of one index reaching the box, such a lattice is
// walked row by row, with at most this many evaluations in all; beyond, it
// is drawn from its geometry. (A million evaluations, and the list of rows
// they need, cost some 100 ms: more than an update may take.)
constexpr double kWalkRows = 1024;
constexpr long long kWalkBudget = 1 << 18;
// Points evaluated each side of a place where a row's pixel may change; when
// the rounding margin holds more (points closer than 1e-9 of a pixel, far
// beyond the loops' reach), only the nearest one each side, and the points
// between are left to the stretches.
constexpr double kWalkWindow = 8;
// Points tried each side of the middle of a stretch that only grazes a pixel,
// for a lattice beyond the loops' count.
constexpr double kGrazingPoints = 2;
// Evaluations spent on proving pixels empty before the search gives up and
// trusts the nearest point alone (only far beyond any zoom a user reaches).
constexpr long long kScanBudget = 1 << 18;

bool Odd(double n) {
    return std::fmod(n, 2.0) != 0;
}

double Cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

struct Range {
    double lo, hi;
};

// s p + t q with one rounding of the result and one of a part of order
// epsilon squared times |s p| + |t q| (products and sum split exactly).
double Dot2(double s, double p, double t, double q) {
    const double a = s * p, ea = std::fma(s, p, -a);
    const double b = t * q, eb = std::fma(t, q, -b);
    const double sum = a + b, z = sum - a;
    const double es = (a - (sum - z)) + (b - z);
    return sum + (ea + eb + es);
}

// The t for which (bx, by) + t * (dx, dy) lies in [x0, x1] x [y0, y1].
Range ClipToBox(double bx, double by, double dx, double dy, double x0, double x1, double y0,
                double y1) {
    Range r{-kInfinity, kInfinity};
    auto axis = [&r](double b, double d, double a0, double a1) {
        if (d == 0) {
            if (b < a0 || b > a1) r = {kInfinity, -kInfinity};
            return;
        }
        double t0 = (a0 - b) / d, t1 = (a1 - b) / d;
        if (t0 > t1) std::swap(t0, t1);
        r.lo = std::max(r.lo, t0);
        r.hi = std::min(r.hi, t1);
    };
    axis(bx, dx, x0, x1);
    axis(by, dy, y0, y1);
    return r;
}

// The whole numbers of a real range, as doubles; lo > hi when none.
Range Whole(Range r) {
    return {std::ceil(r.lo), std::floor(r.hi)};
}

// The s of r (whole numbers) with |base + step * s| <= limit, give or take
// one for the rounding of the division.
Range WithinIndexRange(Range r, double base, double step, double limit) {
    if (step == 0) return std::abs(base) <= limit ? r : Range{kInfinity, -kInfinity};
    double a = (-limit - base) / step, b = (limit - base) / step;
    if (a > b) std::swap(a, b);
    return {std::max(r.lo, std::floor(a) - 1), std::min(r.hi, std::ceil(b) + 1)};
}

// Twice a bound of the rounding error of PlacedLattice::X and Y (five
// roundings, each within half an epsilon of the largest term) for points
// whose terms h p and k q reach hTwips and kTwips.
double RoundingMargin(const PlacedLattice& l, double hTwips, double kTwips) {
    return 1e-9 + 16 * kEpsilon * (std::abs(l.cx) + std::abs(l.cy) + hTwips + kTwips);
}

// Whether the loops over every index could count through the ranges.
bool Countable(const PointRule& rule) {
    const double hmax = std::min(rule.hmax, kIndexLimit), kmax = std::min(rule.kmax, kIndexLimit);
    return (2 * hmax + 1) * (2 * kmax + 1) <= kCountable;
}

class PixelFinder {
  public:
    // The pixels found go to `out`; `seen` is scratch. Both keep their
    // storage from one drawing to the next.
    PixelFinder(const PlacedLattice& lattice, const PointRule& rule, double pixelTwips,
                std::vector<Point>& out, std::vector<std::uint8_t>& seen)
        : l_(lattice), rule_(rule), g_(pixelTwips), seen_(seen), out_(out) {}

    bool Run();

  private:
    bool Reduce();
    bool Reaches(double& hReach, double& kReach, double& hTwips, double& kTwips);
    // Bounds of |h| and |k| at a place in twips, and of |h| 2^a and |k| 2^b.
    void IndexBounds(double zx, double zy, double& h, double& k) const;
    void NormalisedIndexBounds(double zx, double zy, double& h, double& k) const;
    bool CoverAll();
    bool Unreduced();
    bool Sketched();
    bool FewReaching();
    bool WalkRows();
    bool WalkRow(bool swapped, double a, long long& budget);
    // Reduced coordinates (t along e, j along f) of a twip position.
    double TOf(double zx, double zy) const;
    double JOf(double zx, double zy) const;
    double H(double t, double j) const { return ca_ * t + cc_ * j; }
    double K(double t, double j) const { return cb_ * t + cd_ * j; }

    // Evaluates point (h, k) as the loops do; marks its pixel when it is
    // drawn. True when it is drawn on pixel (i, j).
    bool Visit(double h, double k, int i, int j);
    bool Seen(int i, int j) const { return seen_[Index(i, j)] != 0; }
    std::size_t Index(int i, int j) const {
        return static_cast<std::size_t>(j - j0_) * static_cast<std::size_t>(i1_ - i0_ + 1) +
               static_cast<std::size_t>(i - i0_);
    }
    void Mark(int i, int j, double x, double y);

    void WalkPoints();
    void WalkCells();
    bool Covered(double x0, double x1, double y0, double y1) const;
    void SearchCell(int i, int j, double x0, double x1, double y0, double y1);

    const PlacedLattice& l_;
    const PointRule& rule_;
    const double g_;

    // Screen vectors of p and q in twips (y down), their normalised copies
    // (scaled by the power of two sigma_), and the reduced basis e, f with
    // e = ca u + cb v, f = cc u + cd v.
    double ux_ = 0, uy_ = 0, vx_ = 0, vy_ = 0;
    double sigma_ = 1;
    double nux_ = 0, nuy_ = 0, nvx_ = 0, nvy_ = 0, nuv_ = 0;
    double ex_ = 0, ey_ = 0, fx_ = 0, fy_ = 0, det_ = 0;
    double ca_ = 1, cb_ = 0, cc_ = 0, cd_ = 1;
    double etx_ = 0, ety_ = 0, ftx_ = 0, fty_ = 0;  // e and f in twips

    double margin_ = 0;
    bool insideRanges_ = false;  // the whole box lies within the index ranges
    // p and q normalised each on its own (by 2^a and 2^b), and their cross
    // product less its rounding, for the indices of a place.
    struct IndexMap {
        int a = 0, b = 0;
        double ux = 0, uy = 0, vx = 0, vy = 0, divisor = 1;
    } indices_;
    int i0_ = 0, i1_ = 0, j0_ = 0, j1_ = 0;
    std::vector<std::uint8_t>& seen_;
    std::vector<Point>& out_;
    long long budget_ = kScanBudget;
    // Points tried each side of the middle of a stretch: all of them while
    // the loops could count the indices; beyond, where a row only grazes the
    // region and rounding alone decides, a few.
    double stretchLimit_ = kInfinity;
};

bool PixelFinder::Reduce() {
    const double largest =
        std::max(std::max(std::abs(ux_), std::abs(uy_)), std::max(std::abs(vx_), std::abs(vy_)));
    if (largest == 0) return false;
    const int exponent = std::ilogb(largest);
    // Beyond this the box positions times sigma leave the range of double.
    if (exponent < -1000 || exponent > 1020) return false;
    sigma_ = std::ldexp(1.0, -exponent);
    nux_ = ux_ * sigma_, nuy_ = uy_ * sigma_, nvx_ = vx_ * sigma_, nvy_ = vy_ * sigma_;
    nuv_ = Cross(nux_, nuy_, nvx_, nvy_);
    if (!(std::abs(nuv_) > 1e-200)) return false;

    // Lagrange's reduction, the coefficients kept exact and the vectors
    // recomputed from them at every step.
    double a = 1, b = 0, c = 0, d = 1;
    auto vector = [this](double s, double t, double& x, double& y) {
        x = s * nux_ + t * nvx_;
        y = s * nuy_ + t * nvy_;
    };
    double ex = nux_, ey = nuy_, fx = nvx_, fy = nvy_;
    constexpr double kExact = 4503599627370496.0;  // 2^52
    for (int step = 0; step < 200; ++step) {
        if (ex * ex + ey * ey > fx * fx + fy * fy) {
            std::swap(ex, fx), std::swap(ey, fy);
            std::swap(a, c), std::swap(b, d);
        }
        const double ratio = (ex * fx + ey * fy) / (ex * ex + ey * ey);
        if (!std::isfinite(ratio)) return false;
        const double n = std::floor(ratio + 0.5);
        if (n == 0) break;
        if (std::abs(n) >= kExact) return false;
        const double nc = c - n * a, nd = d - n * b;
        if (std::abs(nc) >= kExact || std::abs(nd) >= kExact) return false;
        c = nc, d = nd;
        vector(c, d, fx, fy);
    }
    if (ex * ex + ey * ey > fx * fx + fy * fy) {
        std::swap(ex, fx), std::swap(ey, fy);
        std::swap(a, c), std::swap(b, d);
    }
    ca_ = a, cb_ = b, cc_ = c, cd_ = d;
    // The reduced vectors once more, from the drawn basis itself and with
    // compensated sums: what rounds away is a part of their own size, not of
    // the long vectors that cancel in them, so that positions predicted by
    // many steps of a short e stay close.
    const double pMax =
        std::max({std::abs(l_.px), std::abs(l_.py), std::abs(l_.qx), std::abs(l_.qy)});
    const int ep = std::ilogb(pMax);
    const double px = std::ldexp(l_.px, -ep), py = std::ldexp(l_.py, -ep);
    const double qx = std::ldexp(l_.qx, -ep), qy = std::ldexp(l_.qy, -ep);
    const double factor = std::ldexp(l_.scale, ep - exponent);
    ex_ = factor * Dot2(a, px, b, qx), ey_ = -factor * Dot2(a, py, b, qy);
    fx_ = factor * Dot2(c, px, d, qx), fy_ = -factor * Dot2(c, py, d, qy);
    det_ = Cross(ex_, ey_, fx_, fy_);
    if (!(std::abs(det_) > 1e-200) || !std::isfinite(det_)) return false;
    etx_ = ex_ / sigma_, ety_ = ey_ / sigma_, ftx_ = fx_ / sigma_, fty_ = fy_ / sigma_;
    return true;
}

// Bounds of the largest |h| and |k| at the corners of the box, and of how far
// those reach in twips along p and q, from separately normalised vectors, so
// that neither tiny nor huge ones over- or underflow on the way (|h| and |k|
// themselves may come out infinite). Nearly parallel vectors are fine as long
// as their cross product stands above its own rounding, which the bounds
// allow for. False for parallel or vanishing vectors.
bool PixelFinder::Reaches(double& hReach, double& kReach, double& hTwips, double& kTwips) {
    const double uMax = std::max(std::abs(ux_), std::abs(uy_));
    const double vMax = std::max(std::abs(vx_), std::abs(vy_));
    if (!(uMax > 0 && vMax > 0)) return false;
    indices_.a = std::ilogb(uMax), indices_.b = std::ilogb(vMax);
    indices_.ux = std::ldexp(ux_, -indices_.a), indices_.uy = std::ldexp(uy_, -indices_.a);
    indices_.vx = std::ldexp(vx_, -indices_.b), indices_.vy = std::ldexp(vy_, -indices_.b);
    // Components lie below 2 in magnitude: each product below 4.
    const double d = Cross(indices_.ux, indices_.uy, indices_.vx, indices_.vy);
    const double dError = 8 * kEpsilon;
    if (!(std::abs(d) > 2 * dError)) return false;
    indices_.divisor = std::abs(d) - dError;
    hReach = kReach = hTwips = kTwips = 0;
    for (double zx : {rule_.left, rule_.right})
        for (double zy : {rule_.top, rule_.bottom}) {
            double h = 0, k = 0;
            NormalisedIndexBounds(zx, zy, h, k);
            hReach = std::max(hReach, std::ldexp(h, -indices_.a));
            kReach = std::max(kReach, std::ldexp(k, -indices_.b));
            hTwips = std::max(hTwips, h * (std::abs(indices_.ux) + std::abs(indices_.uy)));
            kTwips = std::max(kTwips, k * (std::abs(indices_.vx) + std::abs(indices_.vy)));
        }
    return true;
}

void PixelFinder::NormalisedIndexBounds(double zx, double zy, double& h, double& k) const {
    const IndexMap& m = indices_;
    const double rx = zx - l_.cx, ry = zy - l_.cy;
    const double error =
        8 * kEpsilon * (std::abs(rx) + std::abs(ry) + std::abs(l_.cx) + std::abs(l_.cy));
    h = (std::abs(Cross(rx, ry, m.vx, m.vy)) + error) / m.divisor;
    k = (std::abs(Cross(m.ux, m.uy, rx, ry)) + error) / m.divisor;
}

void PixelFinder::IndexBounds(double zx, double zy, double& h, double& k) const {
    NormalisedIndexBounds(zx, zy, h, k);
    h = std::ldexp(h, -indices_.a);
    k = std::ldexp(k, -indices_.b);
}

double PixelFinder::TOf(double zx, double zy) const {
    const double rx = (zx - l_.cx) * sigma_, ry = (zy - l_.cy) * sigma_;
    return Cross(rx, ry, fx_, fy_) / det_;
}

double PixelFinder::JOf(double zx, double zy) const {
    const double rx = (zx - l_.cx) * sigma_, ry = (zy - l_.cy) * sigma_;
    return Cross(ex_, ey_, rx, ry) / det_;
}

void PixelFinder::Mark(int i, int j, double x, double y) {
    std::uint8_t& cell = seen_[Index(i, j)];
    if (cell) return;
    cell = 1;
    out_.push_back(Point{x, y});
}

bool PixelFinder::Visit(double h, double k, int i, int j) {
    --budget_;
    if (!rule_.Counts(h, k)) return false;
    const double x = l_.X(h, k), y = l_.Y(h, k);
    if (!rule_.Inside(x, y)) return false;
    const int pi = platform::PixelIndex(x, g_), pj = platform::PixelIndex(y, g_);
    Mark(pi, pj, x, y);
    return pi == i && pj == j;
}

// Point by point along the rows of the reduced basis, for a lattice with
// hardly more points in the box than pixels.
void PixelFinder::WalkPoints() {
    const double m = margin_;
    const double x0 = rule_.left - m, x1 = rule_.right + m;
    const double y0 = rule_.top - m, y1 = rule_.bottom + m;
    double jLo = kInfinity, jHi = -kInfinity;
    for (double zx : {x0, x1})
        for (double zy : {y0, y1}) {
            jLo = std::min(jLo, JOf(zx, zy));
            jHi = std::max(jHi, JOf(zx, zy));
        }
    const Range rows = Whole({jLo, jHi});
    const double centreX = (rule_.left + rule_.right) / 2, centreY = (rule_.top + rule_.bottom) / 2;
    const double ee = ex_ * ex_ + ey_ * ey_;
    for (double row = rows.lo; row <= rows.hi; ++row) {
        // The row's point nearest the centre of the box, placed exactly, and
        // from there the stretch of the row that crosses the box.
        const double rx = (centreX - l_.cx) * sigma_ - row * fx_;
        const double ry = (centreY - l_.cy) * sigma_ - row * fy_;
        const double t0 = std::floor((rx * ex_ + ry * ey_) / ee + 0.5);
        const double h0 = H(t0, row), k0 = K(t0, row);
        const double px = l_.X(h0, k0), py = l_.Y(h0, k0);
        Range steps = Whole(ClipToBox(px, py, etx_, ety_, x0, x1, y0, y1));
        steps = WithinIndexRange(steps, h0, ca_, rule_.hmax);
        steps = WithinIndexRange(steps, k0, cb_, rule_.kmax);
        for (double s = steps.lo; s <= steps.hi; ++s) Visit(h0 + ca_ * s, k0 + cb_ * s, 0, 0);
    }
}

// A cell of the lattice (twice over, so that a whole cell of four points
// fits whatever its position) inside the region: then some point of it is
// drawn there, since the four corners of a cell never all lie on the odd
// places of the axes that a glide line leaves out.
bool PixelFinder::Covered(double x0, double x1, double y0, double y1) const {
    const double w = 2 * (std::abs(etx_) + std::abs(ftx_)) + 2 * margin_;
    const double h = 2 * (std::abs(ety_) + std::abs(fty_)) + 2 * margin_;
    if (!(x1 - x0 > w && y1 - y0 > h)) return false;
    if (insideRanges_) return true;
    // The index ranges may cut into the box: the region must lie within them
    // (its indices are largest at a corner).
    for (double zx : {x0, x1})
        for (double zy : {y0, y1}) {
            double hz = 0, kz = 0;
            IndexBounds(zx, zy, hz, kz);
            if (!(hz + 2 <= rule_.hmax && kz + 2 <= rule_.kmax)) return false;
        }
    return true;
}

void PixelFinder::SearchCell(int i, int j, double x0, double x1, double y0, double y1) {
    // The lattice point nearest the middle of the region first.
    const double zx = (x0 + x1) / 2, zy = (y0 + y1) / 2;
    const double t0 = std::floor(TOf(zx, zy) + 0.5), r0 = std::floor(JOf(zx, zy) + 0.5);
    const double h0 = H(t0, r0), k0 = K(t0, r0);
    if (!std::isfinite(h0) || !std::isfinite(k0)) return;
    if (Visit(h0, k0, i, j) || budget_ < 0) return;

    // Otherwise every point within the margin of the region, row by row,
    // placed relative to that nearest one, until one is drawn here.
    const double m = margin_;
    const double bx0 = x0 - m, bx1 = x1 + m, by0 = y0 - m, by1 = y1 + m;
    const double px = l_.X(h0, k0), py = l_.Y(h0, k0);
    double lo = kInfinity, hi = -kInfinity;
    double hLo = kInfinity, hHi = -kInfinity, kLo = kInfinity, kHi = -kInfinity;
    for (double cx : {bx0, bx1})
        for (double cy : {by0, by1}) {
            const double rx = (cx - px) * sigma_, ry = (cy - py) * sigma_;
            const double rt = Cross(rx, ry, fx_, fy_) / det_, rj = Cross(ex_, ey_, rx, ry) / det_;
            lo = std::min(lo, rj);
            hi = std::max(hi, rj);
            hLo = std::min(hLo, H(rt, rj)), hHi = std::max(hHi, H(rt, rj));
            kLo = std::min(kLo, K(rt, rj)), kHi = std::max(kHi, K(rt, rj));
        }
    // A region wholly beyond the index ranges holds no drawn point, however
    // many lattice points lie in it.
    hLo += h0, hHi += h0, kLo += k0, kHi += k0;
    if (hLo > rule_.hmax + 1 || hHi < -rule_.hmax - 1 || kLo > rule_.kmax + 1 ||
        kHi < -rule_.kmax - 1)
        return;
    const Range rows = Whole({lo, hi});
    for (double dj = rows.lo; dj <= rows.hi && --budget_ >= 0; ++dj) {
        // The stretch of the row inside the region and the index ranges.
        Range steps =
            Whole(ClipToBox(px + dj * ftx_, py + dj * fty_, etx_, ety_, bx0, bx1, by0, by1));
        steps = WithinIndexRange(steps, h0 + cc_ * dj, ca_, rule_.hmax);
        steps = WithinIndexRange(steps, k0 + cd_ * dj, cb_, rule_.kmax);
        // From the middle of the stretch outwards: a long stretch crossing
        // the region has a point in it in the middle.
        if (!(steps.lo <= steps.hi)) continue;
        const double middle = std::floor(steps.lo / 2 + steps.hi / 2);
        for (double d = 0; budget_ >= 0 && d < stretchLimit_; ++d) {
            const double up = middle + d, down = middle - d - 1;
            const bool upInside = up <= steps.hi, downInside = down >= steps.lo;
            if (!upInside && !downInside) break;
            if (upInside && Visit(h0 + ca_ * up + cc_ * dj, k0 + cb_ * up + cd_ * dj, i, j)) return;
            if (downInside && Visit(h0 + ca_ * down + cc_ * dj, k0 + cb_ * down + cd_ * dj, i, j))
                return;
        }
    }
}

void PixelFinder::WalkCells() {
    const int columns = i1_ - i0_ + 1;
    std::vector<std::uint8_t> candidate(static_cast<std::size_t>(columns));
    const double m = margin_;
    const double ee = ex_ * ex_ + ey_ * ey_;
    for (int j = j0_; j <= j1_; ++j) {
        const double y0 = std::max(rule_.top, g_ * (j - 0.5));
        const double y1 = std::min(rule_.bottom, g_ * (j + 0.5));

        // Only pixels that a row of e passes within this row of pixels can
        // hold a point; when more rows than pixels cross it, every pixel is
        // tried.
        const double bx0 = rule_.left - m, bx1 = rule_.right + m, by0 = y0 - m, by1 = y1 + m;
        double lo = kInfinity, hi = -kInfinity;
        for (double zx : {bx0, bx1})
            for (double zy : {by0, by1}) {
                lo = std::min(lo, JOf(zx, zy));
                hi = std::max(hi, JOf(zx, zy));
            }
        const Range rows = Whole({lo, hi});
        const bool every = !(rows.hi - rows.lo < columns);
        if (!every) {
            std::fill(candidate.begin(), candidate.end(), 0);
            for (double row = rows.lo; row <= rows.hi; ++row) {
                // The row's point nearest the middle of the band, placed
                // exactly, and from there the stretch inside the band.
                const double rx = ((bx0 + bx1) / 2 - l_.cx) * sigma_ - row * fx_;
                const double ry = ((by0 + by1) / 2 - l_.cy) * sigma_ - row * fy_;
                const double t0 = std::floor((rx * ex_ + ry * ey_) / ee + 0.5);
                const double h0 = H(t0, row), k0 = K(t0, row);
                const double px = l_.X(h0, k0), py = l_.Y(h0, k0);
                const Range s = ClipToBox(px, py, etx_, ety_, bx0, bx1, by0, by1);
                if (!(s.lo <= s.hi)) continue;
                const double xa = px + s.lo * etx_, xb = px + s.hi * etx_;
                const int ia = std::max(i0_, platform::PixelIndex(std::min(xa, xb) - m, g_));
                const int ib = std::min(i1_, platform::PixelIndex(std::max(xa, xb) + m, g_));
                for (int i = ia; i <= ib; ++i) candidate[static_cast<std::size_t>(i - i0_)] = 1;
            }
        }

        for (int i = i0_; i <= i1_; ++i) {
            if (Seen(i, j) || (!every && !candidate[static_cast<std::size_t>(i - i0_)])) continue;
            const double x0 = std::max(rule_.left, g_ * (i - 0.5));
            const double x1 = std::min(rule_.right, g_ * (i + 0.5));
            if (Covered(x0, x1, y0, y1)) {
                Mark(i, j, g_ * i, g_ * j);
                continue;
            }
            SearchCell(i, j, x0, x1, y0, y1);
        }
    }
}

// For a lattice too fine for the reduction: every pixel of the box, when a
// cell of the drawn basis fits inside each; false when one does not.
bool PixelFinder::CoverAll() {
    for (int j = j0_; j <= j1_; ++j) {
        const double y0 = std::max(rule_.top, g_ * (j - 0.5));
        const double y1 = std::min(rule_.bottom, g_ * (j + 0.5));
        for (int i = i0_; i <= i1_; ++i) {
            const double x0 = std::max(rule_.left, g_ * (i - 0.5));
            const double x1 = std::min(rule_.right, g_ * (i + 0.5));
            if (!Covered(x0, x1, y0, y1)) return false;
            Mark(i, j, g_ * i, g_ * j);
        }
    }
    return true;
}

// The rows of one index that reach the box, each over the stretch of the
// other index that can: the points the loops draw, evaluated as they do,
// when there are few of them. False when there are more.
bool PixelFinder::FewReaching() {
    for (const bool swapped : {false, true}) {
        PlacedLattice l = l_;
        PointRule rule = rule_;
        if (swapped) {
            std::swap(l.px, l.qx), std::swap(l.py, l.qy);
            std::swap(rule.hmax, rule.kmax);
        }
        const IndexSpan rows = RowsReaching(l, rule);
        if (!(rows.Count() <= kDirectIndices)) continue;
        std::vector<IndexSpan> spans;
        double count = 0;
        for (double a = rows.lo; a <= rows.hi && count <= kDirectIndices; ++a) {
            spans.push_back(RowSpan(l, rule, a));
            count += spans.back().Count() + 1;
        }
        if (!(count <= kDirectIndices)) continue;
        for (std::size_t n = 0; n < spans.size(); ++n) {
            const double a = rows.lo + static_cast<double>(n);
            for (double b = spans[n].lo; b <= spans[n].hi; ++b)
                swapped ? Visit(b, a, 0, 0) : Visit(a, b, 0, 0);
        }
        return true;
    }
    return false;
}

// The next whole number after b; beyond 2^53 the next double.
double NextWhole(double b) {
    return b + 1 > b ? b + 1 : std::nextafter(b, kInfinity);
}

// The rows along one index, a fixed, that can reach the box, each a line of
// points: walked when few rows (in the direction with fewer) reach the box,
// however many points each holds.
bool PixelFinder::WalkRows() {
    double counts[2] = {kInfinity, kInfinity};
    Range ranges[2] = {{1, 0}, {1, 0}};
    for (const bool swapped : {false, true}) {
        // The a of the rows through the corners of the box, from vectors
        // normalised each on its own.
        const double ax = swapped ? vx_ : ux_, ay = swapped ? vy_ : uy_;
        const double bx = swapped ? ux_ : vx_, by = swapped ? uy_ : vy_;
        const double aMax = std::max(std::abs(ax), std::abs(ay));
        const double bMax = std::max(std::abs(bx), std::abs(by));
        if (!(aMax > 0 && bMax > 0)) continue;
        const int ea = std::ilogb(aMax), eb = std::ilogb(bMax);
        const double nax = std::ldexp(ax, -ea), nay = std::ldexp(ay, -ea);
        const double nbx = std::ldexp(bx, -eb), nby = std::ldexp(by, -eb);
        const double d = Cross(nax, nay, nbx, nby);
        double lo = kInfinity, hi = -kInfinity;
        for (double zx : {rule_.left, rule_.right})
            for (double zy : {rule_.top, rule_.bottom}) {
                const double a = std::ldexp(Cross(zx - l_.cx, zy - l_.cy, nbx, nby) / d, -ea);
                lo = std::min(lo, a), hi = std::max(hi, a);
            }
        const double limit = swapped ? rule_.kmax : rule_.hmax;
        const Range r{std::max(std::floor(lo) - 1, -limit), std::min(std::ceil(hi) + 1, limit)};
        if (!(r.lo <= r.hi)) {
            counts[swapped] = 0;
            ranges[swapped] = r;
        } else if (r.hi - r.lo + 1 <= kWalkRows) {
            counts[swapped] = r.hi - r.lo + 1;
            ranges[swapped] = r;
        }
    }
    const bool swapped = counts[1] < counts[0];
    if (!(counts[swapped] <= kWalkRows)) return false;
    long long budget = kWalkBudget;
    for (int n = 0; n < static_cast<int>(counts[swapped]); ++n)
        if (!WalkRow(swapped, ranges[swapped].lo + n, budget)) return false;
    return true;
}

// One row: its points' pixels change only where the exact position crosses
// the edge of a pixel or of the box (or at the index a glide may leave out);
// every point within the rounding margin of such a place is evaluated, and
// one point of each stretch between them, as the loops evaluate it.
bool PixelFinder::WalkRow(bool swapped, double a, long long& budget) {
    auto visit = [&](double b) {
        --budget;
        swapped ? Visit(b, a, 0, 0) : Visit(a, b, 0, 0);
    };
    const double pax = swapped ? l_.qx : l_.px, pay = swapped ? l_.qy : l_.py;
    const double pbx = swapped ? l_.px : l_.qx, pby = swapped ? l_.py : l_.qy;
    const double xa = l_.cx + l_.scale * (a * pax), ya = l_.cy - l_.scale * (a * pay);
    const double dx = l_.scale * pbx, dy = -l_.scale * pby;
    const double limit = swapped ? rule_.hmax : rule_.kmax;
    const double m0 = RoundingMargin(l_, std::abs(l_.scale * a) * (std::abs(pax) + std::abs(pay)),
                                     std::abs(l_.scale * limit) * (std::abs(pbx) + std::abs(pby)));
    Range span = Whole(ClipToBox(xa, ya, dx, dy, rule_.left - m0, rule_.right + m0, rule_.top - m0,
                                 rule_.bottom + m0));
    span = {std::max(span.lo - 1, -limit), std::min(span.hi + 1, limit)};
    if (!(span.lo <= span.hi)) return true;
    const double m = RoundingMargin(l_, std::abs(l_.scale * a) * (std::abs(pax) + std::abs(pay)),
                                    std::max(std::abs(span.lo), std::abs(span.hi)) *
                                        std::abs(l_.scale) * (std::abs(pbx) + std::abs(pby)));

    // The stretches of b around each place where a coordinate crosses a
    // level: pixel edges within the box's pixels, the box's own edges.
    std::vector<Range> windows;
    auto around = [&](double centre, double halfWidth) {
        double lo = std::max(span.lo, std::ceil(centre - halfWidth));
        double hi = std::min(span.hi, std::floor(centre + halfWidth));
        if (!(lo <= hi)) return;
        if (hi - lo > 2 * kWalkWindow) {
            const double middle = std::clamp(std::floor(centre + 0.5), span.lo, span.hi);
            lo = std::max(lo, middle - 1);
            hi = std::min(hi, middle + 1);
        }
        windows.push_back({lo, hi});
    };
    auto crossings = [&](double base, double rate, double low, double high, int first, int last) {
        if (rate == 0) return;
        const double halfWidth = 2 * m / std::abs(rate) + 2;
        auto level = [&](double value) { around((value - base) / rate, halfWidth); };
        level(low);
        level(high);
        const double from = base + span.lo * rate, to = base + span.hi * rate;
        const int pa = std::max(first, platform::PixelIndex(std::min(from, to), g_) - 1);
        const int pb = std::min(last, platform::PixelIndex(std::max(from, to), g_) + 1);
        for (int p = pa; p <= pb; ++p) level(g_ * (p + 0.5));
    };
    crossings(xa, dx, rule_.left, rule_.right, i0_ - 1, i1_);
    crossings(ya, dy, rule_.top, rule_.bottom, j0_ - 1, j1_);
    around(0, 1);
    std::sort(windows.begin(), windows.end(), [](Range p, Range q) { return p.lo < q.lo; });

    double next = span.lo;           // the first b not yet covered
    auto stretch = [&](double to) {  // one point of [next, to]
        for (double b = next; b <= to && b <= next + 2; b = NextWhole(b)) {
            visit(b);
            if (b != 0) break;
        }
    };
    for (const Range& w : windows) {
        if (budget < 0) return false;
        if (w.hi < next) continue;
        if (w.lo > next) stretch(w.lo - 1 < next ? next : w.lo - 1);
        for (double b = std::max(w.lo, next); b <= w.hi; b = NextWhole(b)) visit(b);
        next = NextWhole(w.hi);
    }
    if (next <= span.hi) stretch(span.hi);
    return budget >= 0;
}

// A lattice without a reduced basis in exact indices (or with parallel
// vectors). Where the loops could still count their indices, their own
// points: all that reach the box when few do, else row by row along the
// index with fewer rows. Beyond, or when neither is short, the picture from
// the geometry.
bool PixelFinder::Unreduced() {
    if (Countable(rule_)) {
        std::fill(seen_.begin(), seen_.end(), 0);
        out_.clear();
        if (FewReaching()) return true;
        std::fill(seen_.begin(), seen_.end(), 0);
        out_.clear();
        if (WalkRows()) return true;
    }
    return Sketched();
}

// The picture from the lattice's geometry, for lattices whose points the
// loops could never count.
bool PixelFinder::Sketched() {
    std::fill(seen_.begin(), seen_.end(), 0);
    out_.clear();
    const PixelWindow window{i0_, i1_, j0_, j1_, g_};
    return SketchLattice(l_, rule_, window,
                         [this](int i, int j, double x, double y) { Mark(i, j, x, y); });
}

bool PixelFinder::Run() {
    out_.clear();
    for (double v : {l_.cx, l_.cy, l_.scale, l_.px, l_.py, l_.qx, l_.qy, rule_.left, rule_.right,
                     rule_.top, rule_.bottom, g_})
        if (!std::isfinite(v)) return false;
    if (!(g_ > 0) || std::isnan(rule_.hmax) || std::isnan(rule_.kmax)) return false;
    if (!(rule_.left < rule_.right && rule_.top < rule_.bottom) || rule_.hmax < 0 || rule_.kmax < 0)
        return true;
    ux_ = l_.scale * l_.px;
    uy_ = -l_.scale * l_.py;
    vx_ = l_.scale * l_.qx;
    vy_ = -l_.scale * l_.qy;
    for (double c : {ux_, uy_, vx_, vy_})
        if (!std::isfinite(c)) return false;
    // A scale of nothing puts every point with finite indices on the centre.
    if (ux_ == 0 && uy_ == 0 && vx_ == 0 && vy_ == 0) {
        const double x = l_.X(0, 0), y = l_.Y(0, 0);
        if (rule_.Counts(0, 0) && rule_.Inside(x, y)) out_.push_back(Point{x, y});
        return true;
    }

    i0_ = platform::PixelIndex(rule_.left, g_), i1_ = platform::PixelIndex(rule_.right, g_);
    j0_ = platform::PixelIndex(rule_.top, g_), j1_ = platform::PixelIndex(rule_.bottom, g_);
    const double cells =
        (static_cast<double>(i1_) - i0_ + 1) * (static_cast<double>(j1_) - j0_ + 1);
    if (cells > kMaxCells) return false;
    seen_.assign(static_cast<std::size_t>(cells), 0);

    // How far the indices reach inside the box, for the rounding margin and
    // for knowing whether the index ranges cut into the box.
    double hReach = 0, kReach = 0, hTwips = 0, kTwips = 0;
    if (!Reaches(hReach, kReach, hTwips, kTwips)) return Unreduced();
    const double uLength = std::abs(ux_) + std::abs(uy_), vLength = std::abs(vx_) + std::abs(vy_);
    // Only drawn points matter, whose indices lie within the ranges (the
    // others fail the index test before they are placed).
    hTwips = std::min(hTwips + 2 * uLength, rule_.hmax * uLength);
    kTwips = std::min(kTwips + 2 * vLength, rule_.kmax * vLength);
    margin_ = RoundingMargin(l_, hTwips, kTwips);
    // The margin in index units is tiny next to the one row added here.
    insideRanges_ = hReach + 2 <= rule_.hmax && kReach + 2 <= rule_.kmax;
    if (!Countable(rule_)) stretchLimit_ = kGrazingPoints;

    if (!Reduce()) {
        etx_ = ux_, ety_ = uy_, ftx_ = vx_, fty_ = vy_;
        if (CoverAll()) return true;
        return Unreduced();
    }
    // Positions are predicted from a placed point by steps of e and f, whose
    // own rounding grows with the steps across the box. Steps of f are taken
    // only within the search region of a pixel, from the row nearest its
    // middle: no more of them than rows that cross it.
    const double across = (rule_.right - rule_.left) + (rule_.bottom - rule_.top);
    const double eSteps = across / (std::abs(etx_) + std::abs(ety_)) + 2;
    const double fSteps = across / (std::abs(ftx_) + std::abs(fty_)) + 2;
    // Each vector is off by a few roundings of its own length, and by a part
    // of order epsilon squared of the terms that cancel in it.
    auto stepError = [](double x, double y, double s, double t, double uL, double vL) {
        return 16 * (kEpsilon * (std::abs(x) + std::abs(y)) +
                     kEpsilon * kEpsilon * (std::abs(s) * uL + std::abs(t) * vL));
    };
    const double fError = stepError(ftx_, fty_, cc_, cd_, uLength, vLength);
    margin_ += eSteps * stepError(etx_, ety_, ca_, cb_, uLength, vLength);
    const double rowGap = std::abs(det_) / std::hypot(ex_, ey_) / sigma_;
    const double region = 2 * (g_ + 2 * (margin_ + fSteps * fError));
    margin_ += std::min(fSteps, std::floor(region / rowGap)) * fError;

    // Where the loops' own rounding moves points by more than a pixel and
    // they could never count their indices, no search of points finds a
    // picture worth its cost: the eye sees the geometry.
    if (margin_ > g_ && !Countable(rule_)) return Sketched();

    // Points per pixel decide the walk: a bound of the points the rows of e
    // hold inside the box, against the number of pixels.
    const double w = rule_.right - rule_.left + 2 * margin_;
    const double h = rule_.bottom - rule_.top + 2 * margin_;
    const double eLength = std::hypot(etx_, ety_);
    const double rowsBound = (w + h) / rowGap + 2;
    const double perRowBound = (w + h) / eLength + 2;
    if (rowsBound * perRowBound <= std::max(4096.0, 2 * cells))
        WalkPoints();
    else
        WalkCells();
    return true;
}

}  // namespace

bool PointRule::Counts(double h, double k) const {
    if (!(std::abs(h) <= hmax && std::abs(k) <= kmax)) return false;
    if (oddH0Left && k == 0 && Odd(h)) return false;
    if (odd0KLeft && h == 0 && Odd(k)) return false;
    return true;
}

bool DistinctPixels(const PlacedLattice& lattice, const PointRule& rule, double pixelTwips,
                    std::vector<Point>& pixels) {
    // The map of pixels found lives on between drawings, as does the list
    // of the caller: a drawing allocates nothing once the first has run.
    thread_local std::vector<std::uint8_t> seen;
    return PixelFinder(lattice, rule, pixelTwips, pixels, seen).Run();
}

IndexSpan RowSpan(const PlacedLattice& l, const PointRule& rule, double h) {
    const double kmax = std::min(rule.kmax, kIndexLimit);
    const double m = RoundingMargin(l, std::abs(l.scale * h) * (std::abs(l.px) + std::abs(l.py)),
                                    std::abs(l.scale * kmax) * (std::abs(l.qx) + std::abs(l.qy)));
    const double bx = l.X(h, 0), by = l.Y(h, 0);
    const double dx = l.scale * l.qx, dy = -l.scale * l.qy;
    const Range r = Whole(
        ClipToBox(bx, by, dx, dy, rule.left - m, rule.right + m, rule.top - m, rule.bottom + m));
    // NaN anywhere leaves no row: its points fail the box test as well.
    if (std::isnan(r.lo) || std::isnan(r.hi)) return {};
    IndexSpan span{std::max(r.lo - 1, -kmax), std::min(r.hi + 1, kmax)};
    return span;
}

IndexSpan RowsReaching(const PlacedLattice& l, const PointRule& rule) {
    const double hmax = std::min(rule.hmax, kIndexLimit);
    const double ux = l.scale * l.px, uy = -l.scale * l.py;
    const double vx = l.scale * l.qx, vy = -l.scale * l.qy;
    const double d = Cross(ux, uy, vx, vy);
    double lo = kInfinity, hi = -kInfinity;
    for (double zx : {rule.left, rule.right})
        for (double zy : {rule.top, rule.bottom}) {
            const double hz = Cross(zx - l.cx, zy - l.cy, vx, vy) / d;
            lo = std::min(lo, hz);
            hi = std::max(hi, hz);
        }
    if (!std::isfinite(lo) || !std::isfinite(hi)) return {-hmax, hmax};
    return {std::max(std::floor(lo) - 1, -hmax), std::min(std::ceil(hi) + 1, hmax)};
}

namespace {

// The loops over every index of the given ranges, in their order.
template <typename Visit>
void EveryIndex(const PointRule& rule, PointOrder order, double hmax, double kmax, Visit visit) {
    if (order == PointOrder::Dots) {
        for (double h = -hmax; h <= hmax; ++h)
            for (double k = -kmax; k <= kmax; ++k) visit(h, k);
        return;
    }
    for (double h = -hmax; h <= hmax; ++h) {
        if (h == 0) continue;
        for (double k = -kmax; k <= kmax; ++k)
            if (k != 0) visit(h, k);
        if (!(rule.oddH0Left && Odd(h))) visit(h, 0.0);
    }
    for (double k = -kmax; k <= kmax; ++k)
        if (!(rule.odd0KLeft && Odd(k))) visit(0.0, k);
}

// The same order, over the rows that reach the box and the stretch of each
// row that can; false (nothing drawn) when they hold more than `limit` points.
template <typename Visit>
bool ReachingIndices(const PlacedLattice& l, const PointRule& rule, PointOrder order, double limit,
                     Visit visit) {
    const IndexSpan rows = RowsReaching(l, rule);
    if (rows.Count() > limit) return false;
    std::vector<IndexSpan> spans;
    double count = 0;
    for (double h = rows.lo; h <= rows.hi; ++h) {
        spans.push_back(RowSpan(l, rule, h));
        count += spans.back().Count() + 1;
        if (count > limit) return false;
    }
    auto row = [&](double h) -> const IndexSpan& {
        return spans[static_cast<std::size_t>(h - rows.lo)];
    };
    for (double h = rows.lo; h <= rows.hi; ++h) {
        if (order == PointOrder::Spots && h == 0) continue;
        for (double k = row(h).lo; k <= row(h).hi; ++k)
            if (order == PointOrder::Dots || k != 0) visit(h, k);
        if (order == PointOrder::Spots && !(rule.oddH0Left && Odd(h))) visit(h, 0.0);
    }
    if (order == PointOrder::Spots && rows.lo <= 0 && 0 <= rows.hi)
        for (double k = row(0).lo; k <= row(0).hi; ++k)
            if (!(rule.odd0KLeft && Odd(k))) visit(0.0, k);
    return true;
}

// The pixels of the lattices drawn last. An update draws the lattices of the
// one before whenever only an option or the other box changed, and a loaded
// set or a legend click runs several drawings of the same lattices in a row:
// those find their pixels here. A result is a function of the lattice, the
// rule and the pixel size alone, so a hit draws exactly what a search would.
class PixelCache {
  public:
    // The pixels of the lattice, or null when the geometry has no answer.
    const std::vector<Point>* Find(const PlacedLattice& l, const PointRule& rule, double grid) {
        ++clock_;
        Entry* oldest = &entries_[0];
        for (Entry& e : entries_) {
            if (e.valid && e.grid == grid && e.lattice == l && e.rule == rule) {
                e.used = clock_;
                return &e.pixels;
            }
            if (e.used < oldest->used) oldest = &e;
        }
        // An entry of a huge surface gives its memory back when replaced.
        if (oldest->pixels.capacity() > kKeptPixels) std::vector<Point>().swap(oldest->pixels);
        oldest->lattice = l;
        oldest->rule = rule;
        oldest->grid = grid;
        oldest->used = clock_;
        oldest->valid = DistinctPixels(l, rule, grid, oldest->pixels);
        return oldest->valid ? &oldest->pixels : nullptr;
    }

    void Forget() {
        for (Entry& e : entries_) e.valid = false;
    }

  private:
    // Enough for the substrate, twelve domains, a highlight and the dots.
    static constexpr std::size_t kEntries = 16;
    static constexpr std::size_t kKeptPixels = 1 << 18;
    struct Entry {
        PlacedLattice lattice;
        PointRule rule;
        double grid = 0;
        bool valid = false;
        unsigned long long used = 0;
        std::vector<Point> pixels;
    };
    std::array<Entry, kEntries> entries_;
    unsigned long long clock_ = 0;
};

thread_local PixelCache pixelCache;

}  // namespace

void ForgetDrawnPixels() {
    pixelCache.Forget();
}

void DrawLatticePoints(platform::Surface& s, const PlacedLattice& l, const PointRule& rule,
                       double r, model::Rgb c, PointOrder order) {
    if (!std::isfinite(r)) return;
    auto draw = [&](double h, double k) {
        const double x = l.X(h, k), y = l.Y(h, k);
        if (rule.Inside(x, y)) s.Circle(x, y, r, c);
    };
    const double hmax = std::min(rule.hmax, kIndexLimit), kmax = std::min(rule.kmax, kIndexLimit);
    if (straightforwardLoops) {
        EveryIndex(rule, order, hmax, kmax, draw);
        return;
    }
    const double pixel = s.PixelTwips();
    if (pixel == 0 && ReachingIndices(l, rule, order, kRecordedLimit, draw)) return;

    // A position that is no finite number never lies inside: with any of
    // these infinite or not a number, no point is drawn.
    for (double v : {l.cx, l.cy, l.scale, l.px, l.py, l.qx, l.qy})
        if (!std::isfinite(v)) return;
    const double grid = pixel > 0 ? pixel : kWindowPixelTwips;
    if (const std::vector<Point>* pixels = pixelCache.Find(l, rule, grid)) {
        s.Circles(*pixels, r, c);
        return;
    }
    // Degenerate geometry: the bounded loops, each pixel once.
    std::vector<Point> centres;
    std::vector<std::pair<int, int>> seen;
    EveryIndex(rule, order, std::min(hmax, kLegacyRows), std::min(kmax, kLegacyRows),
               [&](double h, double k) {
                   const double x = l.X(h, k), y = l.Y(h, k);
                   if (!rule.Inside(x, y)) return;
                   seen.emplace_back(platform::PixelIndex(x, grid), platform::PixelIndex(y, grid));
                   centres.push_back(Point{x, y});
               });
    std::vector<Point> distinct;
    std::vector<std::size_t> order_(centres.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    std::stable_sort(order_.begin(), order_.end(),
                     [&](std::size_t a, std::size_t b) { return seen[a] < seen[b]; });
    for (std::size_t i = 0; i < order_.size(); ++i)
        if (i == 0 || seen[order_[i]] != seen[order_[i - 1]])
            distinct.push_back(centres[order_[i]]);
    s.Circles(distinct, r, c);
}

void UseStraightforwardLoops(bool on) {
    straightforwardLoops = on;
}

bool StraightforwardLoops() {
    return straightforwardLoops;
}

}  // namespace quorvex::render
