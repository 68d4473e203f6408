// The picture of a lattice from its geometry.
//
// Every lattice's points lie on parallel rows: along the shortest lattice
// vector e, a distance |det| / |e| apart, the row through the origin among
// them. A reduced basis found in floating point gives e and the spacing of
// the rows; it needs no index, so it exists however skewed or fine the drawn
// basis is. Which points are drawn is a region too: the strictly inside of
// the box, cut by the two strips |h| <= hmax and |k| <= kmax.
#include "render/DenseLattice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace quorvex::render {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Lagrange's steps in floating point; parallel vectors whose ratio has a
// long continued fraction stop here, their e far shorter than a pixel.
constexpr int kReductionSteps = 128;
// Points placed one by one along their rows, at most.
constexpr long long kPointBudget = 1 << 22;
// Beyond this many rows (only for a basis the floating-point reduction left
// unreduced) the region is filled instead.
constexpr double kMaxRows = 1 << 16;
// Twips by which the region is widened against the rounding of its edges.
constexpr double kTolerance = 1e-6;

struct V2 {
    double x = 0, y = 0;
};
V2 operator+(V2 a, V2 b) {
    return {a.x + b.x, a.y + b.y};
}
V2 operator-(V2 a, V2 b) {
    return {a.x - b.x, a.y - b.y};
}
V2 operator*(double s, V2 a) {
    return {s * a.x, s * a.y};
}
double Dot(V2 a, V2 b) {
    return a.x * b.x + a.y * b.y;
}
double Cross(V2 a, V2 b) {
    return a.x * b.y - a.y * b.x;
}
double Length(V2 a) {
    return std::hypot(a.x, a.y);
}
V2 Scaled(V2 a, int exponent) {
    return {std::ldexp(a.x, exponent), std::ldexp(a.y, exponent)};
}

// a . r <= w.
struct HalfPlane {
    V2 a;
    double w;
};

using Polygon = std::vector<V2>;

// The part of a convex polygon inside a half-plane.
Polygon Clip(const Polygon& polygon, const HalfPlane& h) {
    Polygon out;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const V2 p = polygon[i], q = polygon[(i + 1) % n];
        const double dp = Dot(h.a, p) - h.w, dq = Dot(h.a, q) - h.w;
        if (dp <= 0) out.push_back(p);
        if ((dp < 0 && dq > 0) || (dp > 0 && dq < 0)) out.push_back(p + (dp / (dp - dq)) * (q - p));
    }
    return out;
}

struct Range {
    double lo, hi;
    bool Empty() const { return !(lo <= hi); }
};

// The s for which p + s d satisfies every half-plane.
Range ClipLine(V2 p, V2 d, const std::vector<HalfPlane>& planes) {
    Range r{-kInfinity, kInfinity};
    for (const HalfPlane& h : planes) {
        const double rate = Dot(h.a, d), room = h.w - Dot(h.a, p);
        if (rate == 0) {
            if (room < 0) return {kInfinity, -kInfinity};
            continue;
        }
        const double s = room / rate;
        if (rate > 0)
            r.hi = std::min(r.hi, s);
        else
            r.lo = std::max(r.lo, s);
    }
    return r;
}

class Sketch {
  public:
    Sketch(const PlacedLattice& l, const PointRule& rule, const PixelWindow& w,
           const MarkPixel& mark)
        : l_(l), rule_(rule), w_(w), g_(w.pixelTwips), mark_(mark) {}

    bool Run();

  private:
    void Region(V2 nu, V2 nv, int exponent);
    void Reduce(V2 nu, V2 nv);
    void FillRegion();
    void LineRows();
    void PointRows();
    void Segment(V2 a, V2 b);
    void MarkSpan(int j, double xa, double xb);
    int Column(double x) const { return platform::PixelIndex(l_.cx + x, g_); }
    int Row(double y) const { return platform::PixelIndex(l_.cy + y, g_); }
    // The whole t whose rows, t * spacing from the origin's, meet the region.
    Range RowsMeeting(double spacing) const;

    const PlacedLattice& l_;
    const PointRule& rule_;
    const PixelWindow& w_;
    const double g_;
    const MarkPixel& mark_;

    // Positions relative to the lattice's origin (cx, cy), in twips, y down.
    std::vector<HalfPlane> planes_;  // the region: box and index strips
    Polygon region_;
    // The reduced basis in twips, the unit vector along e and the normal of
    // the rows, the rows' spacing (infinite for a single row) and e's length.
    V2 e_, f_, along_, across_;
    double spacing_ = 0, step_ = 0;
};

bool Sketch::Run() {
    for (double v : {l_.cx, l_.cy, l_.scale, l_.px, l_.py, l_.qx, l_.qy, rule_.left, rule_.right,
                     rule_.top, rule_.bottom, g_})
        if (!std::isfinite(v)) return false;
    if (!(g_ > 0) || std::isnan(rule_.hmax) || std::isnan(rule_.kmax)) return false;
    const V2 u{l_.scale * l_.px, -l_.scale * l_.py}, v{l_.scale * l_.qx, -l_.scale * l_.qy};
    for (double c : {u.x, u.y, v.x, v.y})
        if (!std::isfinite(c)) return false;
    const double largest = std::max({std::abs(u.x), std::abs(u.y), std::abs(v.x), std::abs(v.y)});
    if (largest == 0) return false;
    if (rule_.hmax < 0 || rule_.kmax < 0 || w_.i0 > w_.i1 || w_.j0 > w_.j1) return true;

    // Normalised so that the largest component lies in [1, 2): nothing in
    // the reduction over- or underflows that would not be far off the pixel
    // scale anyway.
    const int exponent = std::ilogb(largest);
    const V2 nu = Scaled(u, -exponent), nv = Scaled(v, -exponent);
    Region(nu, nv, exponent);
    if (region_.empty()) return true;
    Reduce(nu, nv);
    e_ = Scaled(e_, exponent);
    f_ = Scaled(f_, exponent);
    spacing_ = std::ldexp(spacing_, exponent);
    step_ = std::ldexp(step_, exponent);

    if (step_ <= g_ / 2 && spacing_ <= g_ / 2)
        FillRegion();
    else if (step_ <= g_ / 4)
        LineRows();
    else
        PointRows();
    return true;
}

// The box, strictly inside, and the strips of the index ranges: |h| <= hmax
// is |r x v^| <= hmax |u x v^| for the unit vector v^ along v.
void Sketch::Region(V2 nu, V2 nv, int exponent) {
    const double t = kTolerance;
    planes_ = {{{1, 0}, rule_.right - l_.cx + t},
               {{-1, 0}, l_.cx - rule_.left + t},
               {{0, 1}, rule_.bottom - l_.cy + t},
               {{0, -1}, l_.cy - rule_.top + t}};
    auto strip = [&](V2 along, V2 other, double limit) {
        const double length = Length(along);
        if (!(length > 0)) return;
        const V2 unit = (1 / length) * along;
        const double reach = std::abs(Cross(other, unit));
        const double width = reach == 0 ? 0 : std::ldexp(limit * reach, exponent);
        if (!(width < kInfinity)) return;
        const V2 normal{unit.y, -unit.x};
        planes_.push_back({normal, width + t});
        planes_.push_back({-1 * normal, width + t});
    };
    strip(nv, nu, rule_.hmax);
    strip(nu, nv, rule_.kmax);
    region_ = {{rule_.left - l_.cx, rule_.top - l_.cy},
               {rule_.right - l_.cx, rule_.top - l_.cy},
               {rule_.right - l_.cx, rule_.bottom - l_.cy},
               {rule_.left - l_.cx, rule_.bottom - l_.cy}};
    for (std::size_t i = 4; i < planes_.size() && !region_.empty(); ++i)
        region_ = Clip(region_, planes_[i]);
}

// Lagrange's reduction with rounded multiples: e the shortest vector, the
// rows along it spacing apart. Vectors that come out parallel (a lattice on
// one line) leave a single row.
void Sketch::Reduce(V2 nu, V2 nv) {
    V2 e = nu, f = nv;
    auto order = [&] {
        if (Length(e) > Length(f)) std::swap(e, f);
    };
    for (int step = 0; step < kReductionSteps; ++step) {
        order();
        const double le = Length(e);
        if (!(le > 0)) break;
        const double n = std::floor(Dot(e, f) / le / le + 0.5);
        if (n == 0 || !std::isfinite(n)) break;
        f = f - n * e;
    }
    order();
    if (!(Length(e) > 0)) std::swap(e, f);  // one vector vanished: the other spans the line
    e_ = e;
    f_ = f;
    const double le = Length(e);
    along_ = (1 / le) * e;
    across_ = {-along_.y, along_.x};
    const double cross = std::abs(Cross(e, f));
    spacing_ = cross > 0 ? cross / le : kInfinity;
    step_ = le;
}

Range Sketch::RowsMeeting(double spacing) const {
    double lo = kInfinity, hi = -kInfinity;
    for (const V2& p : region_) {
        lo = std::min(lo, Dot(across_, p));
        hi = std::max(hi, Dot(across_, p));
    }
    if (!(spacing < kInfinity)) return lo <= 0 && 0 <= hi ? Range{0, 0} : Range{1, 0};
    return {std::ceil(lo / spacing), std::floor(hi / spacing)};
}

void Sketch::MarkSpan(int j, double xa, double xb) {
    if (j < w_.j0 || j > w_.j1) return;
    const int ia = std::max(w_.i0, Column(std::min(xa, xb)));
    const int ib = std::min(w_.i1, Column(std::max(xa, xb)));
    for (int i = ia; i <= ib; ++i) mark_(i, j, g_ * i, g_ * j);
}

// Points and rows closer than half a pixel: every pixel the region reaches
// into holds a point, since no place lies further than a pixel's inscribed
// circle from one.
void Sketch::FillRegion() {
    for (int j = w_.j0; j <= w_.j1; ++j) {
        const double y0 = g_ * (j - 0.5) - l_.cy, y1 = g_ * (j + 0.5) - l_.cy;
        const Polygon band = Clip(Clip(region_, {{0, -1}, -y0}), {{0, 1}, y1});
        if (band.empty()) continue;
        double lo = kInfinity, hi = -kInfinity;
        for (const V2& p : band) lo = std::min(lo, p.x), hi = std::max(hi, p.x);
        MarkSpan(j, lo, hi);
    }
}

// Rows whose points lie far closer than a pixel: each is a line through the
// region, drawn on every pixel it crosses.
void Sketch::LineRows() {
    const Range rows = RowsMeeting(spacing_);
    if (rows.hi - rows.lo > kMaxRows) return FillRegion();
    for (double t = rows.lo; t <= rows.hi; ++t) {
        const V2 base = (t == 0 ? 0 : t * spacing_) * across_;
        const Range s = ClipLine(base, along_, planes_);
        if (s.Empty()) continue;
        Segment(base + s.lo * along_, base + s.hi * along_);
    }
}

// Every pixel the segment from a to b crosses, band of pixel rows by band.
void Sketch::Segment(V2 a, V2 b) {
    if (!(std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y)))
        return;
    const int ja = std::max(w_.j0, Row(std::min(a.y, b.y)));
    const int jb = std::min(w_.j1, Row(std::max(a.y, b.y)));
    const double dy = b.y - a.y;
    for (int j = ja; j <= jb; ++j) {
        double s0 = 0, s1 = 1;
        if (dy != 0) {
            const double y0 = g_ * (j - 0.5) - l_.cy, y1 = g_ * (j + 0.5) - l_.cy;
            s0 = (y0 - a.y) / dy, s1 = (y1 - a.y) / dy;
            if (s0 > s1) std::swap(s0, s1);
            s0 = std::max(s0, 0.0), s1 = std::min(s1, 1.0);
            if (s0 > s1) continue;
        }
        MarkSpan(j, a.x + s0 * (b.x - a.x), a.x + s1 * (b.x - a.x));
    }
}

// Points a good part of a pixel apart or more, each placed from the reduced
// basis along its row.
void Sketch::PointRows() {
    const double signedSpacing = spacing_ < kInfinity ? Dot(across_, f_) : kInfinity;
    const Range rows = RowsMeeting(std::abs(signedSpacing));
    if (rows.hi - rows.lo > kMaxRows) return FillRegion();
    const double sign = signedSpacing < 0 ? -1 : 1;
    long long budget = kPointBudget;
    for (double t = rows.lo; t <= rows.hi && budget > 0; ++t) {
        const V2 base = t == 0 ? V2{} : (sign * t) * f_;
        const Range s = ClipLine(base, e_, planes_);
        if (s.Empty()) continue;
        for (double n = std::ceil(s.lo); n <= std::floor(s.hi) && --budget > 0; ++n) {
            const V2 p = base + n * e_;
            const double x = l_.cx + p.x, y = l_.cy + p.y;
            if (!rule_.Inside(x, y)) continue;
            const int i = Column(p.x), j = Row(p.y);
            if (i >= w_.i0 && i <= w_.i1 && j >= w_.j0 && j <= w_.j1) mark_(i, j, x, y);
        }
    }
}

}  // namespace

bool SketchLattice(const PlacedLattice& lattice, const PointRule& rule, const PixelWindow& window,
                   const MarkPixel& mark) {
    return Sketch(lattice, rule, window, mark).Run();
}

}  // namespace quorvex::render
