// Lines kept inside an axis-parallel box: the basis vectors of the pattern and
// the lattice net of the real-space box.
#include "render/ClippedLine.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorvex::render {

namespace {

// Below this difference (drawing units) a segment counts as vertical or horizontal.
constexpr double kAxisThreshold = 0.1;

// Extreme end points can overflow in the slope arithmetic; such a line is
// dropped instead of reaching the surface as inf or NaN.
void LineIfFinite(platform::Surface& s, double x1, double y1, double x2, double y2,
                  model::Rgb colour) {
    if (std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))
        s.Line(x1, y1, x2, y2, colour);
}

}  // namespace

void ClampValue(double& value, const double& lower, const double& upper) {
    if (value < lower) value = lower;
    if (value > upper) value = upper;
}

void DrawClippedLine(platform::Surface& s, double x1, double y1, double x2, double y2, double xmin,
                     double xmax, double ymin, double ymax, model::Rgb colour) {
    if (std::abs(x1 - x2) < kAxisThreshold) {
        if (x1 < xmin || x1 > xmax) return;
        double ylo = std::min(y1, y2);
        double yhi = std::max(y1, y2);
        if (ylo > ymax || yhi < ymin) return;
        ClampValue(ylo, ymin, ymax);
        ClampValue(yhi, ymin, ymax);
        LineIfFinite(s, x1, ylo, x1, yhi, colour);
        return;
    }

    if (std::abs(y1 - y2) < kAxisThreshold) {
        if (y1 < ymin || y1 > ymax) return;
        double xlo = std::min(x1, x2);
        double xhi = std::max(x1, x2);
        if (xlo > xmax || xhi < xmin) return;
        ClampValue(xlo, xmin, xmax);
        ClampValue(xhi, xmin, xmax);
        LineIfFinite(s, xlo, y1, xhi, y1, colour);
        return;
    }

    // General slope: a is the end point with the smaller x.
    double xa = x2, ya = y2, xb = x1, yb = y1;
    if (x1 < x2) {
        xa = x1;
        ya = y1;
        xb = x2;
        yb = y2;
    }
    if (xa > xmax || xb < xmin) return;

    const double slope = (y2 - y1) / (x2 - x1);
    if (xa < xmin) {
        ya = (xmin - xa) * slope + ya;
        xa = xmin;
    }
    if (xb > xmax) {
        yb = (xmax - xb) * slope + yb;
        xb = xmax;
    }
    if (ya > yb) {
        std::swap(xa, xb);
        std::swap(ya, yb);
    }
    if (ya > ymax || yb < ymin) return;
    if (ya < ymin) {
        xa = (ymin - ya) / slope + xa;
        ya = ymin;
    }
    if (yb > ymax) {
        xb = (ymax - yb) / slope + xb;
        yb = ymax;
    }
    LineIfFinite(s, xa, ya, xb, yb, colour);
}

}  // namespace quorvex::render
