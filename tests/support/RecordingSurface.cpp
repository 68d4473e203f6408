#include "support/RecordingSurface.h"

#include <cmath>

namespace quorvex::testing {

bool DrawCall::Joins(double ax, double ay, double bx, double by, bool eitherWay) const {
    const auto near = [](double u, double v) { return std::abs(u - v) < 1e-6; };
    return (near(x1, ax) && near(y1, ay) && near(x2, bx) && near(y2, by)) ||
           (eitherWay && near(x1, bx) && near(y1, by) && near(x2, ax) && near(y2, ay));
}

std::vector<DrawCall> RecordingSurface::Of(DrawCall::Kind kind) const {
    return Where([kind](const DrawCall& c) { return c.kind == kind; });
}

std::vector<DrawCall> RecordingSurface::Where(
    const std::function<bool(const DrawCall&)>& pred) const {
    std::vector<DrawCall> out;
    for (const auto& c : calls)
        if (pred(c)) out.push_back(c);
    return out;
}

void RecordingSurface::DoLine(double x1, double y1, double x2, double y2, model::Rgb c) {
    calls.push_back({DrawCall::Kind::Line, x1, y1, x2, y2, 0, c, {}, State()});
}

void RecordingSurface::DoRectangle(double x1, double y1, double x2, double y2, model::Rgb c,
                                   bool filled) {
    calls.push_back({filled ? DrawCall::Kind::FilledRectangle : DrawCall::Kind::Rectangle,
                     x1,
                     y1,
                     x2,
                     y2,
                     0,
                     c,
                     {},
                     State()});
}

void RecordingSurface::DoCircle(double x, double y, double r, model::Rgb c) {
    calls.push_back({DrawCall::Kind::Circle, x, y, 0, 0, r, c, {}, State()});
}

void RecordingSurface::DoPrint(const std::string& text) {
    calls.push_back({DrawCall::Kind::Print, State().currentX, State().currentY, 0, 0, 0,
                     State().textColor, text, State()});
}

void FiniteCheckingSurface::DoLine(double x1, double y1, double x2, double y2, model::Rgb) {
    for (double v : {x1, y1, x2, y2}) nonFinite += !std::isfinite(v);
}

void FiniteCheckingSurface::DoCircle(double x, double y, double r, model::Rgb) {
    ++circles;
    for (double v : {x, y, r}) nonFinite += !std::isfinite(v);
}

}  // namespace quorvex::testing
