// Lines kept inside an axis-parallel box.
#pragma once

#include "platform/Surface.h"

namespace quorvex::render {

// value := lower when below it, then := upper when above it.
void ClampValue(double& value, const double& lower, const double& upper);

// Draws the part of the segment inside [xmin, xmax] x [ymin, ymax] (edges
// inclusive) with the current line width; at most one line.
void DrawClippedLine(platform::Surface& s, double x1, double y1, double x2, double y2,
                     double xmin, double xmax, double ymin, double ymax, model::Rgb colour);

}  // namespace quorvex::render
