#include "support/RecordingSurface.h"

namespace quorvex::testing {

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
    calls.push_back({filled ? DrawCall::Kind::FilledRectangle : DrawCall::Kind::Rectangle, x1, y1,
                     x2, y2, 0, c, {}, State()});
}

void RecordingSurface::DoCircle(double x, double y, double r, model::Rgb c) {
    calls.push_back({DrawCall::Kind::Circle, x, y, 0, 0, r, c, {}, State()});
}

void RecordingSurface::DoPrint(const std::string& text) {
    calls.push_back({DrawCall::Kind::Print, State().currentX, State().currentY, 0, 0, 0,
                     State().textColor, text, State()});
}

}  // namespace quorvex::testing
