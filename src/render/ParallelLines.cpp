// Distinct clipped lines of a family of parallel net lines.
//
// DrawClippedLine draws line k with end points that, in exact arithmetic,
// are piecewise linear in k: the clipped segment of the box, or for a nearly
// axis-parallel line its clamped ends. The rounded end points, and so the
// pixels drawn, change only where one of those linear pieces crosses the edge
// between two pixels, where the pieces meet, or where the line enters or
// leaves the box. Every line that is drawn is evaluated with DrawClippedLine
// itself: all k within the rounding margin of such a place, and one k of each
// stretch in between, where every line gives the same pixels.
#include "render/ParallelLines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "render/ClippedLine.h"
#include "render/PixelLattice.h"

namespace quorvex::render {

using platform::Segment;

namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Must match DrawClippedLine: below this difference a segment counts as
// vertical or horizontal.
constexpr double kAxisThreshold = 0.1;
// Up to this many lines reaching the box each is simply evaluated.
constexpr double kDirectLines = 4096;
// Lines evaluated each side of a place where the pixels change; beyond it
// (only for nets far finer than any zoom a user reaches) the nearest ones.
constexpr double kMaxBand = 24;
// Lines each side of the centre when the geometry has no answer, as the net
// was bounded before it learnt to skip what cannot be seen.
constexpr double kLegacyLines = 1001;

// Records the line DrawClippedLine would draw, instead of drawing it.
class CaptureSurface : public platform::Surface {
  public:
    bool drawn = false;
    Segment line{};
    model::Rgb BackColor() const override { return 0; }

  protected:
    void DoLine(double x1, double y1, double x2, double y2, model::Rgb) override {
        drawn = true;
        line = Segment{x1, y1, x2, y2};
    }
    void DoRectangle(double, double, double, double, model::Rgb, bool) override {}
    void DoCircle(double, double, double, model::Rgb) override {}
    void DoPrint(const std::string&) override {}
};

struct Range {
    double lo, hi;
};

struct Linear {
    double c0 = 0, c1 = 0;
    double At(double k) const { return c0 + c1 * k; }
};

Linear Minus(Linear a, Linear b) {
    return {a.c0 - b.c0, a.c1 - b.c1};
}

// The next whole number after k; beyond 2^53 the next double, all of which
// are whole there.
double NextWhole(double k) {
    return k + 1 > k ? k + 1 : std::nextafter(k, kInfinity);
}

// A place in k where the drawn pixels may change, and how fast (twips per
// unit of k) the quantity deciding it moves there.
struct Breakpoint {
    double k, rate;
};

// The exact-arithmetic picture of DrawClippedLine over the family: where
// lines are drawn, where their pieces meet, and their end points.
class LineModel {
  public:
    LineModel(const LineFamily& f, const ClipBox& b);

    bool certain = true;  // the axis tests do not hang on rounding
    double margin = 0;    // twips: bound of the rounding of the drawing code
    Range visible{-kInfinity, kInfinity};
    std::vector<Breakpoint> structure;
    std::array<double, 4> Ends(double k) const;
    double Widening() const;

  private:
    void BoundRounding(const LineFamily& f);
    void Constrain(Linear nonNegative, double toTwips);
    void Meet(Linear a, Linear b, double toTwips);

    enum class Branch { Vertical, Horizontal, General } branch_ = Branch::General;
    const ClipBox& box_;
    Linear ax_, ay_;              // start point of line k
    double dx_ = 0, dy_ = 0;      // end minus start
    Linear lower_[3], upper_[3];  // general: the bounds of the segment parameter
    Linear along_, low_, high_;   // axis-parallel: the fixed coordinate and the two ends
};

LineModel::LineModel(const LineFamily& f, const ClipBox& b) : box_(b) {
    const double ux = f.scale * f.ux, uy = -f.scale * f.uy;
    const double wx = f.scale * f.wx, wy = -f.scale * f.wy;
    const double r = f.extent;
    ax_ = {f.cx - r * wx, ux};
    ay_ = {f.cy - r * wy, uy};
    dx_ = 2 * r * wx;
    dy_ = 2 * r * wy;
    if (std::abs(dx_) < kAxisThreshold)
        branch_ = Branch::Vertical;
    else if (std::abs(dy_) < kAxisThreshold)
        branch_ = Branch::Horizontal;

    const Linear top{b.top, 0}, bottom{b.bottom, 0}, left{b.left, 0}, right{b.right, 0};
    if (branch_ != Branch::General) {
        // The code keeps the start point's coordinate across the line and
        // clamps the two ends along it.
        const bool vertical = branch_ == Branch::Vertical;
        along_ = vertical ? ax_ : ay_;
        const Linear start = vertical ? ay_ : ax_;
        const Linear end{start.c0 + (vertical ? dy_ : dx_), start.c1};
        const bool rising = (vertical ? dy_ : dx_) >= 0;
        low_ = rising ? start : end;
        high_ = rising ? end : start;
        const Linear alongLo = vertical ? left : top, alongHi = vertical ? right : bottom;
        const Linear endLo = vertical ? top : left, endHi = vertical ? bottom : right;
        Constrain(Minus(along_, alongLo), 1);
        Constrain(Minus(alongHi, along_), 1);
        Constrain(Minus(endHi, low_), 1);
        Constrain(Minus(high_, endLo), 1);
        for (const Linear& edge : {endLo, endHi}) {
            Meet(low_, edge, 1);
            Meet(high_, edge, 1);
        }
        BoundRounding(f);
        return;
    }

    // Liang-Barsky: the parameter s of start + s (end - start) runs from the
    // largest lower bound to the smallest upper bound.
    const double length = std::hypot(dx_, dy_);
    auto edge = [](Linear a, double c, double d) { return Linear{(c - a.c0) / d, -a.c1 / d}; };
    const Linear x0 = edge(ax_, b.left, dx_), x1 = edge(ax_, b.right, dx_);
    const Linear y0 = edge(ay_, b.top, dy_), y1 = edge(ay_, b.bottom, dy_);
    lower_[0] = {0, 0};
    upper_[0] = {1, 0};
    lower_[1] = dx_ > 0 ? x0 : x1;
    upper_[1] = dx_ > 0 ? x1 : x0;
    lower_[2] = dy_ > 0 ? y0 : y1;
    upper_[2] = dy_ > 0 ? y1 : y0;
    for (const Linear& lo : lower_)
        for (const Linear& hi : upper_) Constrain(Minus(hi, lo), length);
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            Meet(lower_[i], lower_[j], length);
            Meet(upper_[i], upper_[j], length);
        }
    BoundRounding(f);
}

// The rounding of the drawing code grows with |k|: it is bounded for the
// lines that are evaluated, the visible ones widened by the margin itself
// (found again until the widening stays within the bound). Each coordinate
// has its own terms, so that a line along an axis, whose other coordinate
// does not change along it, keeps an exact axis test however long it is.
void LineModel::BoundRounding(const LineFamily& f) {
    const double ux = std::abs(f.scale * f.ux), uy = std::abs(f.scale * f.uy);
    const double wx = std::abs(f.scale * f.wx), wy = std::abs(f.scale * f.wy);
    const double r = std::abs(f.extent), reach = std::abs(f.reach);
    const bool none = !(visible.lo <= visible.hi);
    const double far = none ? 0 : std::max(std::abs(visible.lo), std::abs(visible.hi));
    double kMax = std::min(reach, far + 2);
    double roundingX = 0, roundingY = 0;
    for (int pass = 0;; ++pass) {
        roundingX = 1e-12 + 64 * kEpsilon * (std::abs(f.cx) + 2 * (kMax * ux + r * wx));
        roundingY = 1e-12 + 64 * kEpsilon * (std::abs(f.cy) + 2 * (kMax * uy + r * wy));
        margin = std::max(roundingX, roundingY);
        // The slanted case clips along the slope, which magnifies the
        // rounding of the end points by up to the ratio of the sides.
        if (branch_ == Branch::General)
            margin *=
                2 + std::max(std::abs(dx_), std::abs(dy_)) / std::min(std::abs(dx_), std::abs(dy_));
        if (kMax == reach) break;
        const double needed = std::min(reach, far + Widening() + 2);
        if (needed <= kMax) break;
        kMax = pass < 4 ? needed : reach;
    }
    if (std::abs(std::abs(dx_) - kAxisThreshold) <= roundingX) certain = false;
    if (branch_ != Branch::Vertical && std::abs(std::abs(dy_) - kAxisThreshold) <= roundingY)
        certain = false;
}

// Lines beyond the visible stretch that rounding may still bring into the box.
double LineModel::Widening() const {
    double widen = 2;
    for (const Breakpoint& b : structure)
        if (b.k == visible.lo || b.k == visible.hi)
            widen = std::max(widen, b.rate > 0 ? margin / b.rate + 2 : kInfinity);
    return widen;
}

void LineModel::Constrain(Linear f, double toTwips) {
    if (f.c1 == 0) {
        if (f.c0 < 0) visible = {kInfinity, -kInfinity};
        return;
    }
    const double root = -f.c0 / f.c1;
    if (f.c1 > 0)
        visible.lo = std::max(visible.lo, root);
    else
        visible.hi = std::min(visible.hi, root);
    structure.push_back({root, std::abs(f.c1) * toTwips});
}

void LineModel::Meet(Linear a, Linear b, double toTwips) {
    const Linear d = Minus(a, b);
    if (d.c1 == 0) return;
    structure.push_back({-d.c0 / d.c1, std::abs(d.c1) * toTwips});
}

std::array<double, 4> LineModel::Ends(double k) const {
    if (branch_ != Branch::General) {
        const bool vertical = branch_ == Branch::Vertical;
        const double lo = vertical ? box_.top : box_.left, hi = vertical ? box_.bottom : box_.right;
        const double a = along_.At(k);
        const double e0 = std::clamp(low_.At(k), lo, hi), e1 = std::clamp(high_.At(k), lo, hi);
        if (vertical) return {a, e0, a, e1};
        return {e0, a, e1, a};
    }
    double s0 = -kInfinity, s1 = kInfinity;
    for (const Linear& lo : lower_) s0 = std::max(s0, lo.At(k));
    for (const Linear& hi : upper_) s1 = std::min(s1, hi.At(k));
    const double x = ax_.At(k), y = ay_.At(k);
    return {x + s0 * dx_, y + s0 * dy_, x + s1 * dx_, y + s1 * dy_};
}

bool Finite(const LineFamily& f, const ClipBox& b) {
    for (double v : {f.cx, f.cy, f.scale, f.ux, f.uy, f.wx, f.wy, f.reach, f.extent, b.left,
                     b.right, b.top, b.bottom})
        if (!std::isfinite(v)) return false;
    return true;
}

// Whether two vectors are parallel (or one vanishes), without overflow.
bool Parallel(double ax, double ay, double bx, double by) {
    const double a = std::max(std::abs(ax), std::abs(ay)), b = std::max(std::abs(bx), std::abs(by));
    if (a == 0 || b == 0) return true;
    const int ea = std::ilogb(a), eb = std::ilogb(b);
    return std::ldexp(ax, -ea) * std::ldexp(by, -eb) == std::ldexp(ay, -ea) * std::ldexp(bx, -eb);
}

// The whole k of the visible stretch widened by the margin, within the family.
Range Reaching(const LineFamily& f, const LineModel& model) {
    Range r{-f.reach, f.reach};
    // Steps along the lines themselves put every line on the centre's: only
    // the loops' own indices count then, not rounding far beyond them.
    if (Parallel(f.ux, f.uy, f.wx, f.wy)) {
        r.lo = std::max(r.lo, -kIndexLimit);
        r.hi = std::min(r.hi, kIndexLimit);
    }
    if (!model.certain) return r;
    const double widen = model.Widening();
    r.lo = std::max(r.lo, std::floor(model.visible.lo - widen));
    r.hi = std::min(r.hi, std::ceil(model.visible.hi + widen));
    return r;
}

}  // namespace

Segment LineFamily::At(double k) const {
    return Segment{cx + scale * (k * ux - extent * wx), cy - scale * (k * uy - extent * wy),
                   cx + scale * (k * ux + extent * wx), cy - scale * (k * uy + extent * wy)};
}

std::optional<LineSpan> LinesReaching(const LineFamily& family, const ClipBox& box) {
    if (!Finite(family, box)) return std::nullopt;
    const LineModel model(family, box);
    const Range r = Reaching(family, model);
    if (std::isnan(r.lo) || std::isnan(r.hi)) return std::nullopt;
    return LineSpan{r.lo, r.hi};
}

void DistinctClippedLines(const LineFamily& family, const ClipBox& box, double pixelTwips,
                          std::vector<Segment>& lines) {
    const double reach = std::isnan(family.reach) ? 0 : family.reach;
    Range span{-reach, reach};
    std::optional<LineModel> model;
    if (Finite(family, box)) {
        model.emplace(family, box);
        span = Reaching(family, *model);
        if (std::isnan(span.lo) || std::isnan(span.hi)) model.reset();
    }
    if (!model || !model->certain) {
        span.lo = std::max(span.lo, -kLegacyLines);
        span.hi = std::min(span.hi, kLegacyLines);
        if (!(span.lo <= span.hi)) return;
    }

    CaptureSurface capture;
    std::vector<std::pair<std::array<int, 4>, Segment>> found;
    auto evaluate = [&](double k) {
        const Segment s = family.At(k);
        capture.drawn = false;
        DrawClippedLine(capture, s.x1, s.y1, s.x2, s.y2, box.left, box.right, box.top, box.bottom,
                        0);
        if (!capture.drawn) return;
        const Segment& c = capture.line;
        const std::array<int, 4> key{
            platform::PixelIndex(c.x1, pixelTwips), platform::PixelIndex(c.y1, pixelTwips),
            platform::PixelIndex(c.x2, pixelTwips), platform::PixelIndex(c.y2, pixelTwips)};
        // Neighbouring lines mostly round alike: one of each stretch is kept.
        if (found.empty() || found.back().first != key) found.push_back({key, c});
    };
    auto finish = [&] {
        std::sort(found.begin(), found.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i < found.size(); ++i)
            if (i == 0 || found[i].first != found[i - 1].first) lines.push_back(found[i].second);
    };

    if (span.hi - span.lo + 1 <= kDirectLines || !model || !model->certain) {
        for (double k = span.lo; k <= span.hi; k = NextWhole(k)) evaluate(k);
        finish();
        return;
    }

    // The places where the pixels may change, each with the k around it
    // that rounding could put on either side.
    std::vector<Range> bands;
    // Where rounding alone moves a line by more than a pixel, no count of
    // lines the loops could finish is drawn, and the picture is what the eye
    // sees of the family: the line nearest each place and one each side.
    const double maxBand = model->margin > pixelTwips ? 1 : kMaxBand;
    auto around = [&](double k, double rate) {
        if (!std::isfinite(k)) return;
        const double m = std::min(rate > 0 ? model->margin / rate + 1 : maxBand, maxBand);
        const double lo = std::max(span.lo, std::ceil(k - m));
        const double hi = std::min(span.hi, std::floor(k + m));
        if (lo <= hi) bands.push_back({lo, hi});
    };
    std::vector<double> cuts{std::max(span.lo, model->visible.lo),
                             std::min(span.hi, model->visible.hi)};
    for (const Breakpoint& b : model->structure) {
        around(b.k, b.rate);
        if (b.k > cuts[0] && b.k < cuts[1]) cuts.push_back(b.k);
    }
    if (cuts[0] < cuts[1]) {
        std::sort(cuts.begin(), cuts.end());
        for (std::size_t p = 0; p + 1 < cuts.size(); ++p) {
            const double ka = cuts[p], kb = cuts[p + 1];
            if (!(kb > ka)) continue;
            const std::array<double, 4> ea = model->Ends(ka), eb = model->Ends(kb);
            for (int c = 0; c < 4; ++c) {
                const double va = ea[c], vb = eb[c];
                if (va == vb) continue;
                const double lo = std::min(va, vb), hi = std::max(va, vb);
                // The clipped ends lie in the box: only the pixel edges
                // within it (and one beyond) can change a line's pixels.
                const bool across = c % 2 == 0;
                const double edgeLo = across ? box.left : box.top;
                const double edgeHi = across ? box.right : box.bottom;
                const double first = std::max(std::ceil(lo / pixelTwips - 0.5),
                                              std::floor(edgeLo / pixelTwips - 0.5) - 1);
                const double last = std::min(std::floor(hi / pixelTwips - 0.5),
                                             std::ceil(edgeHi / pixelTwips - 0.5) + 1);
                if (!(last - first < 1e6)) continue;
                const double rate = (hi - lo) / (kb - ka);
                for (double n = first; n <= last; ++n) {
                    const double level = pixelTwips * (n + 0.5);
                    around(ka + (level - va) / (vb - va) * (kb - ka), rate);
                }
            }
        }
    }

    std::sort(bands.begin(), bands.end(), [](Range a, Range b) { return a.lo < b.lo; });
    double next = span.lo;  // the first k not yet covered
    for (const Range& band : bands) {
        if (band.hi < next) continue;
        const double from = std::max(band.lo, next);
        if (from > next) evaluate(std::floor(next / 2 + (from - 1) / 2));
        for (double k = from; k <= band.hi; k = NextWhole(k)) evaluate(k);
        next = NextWhole(band.hi);
    }
    if (next <= span.hi) evaluate(std::floor(next / 2 + span.hi / 2));
    finish();
}

}  // namespace quorvex::render
