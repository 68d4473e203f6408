// A drawing surface that logs every call with its arguments and the drawing
// state at the moment of the call, so tests assert exactly what was drawn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace quorvex::testing {

using platform::DrawState;
using platform::FillStyle;
using platform::LineStyle;
using platform::PenMode;

struct DrawCall {
    enum class Kind { Line, Rectangle, FilledRectangle, Circle, Print };
    Kind kind = Kind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // line/rectangle corners; circle centre in x1, y1
    double r = 0;                           // circle radius
    model::Rgb color = 0;
    std::string text;  // Print
    DrawState state;   // drawing state at the call
};

class RecordingSurface : public platform::Surface {
public:
    explicit RecordingSurface(model::Rgb backColor = model::RGB(240, 240, 240))
        : backColor_(backColor) {}

    model::Rgb BackColor() const override { return backColor_; }

    std::vector<DrawCall> calls;

    std::vector<DrawCall> Of(DrawCall::Kind kind) const;
    std::vector<DrawCall> Where(const std::function<bool(const DrawCall&)>& pred) const;
    void Clear() { calls.clear(); }

protected:
    void DoLine(double x1, double y1, double x2, double y2, model::Rgb c) override;
    void DoRectangle(double x1, double y1, double x2, double y2, model::Rgb c,
                     bool filled) override;
    void DoCircle(double x, double y, double r, model::Rgb c) override;
    void DoPrint(const std::string& text) override;

private:
    model::Rgb backColor_;
};

}  // namespace quorvex::testing
