// The lines of one direction of a lattice net, clipped to a box: for k from
// -reach to reach, the segment from k u - extent w to k u + extent w. When
// thousands of them cross the box, most of them clip and round to the same
// pixels; these helpers find each distinct drawn line once, from the places
// where the rounded end points change.
#pragma once

#include <optional>
#include <vector>

#include "platform/Surface.h"

namespace quorvex::render {

struct LineFamily {
    double cx = 0, cy = 0, scale = 0;
    double ux = 0, uy = 0;  // from one line to the next, lattice units
    double wx = 0, wy = 0;  // along the lines, lattice units
    double reach = 0;       // k from -reach to reach
    double extent = 0;      // each line runs from k u - extent w to k u + extent w

    // The unclipped segment of line k in twips, computed as the drawing loop does.
    platform::Segment At(double k) const;
};

struct ClipBox {
    double left = 0, right = 0, top = 0, bottom = 0;
};

// The k whose lines can reach the box (every k from -reach to reach whose
// clipped line is drawn lies inside), widened by the rounding margin; lo > hi
// when none. No value when the geometry has no finite answer.
struct LineSpan {
    double lo = 1, hi = 0;
    double Count() const { return lo > hi ? 0 : hi - lo + 1; }
};
std::optional<LineSpan> LinesReaching(const LineFamily& family, const ClipBox& box);

// The clipped lines of the family as DrawClippedLine draws them, one for each
// distinct picture on a surface with pixels of pixelTwips twips, appended to
// `lines`. When the geometry has no answer (values that are no finite number,
// an axis test hanging on rounding with too many lines to try each), the lines
// within 1001 of the centre.
void DistinctClippedLines(const LineFamily& family, const ClipBox& box, double pixelTwips,
                          std::vector<platform::Segment>& lines);

}  // namespace quorvex::render
