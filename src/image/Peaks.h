// Spots in a measured image: a click snapped to the spot under it, the
// strong maxima of the whole image, and how well a set of simulated spot
// positions explains them. Positions are in the image's continuous pixel
// coordinates (a pixel's centre at x + 0.5).
#pragma once

#include <QPointF>
#include <optional>
#include <vector>

#include "image/Levels.h"
#include "image/MeasuredImage.h"

namespace quorvex::image {

// How far, in image pixels, a click looks for its spot: a few pixels, more
// on large images where spots are larger.
double SnapRadius(const MeasuredImage& image);

// The intensity-weighted centroid (above the local background) of the
// brightest spot within `radius` of `click`; nothing when the disc holds no
// pixel of the image or no light above its surroundings.
std::optional<QPointF> SnapToSpot(const MeasuredImage& image, QPointF click, double radius);

// The centres of the image's strong maxima: local maxima well above the
// image's median (a third of the way to its 99.9 % percentile), each the
// brightest within `radius`, refined to their centroids.
std::vector<QPointF> StrongMaxima(const MeasuredImage& image, const Histogram& histogram,
                                  double radius);

struct SpotScore {
    int spots = 0;    // simulated spots inside the image
    int matched = 0;  // of them, with a maximum within the tolerance
    std::vector<bool> spotMatched;     // per simulated position (false outside the image)
    std::vector<int> unexplained;      // indices of maxima no simulated spot is near
};

// For each simulated spot inside an image of `size`, whether a maximum lies
// within `tolerance` pixels; and the maxima no simulated spot lies near.
SpotScore ScoreSpots(const std::vector<QPointF>& maxima, const std::vector<QPointF>& simulated,
                     QSize size, double tolerance);

}  // namespace quorvex::image
