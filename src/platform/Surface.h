// The window's drawing surface, in twips (x to the right, y downwards), with
// the drawing state the window keeps until it is changed. No Qt here: render/
// draws through this interface, the window supplies a QImage behind it and the
// tests a recording one.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "model/Basics.h"

namespace quorvex::platform {

using model::Rgb;

enum class LineStyle { Solid, Dotted };
enum class FillStyle { Solid, Transparent };
enum class PenMode { Copy, Merge };

struct DrawState {
    int lineWidth = 1;  // pixels
    LineStyle lineStyle = LineStyle::Solid;
    FillStyle fillStyle = FillStyle::Transparent;
    Rgb fillColor = 0;
    PenMode penMode = PenMode::Copy;
    Rgb textColor = 0;
    double currentX = 0;
    double currentY = 0;
    bool retained = true;  // off: drawing is shown but lost at the next redraw
};

struct Point {
    double x, y;
};

struct Segment {
    double x1, y1, x2, y2;
};

// lround(twips / pixelTwips): the pixel a coordinate lands on when a surface
// rounds to whole pixels. Far-off values are pulled in to +-2^20 pixels, which
// lie outside any window, and a value that is no number to the low end.
inline int PixelIndex(double twips, double pixelTwips) {
    constexpr double limit = 1 << 20;
    double px = twips / pixelTwips;
    if (std::isnan(px)) px = -limit;
    px = px < -limit ? -limit : px > limit ? limit : px;
    // Halves away from zero, as lround; px less its whole part is exact.
    const int whole = static_cast<int>(px);
    const double rest = px - whole;
    return whole + (rest >= 0.5) - (rest <= -0.5);
}

class Surface {
  public:
    virtual ~Surface() = default;

    // Line between two points in colour c; the current position ends at (x2, y2).
    void Line(double x1, double y1, double x2, double y2, Rgb c);
    // Line from the current position to (x, y); the current position ends there.
    void LineTo(double x, double y, Rgb c);
    // Rectangle outlined in c, interior per fill style and fill colour.
    void Rectangle(double x1, double y1, double x2, double y2, Rgb c);
    // Rectangle filled and outlined in c.
    void FilledRectangle(double x1, double y1, double x2, double y2, Rgb c);
    // Full circle outlined in c, interior per fill style and fill colour.
    void Circle(double x, double y, double r, Rgb c);
    // Text with its top-left corner at the current position, in the text colour.
    void Print(const std::string& text);

    // Many circles or lines of one colour with the same drawing state: the
    // picture of the calls of Circle or Line in turn, drawn in one go. The
    // current position ends where the last call would leave it.
    void Circles(const std::vector<Point>& centres, double r, Rgb c);
    void Lines(const std::vector<Segment>& lines, Rgb c);

    // Twips per pixel when the surface rounds every coordinate to whole
    // pixels with PixelIndex, so that two calls on the same pixels give the
    // same picture; 0 when every call counts on its own (as when recording).
    virtual double PixelTwips() const { return 0; }

    void SetLineWidth(int pixels) { state_.lineWidth = pixels; }
    void SetLineStyle(LineStyle s) { state_.lineStyle = s; }
    void SetFillStyle(FillStyle s) { state_.fillStyle = s; }
    void SetFillColor(Rgb c) { state_.fillColor = c; }
    void SetPenMode(PenMode m) { state_.penMode = m; }
    void SetTextColor(Rgb c) { state_.textColor = c; }
    void SetCurrentPosition(double x, double y) {
        state_.currentX = x;
        state_.currentY = y;
    }
    void SetRetained(bool on) { state_.retained = on; }

    const DrawState& State() const { return state_; }
    virtual Rgb BackColor() const = 0;

  protected:
    // The concrete surfaces draw with the state as it stands at the call.
    virtual void DoLine(double x1, double y1, double x2, double y2, Rgb c) = 0;
    virtual void DoRectangle(double x1, double y1, double x2, double y2, Rgb c, bool filled) = 0;
    virtual void DoCircle(double x, double y, double r, Rgb c) = 0;
    virtual void DoPrint(const std::string& text) = 0;
    // One call after another unless the surface has a faster way to the same picture.
    virtual void DoCircles(const std::vector<Point>& centres, double r, Rgb c);
    virtual void DoLines(const std::vector<Segment>& lines, Rgb c);

  private:
    DrawState state_;
};

}  // namespace quorvex::platform
