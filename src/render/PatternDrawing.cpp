#include "render/PatternDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/Layout.h"
#include "model/PatternGeometry.h"
#include "render/ClippedLine.h"
#include "render/PixelLattice.h"

namespace quorvex::render {

using model::Long;
using model::Module1;
using model::Rgb;
using model::Vec2;
using platform::FillStyle;
using platform::PenMode;
using platform::Surface;

namespace {

constexpr Rgb kWhite = model::RGB(255, 255, 255);
constexpr Rgb kBlack = model::RGB(0, 0, 0);
constexpr int kLegendBoxes = 6;
constexpr int kHighestDomainColor = 7;

// Basis vectors reaching further than this are shortened along their own
// direction before clipping: the part inside the box stays the same and the
// clipping arithmetic stays finite.
constexpr double kFarEnd = 1e9;

Rgb DomainColorAt(const Module1& m, Long index) {
    return m.DomainColor[std::clamp<Long>(index, 0, kHighestDomainColor)];
}

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

void DrawBasisVector(const Module1& m, Surface& s, double vx, double vy, Rgb colour) {
    double dx = 0, dy = 0;
    if (!BasisTip(m.PatScale, vx, vy, dx, dy)) return;
    DrawClippedLine(s, m.PatBoxCenterX, m.PatBoxCenterY, m.PatBoxCenterX + dx, m.PatBoxCenterY + dy,
                    m.PatBoxLeft, m.PatBoxLeft + m.PatBoxWidth, m.PatBoxTop,
                    m.PatBoxTop + m.PatBoxHeight, colour);
}

}  // namespace

void SetGlideExtinctions(Module1& m) {
    const Long b = m.BasicGroup;
    m.BasicGlide1 = b == 4 || b == 8 || b == 12;
    m.BasicGlide2 = b == 7 || b == 8 || b == 12;

    const Long g = m.SuperGroup;
    const bool swap = g >= 1 && g <= model::GroupCount && m.GroupAxisSwap[g];
    m.SuperGlide1 = false;
    m.SuperGlide2 = false;
    if (g == 4 || g == 19) {
        m.SuperGlide1 = !swap;
        m.SuperGlide2 = swap;
    } else if (g == 7 || g == 21) {
        m.SuperGlide1 = swap;
        m.SuperGlide2 = !swap;
    } else if (g == 8 || g == 12) {
        m.SuperGlide1 = true;
        m.SuperGlide2 = true;
    }
}

void DrawLatticeSpots(Module1& m, Surface& s, double px, double py, double qx, double qy,
                      Rgb colour, double radius, Long kind, bool includeBases) {
    SetGlideExtinctions(m);
    const bool glide1 = kind < 0 ? m.BasicGlide1 : m.SuperGlide1;
    const bool glide2 = kind < 0 ? m.BasicGlide2 : m.SuperGlide2;

    const Vec2 p{px, py}, q{qx, qy};
    PointRule rule;
    rule.hmax = SpotIndexRange(m.PatBoxWidth, m.PatScale, PerpendicularExtent(p, q));
    rule.kmax = SpotIndexRange(m.PatBoxWidth, m.PatScale, PerpendicularExtent(q, p));
    rule.oddH0Left = glide1;
    rule.odd0KLeft = glide2;

    const Long absKind = std::abs(kind);
    if (includeBases) {
        // Set for the substrate too, so its basis never inherits a wider pen.
        s.SetLineWidth(absKind != 1 ? 3 : 1);
        DrawBasisVector(m, s, px, py, colour);
        DrawBasisVector(m, s, qx, qy, colour);
    }
    s.SetLineWidth(1);

    s.SetPenMode(kind == 3 ? PenMode::Copy : PenMode::Merge);
    s.SetFillColor(colour);
    s.SetFillStyle(absKind == 1 || absKind == 3 ? FillStyle::Transparent : FillStyle::Solid);

    // Strict, so that no spot touches the frame; a coordinate that is not a
    // number fails it too.
    rule.left = m.PatBoxLeft + radius;
    rule.right = m.PatBoxLeft + m.PatBoxWidth - radius;
    rule.top = m.PatBoxTop + radius;
    rule.bottom = m.PatBoxTop + m.PatBoxHeight - radius;
    const PlacedLattice lattice{m.PatBoxCenterX, m.PatBoxCenterY, m.PatScale, px, py, qx, qy};
    DrawLatticePoints(s, lattice, rule, radius, colour, PointOrder::Spots);

    s.SetPenMode(PenMode::Copy);
}

void ApplyDomainOperation(Module1& m, Surface& s, double px, double py, double qx, double qy,
                          Long code, const PatternOptions& o) {
    Vec2 p{px, py}, q{qx, qy};
    model::DomainTransform(m, code, p, q);
    const Long before = m.SubpatternCount;
    model::RegisterSubpattern(m, p, q);
    if (m.SubpatternCount == before) return;
    const Rgb colour = o.paintDomains ? DomainColorAt(m, m.SubpatternCount + 1) : m.DomainColor[1];
    DrawLatticeSpots(m, s, p.x, p.y, q.x, q.y, colour, m.SpotRadius, 2, o.includeBases);
}

PatternResult DrawPatternBody(Module1& m, Surface& s, const PatternOptions& o) {
    PatternResult result;
    model::ComputeReciprocalLattices(m);

    const double left = m.PatBoxLeft, top = m.PatBoxTop;
    const double right = left + m.PatBoxWidth, bottom = top + m.PatBoxHeight;
    s.FilledRectangle(left, top, right, bottom, kBlack);

    if (o.include1x1)
        DrawLatticeSpots(m, s, m.RA1X, m.RA1Y, m.RA2X, m.RA2Y, kWhite, m.SpotRadius + 35, -1,
                         o.includeBases);

    s.Line(left, top, left, bottom, kWhite);
    s.Line(left, bottom, right, bottom, kWhite);
    s.Line(right, bottom, right, top, kWhite);
    s.Line(right, top, left, top, kWhite);

    // The superlattice itself is always subpattern 1.
    m.SubpatternCount = 0;
    model::RegisterSubpattern(m, Vec2{m.RB1X, m.RB1Y}, Vec2{m.RB2X, m.RB2Y});
    const bool painted = o.paintDomains && o.includeDomains;
    DrawLatticeSpots(m, s, m.RB1X, m.RB1Y, m.RB2X, m.RB2Y,
                     painted ? m.DomainColor[2] : m.DomainColor[1], m.SpotRadius, 2,
                     o.includeBases);

    const double unit = m.SpotRadiusDefault;
    double x = model::Line14.X1;
    const double y = model::Line14.Y1;
    s.SetFillStyle(FillStyle::Solid);
    for (int i = 0; i < kLegendBoxes; ++i) {
        s.FilledRectangle(x, y, x + 4 * unit, y + 5 * unit, s.BackColor());
        x += 4 * unit;
    }

    if (!o.includeDomains) return result;

    m.PointOpCount = model::GroupPointOpCount(m.BasicGroup);
    // By value: the domains are made from b1*, b2* as they stand now.
    const double b1x = m.RB1X, b1y = m.RB1Y, b2x = m.RB2X, b2y = m.RB2Y;
    for (Long code : model::GroupOperations(m.BasicGroup))
        ApplyDomainOperation(m, s, b1x, b1y, b2x, b2y, code, o);

    result.domainsDone = true;
    result.caption = std::to_string(m.PointOpCount) + " domain(s),  " +
                     std::to_string(m.SubpatternCount) + " unique subpattern(s)";

    if (painted) {
        x = model::Line14.X1;
        s.SetFillStyle(FillStyle::Solid);
        result.legendShown = true;
        for (Long i = 1; i <= m.SubpatternCount; ++i) {
            s.SetFillColor(DomainColorAt(m, i + 1));
            s.Rectangle(x, y, x + 4 * unit, y + 5 * unit, kBlack);
            x += 4 * unit;
        }
    }

    s.SetFillStyle(FillStyle::Solid);
    s.SetFillColor(kWhite);
    s.Circle(m.PatBoxCenterX, m.PatBoxCenterY, m.SpotRadius, kWhite);
    s.SetFillStyle(FillStyle::Transparent);
    s.Circle(m.PatBoxCenterX, m.PatBoxCenterY, m.SpotRadius + 35, kWhite);
    return result;
}

}  // namespace quorvex::render
