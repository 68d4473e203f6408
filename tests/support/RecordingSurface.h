// A drawing surface for the tests that logs every call with its arguments and
// the drawing state at the moment of the call, so tests assert exactly what
// was drawn.
#pragma once

#include <string>
#include <vector>

#include "platform/Surface.h"

namespace quorvex::testing {

using platform::DrawState;
using platform::FillStyle;
using platform::LineStyle;

struct DrawCall {
    enum class Kind { Line, Rectangle, FilledRectangle, Circle, Print };
    Kind kind = Kind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // line/rectangle corners; circle centre in x1, y1
    double r = 0;                           // circle radius
    model::Rgb color = 0;
    std::string text;  // Print, at the state's current position in its text colour
    DrawState state;   // drawing state at the call

    // Whether a line or rectangle runs from (x1, y1) to (x2, y2), to 1e-6;
    // eitherWay: or the other way round.
    bool Joins(double ax, double ay, double bx, double by, bool eitherWay = false) const;
};

class RecordingSurface : public platform::Surface {
  public:
    explicit RecordingSurface(model::Rgb backColor = model::RGB(240, 240, 240))
        : backColor_(backColor) {}
    model::Rgb BackColor() const override { return backColor_; }

    std::vector<DrawCall> calls;
    std::vector<DrawCall> Of(DrawCall::Kind kind) const {
        std::vector<DrawCall> out;
        for (const DrawCall& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }

  protected:
    void DoLine(double x1, double y1, double x2, double y2, model::Rgb c) override {
        calls.push_back({DrawCall::Kind::Line, x1, y1, x2, y2, 0, c, {}, State()});
    }
    void DoRectangle(double x1, double y1, double x2, double y2, model::Rgb c,
                     bool filled) override {
        const auto kind = filled ? DrawCall::Kind::FilledRectangle : DrawCall::Kind::Rectangle;
        calls.push_back({kind, x1, y1, x2, y2, 0, c, {}, State()});
    }
    void DoCircle(double x, double y, double r, model::Rgb c) override {
        calls.push_back({DrawCall::Kind::Circle, x, y, 0, 0, r, c, {}, State()});
    }
    void DoPrint(const std::string& text) override {
        calls.push_back({DrawCall::Kind::Print, 0, 0, 0, 0, 0, 0, text, State()});
    }

  private:
    model::Rgb backColor_;
};

}  // namespace quorvex::testing
