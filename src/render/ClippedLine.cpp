// Placeholder until the clipping lands.
#include "render/ClippedLine.h"
namespace quorvex::render {
void ClampValue(double& value, const double& lower, const double& upper) { if (value < lower) value = lower; if (value > upper) value = upper; }
void DrawClippedLine(platform::Surface& s, double x1, double y1, double x2, double y2, double, double, double, double, model::Rgb c) { s.Line(x1, y1, x2, y2, c); }
}
