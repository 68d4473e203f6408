#include "render/PatternDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/DomainColours.h"
#include "model/FormLayout.h"
#include "render/ClippedLine.h"
#include "render/PixelLattice.h"

namespace quorvex::render {

using model::kPatternBox;
using model::Rgb;
using model::Vec2;
using platform::FillStyle;
using platform::PenMode;
using platform::Surface;

namespace {

constexpr Rgb kWhite = model::kWhite;
constexpr Rgb kBlack = model::kBlack;
constexpr int kLegendBoxes = 6;
// The legend's boxes are 4 by 5 units of the default spot radius.
constexpr double kLegendUnit = model::kDefaultSpotRadius;
// Substrate spots and highlights are rings this much larger than the spots.
constexpr double kRingMargin = 35;

// Basis vectors reaching further than this are shortened along their own
// direction before clipping: the part inside the box stays the same and the
// clipping arithmetic stays finite.
constexpr double kFarEnd = 1e9;

// Int(width / scale / d) for one index range; a range that is not a positive
// number gives 0.
double SpotIndexRange(double width, double scale, double d) {
    const double range = std::floor((width / scale) / d);
    return range > 0 ? range : 0;
}

// The part of p perpendicular to q, measured as |x| + |y|.
double PerpendicularExtent(const Vec2& p, const Vec2& q) {
    const double f = (p.x * q.x + p.y * q.y) / (q.x * q.x + q.y * q.y);
    const double x = p.x - f * q.x, y = p.y - f * q.y;
    return std::max(std::abs(x + y), std::abs(x - y));
}

// Offset of a basis vector's tip from the box centre, in twips with y down;
// false when it has no direction to draw.
bool BasisTip(double scale, double vx, double vy, double& dx, double& dy) {
    dx = scale * vx;
    dy = -scale * vy;
    if (std::isfinite(dx) && std::isfinite(dy) && std::max(std::abs(dx), std::abs(dy)) <= kFarEnd)
        return true;
    if (!std::isfinite(vx) || !std::isfinite(vy) || std::isnan(scale)) return false;
    const double longer = std::max(std::abs(vx), std::abs(vy));
    if (longer == 0) {
        dx = dy = 0;
        return true;
    }
    const double sign = scale < 0 ? -1.0 : 1.0;
    dx = sign * (vx / longer) * kFarEnd;
    dy = -sign * (vy / longer) * kFarEnd;
    return true;
}

void DrawBasisVector(Surface& s, double scale, Vec2 v, Rgb colour) {
    double dx = 0, dy = 0;
    if (!BasisTip(scale, v.x, v.y, dx, dy)) return;
    const model::Box& box = kPatternBox;
    DrawClippedLine(s, box.CentreX(), box.CentreY(), box.CentreX() + dx, box.CentreY() + dy,
                    box.left, box.Right(), box.top, box.Bottom(), colour);
}

void DrawFrame(Surface& s, const model::Box& box, Rgb colour) {
    const double left = box.left, top = box.top, right = box.Right(), bottom = box.Bottom();
    s.Line(left, top, left, bottom, colour);
    s.Line(left, bottom, right, bottom, colour);
    s.Line(right, bottom, right, top, colour);
    s.Line(right, top, left, top, colour);
}

}  // namespace

void EraseLegend(Surface& s) {
    const double unit = kLegendUnit;
    double x = model::kLegendOrigin.x;
    const double y = model::kLegendOrigin.y;
    s.SetFillStyle(FillStyle::Solid);
    for (int i = 0; i < kLegendBoxes; ++i) {
        s.FilledRectangle(x, y, x + 4 * unit, y + 5 * unit, s.BackColor());
        x += 4 * unit;
    }
}

bool LegendShown(const model::PatternOptions& o) { return o.paintDomains && o.includeDomains; }

int LegendEntryAt(double x, double y, int subpatternCount) {
    const model::TwipPoint origin = model::kLegendOrigin;
    const double u = kLegendUnit;
    if (!(origin.x < x && x < model::kLegendRight && origin.y < y && y < origin.y + 5 * u))
        return 0;
    int entry = 0;
    for (int i = 1; i <= subpatternCount && i <= model::kMaxSubpatterns; ++i) {
        const double left = origin.x + (i - 1) * 4 * u;
        if (left <= x && x < left + 4 * u) entry = i;
    }
    return entry;
}

bool LatticeSpotDrawn(double scale, Vec2 p, Vec2 q, double n1, double n2, double radius) {
    const double hmax = SpotIndexRange(kPatternBox.width, scale, PerpendicularExtent(p, q));
    const double kmax = SpotIndexRange(kPatternBox.width, scale, PerpendicularExtent(q, p));
    if (std::abs(n1) > hmax || std::abs(n2) > kmax) return false;
    const PlacedLattice lattice{
        kPatternBox.CentreX(), kPatternBox.CentreY(), scale, p.x, p.y, q.x, q.y};
    PointRule rule;
    rule.left = kPatternBox.left + radius;
    rule.right = kPatternBox.Right() - radius;
    rule.top = kPatternBox.top + radius;
    rule.bottom = kPatternBox.Bottom() - radius;
    return rule.Inside(lattice.X(n1, n2), lattice.Y(n1, n2));
}

double SubstrateRingRadius(double spotRadius) {
    return spotRadius + kRingMargin;
}

void DrawLatticeSpots(Surface& s, double scale, Vec2 p, Vec2 q, model::Glides glides, Rgb colour,
                      double radius, SpotKind kind, bool includeBases) {
    PointRule rule;
    rule.hmax = SpotIndexRange(kPatternBox.width, scale, PerpendicularExtent(p, q));
    rule.kmax = SpotIndexRange(kPatternBox.width, scale, PerpendicularExtent(q, p));
    rule.oddH0Left = glides.alongFirst;
    rule.odd0KLeft = glides.alongSecond;

    if (includeBases) {
        // Set for the substrate too, so its basis never inherits a wider pen.
        s.SetLineWidth(kind == SpotKind::Substrate ? 1 : 3);
        DrawBasisVector(s, scale, p, colour);
        DrawBasisVector(s, scale, q, colour);
    }
    s.SetLineWidth(1);

    s.SetPenMode(kind == SpotKind::Highlight ? PenMode::Copy : PenMode::Merge);
    s.SetFillColor(colour);
    s.SetFillStyle(kind == SpotKind::Superstructure ? FillStyle::Solid : FillStyle::Transparent);

    // Strict, so that no spot touches the frame; a coordinate that is not a
    // number fails it too.
    rule.left = kPatternBox.left + radius;
    rule.right = kPatternBox.Right() - radius;
    rule.top = kPatternBox.top + radius;
    rule.bottom = kPatternBox.Bottom() - radius;
    const PlacedLattice lattice{kPatternBox.CentreX(), kPatternBox.CentreY(), scale, p.x, p.y, q.x,
                                q.y};
    DrawLatticePoints(s, lattice, rule, radius, colour, PointOrder::Spots);

    s.SetPenMode(PenMode::Copy);
}

void DrawPattern(Surface& s, const model::Pattern& pattern, const model::PatternOptions& o,
                 double spotRadius) {
    s.FilledRectangle(kPatternBox.left, kPatternBox.top, kPatternBox.Right(), kPatternBox.Bottom(),
                      kBlack);
    if (o.include1x1)
        DrawLatticeSpots(s, pattern.scale, pattern.ra1, pattern.ra2, pattern.substrateGlides,
                         kWhite, SubstrateRingRadius(spotRadius), SpotKind::Substrate,
                         o.includeBases);
    DrawFrame(s, kPatternBox, kWhite);

    const bool painted = LegendShown(o);
    auto drawSubpattern = [&](std::size_t i) {
        const model::Subpattern& sub = pattern.subpatterns[i];
        DrawLatticeSpots(s, pattern.scale, sub.p, sub.q, pattern.superGlides,
                         model::SubpatternColour(static_cast<int>(i) + 1, painted), spotRadius,
                         SpotKind::Superstructure, o.includeBases);
    };
    // The superlattice itself is always subpattern 1.
    if (!pattern.subpatterns.empty()) drawSubpattern(0);

    EraseLegend(s);

    if (!pattern.domainsIncluded) return;
    for (std::size_t i = 1; i < pattern.subpatterns.size(); ++i) drawSubpattern(i);

    const double unit = kLegendUnit;
    const double y = model::kLegendOrigin.y;
    if (painted) {
        double x = model::kLegendOrigin.x;
        s.SetFillStyle(FillStyle::Solid);
        for (std::size_t i = 1; i <= pattern.subpatterns.size(); ++i) {
            s.SetFillColor(model::DomainColour(static_cast<int>(i) + 1));
            s.Rectangle(x, y, x + 4 * unit, y + 5 * unit, kBlack);
            x += 4 * unit;
        }
    }

    s.SetFillStyle(FillStyle::Solid);
    s.SetFillColor(kWhite);
    s.Circle(kPatternBox.CentreX(), kPatternBox.CentreY(), spotRadius, kWhite);
    s.SetFillStyle(FillStyle::Transparent);
    s.Circle(kPatternBox.CentreX(), kPatternBox.CentreY(), spotRadius + kRingMargin, kWhite);
}

void HighlightSubpattern(Surface& s, const model::Pattern& pattern, int number, double spotRadius,
                         bool includeBases) {
    if (number < 1 || number > static_cast<int>(pattern.subpatterns.size())) return;
    const model::Subpattern& sub = pattern.subpatterns[number - 1];
    DrawLatticeSpots(s, pattern.scale, sub.p, sub.q, pattern.superGlides,
                     model::DomainColour(number + 1), spotRadius + kRingMargin, SpotKind::Highlight,
                     includeBases);
}

}  // namespace quorvex::render
