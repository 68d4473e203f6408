// Lattices whose points the drawing loops cannot count: a reduced basis that
// needs indices beyond the whole numbers a double holds exactly, or vectors
// parallel to the last bit. Their picture comes from the lattice's geometry,
// as the eye sees it, instead of from points evaluated one by one.
#pragma once

#include <functional>

#include "render/PixelLattice.h"

namespace quorvex::render {

// The pixels (of pixelTwips twips) that may be drawn: columns i0..i1, rows
// j0..j1, pixel (i, j) centred on (i, j) * pixelTwips.
struct PixelWindow {
    int i0 = 0, i1 = -1, j0 = 0, j1 = -1;
    double pixelTwips = 0;
};

// Called once or more for each pixel the lattice covers, with a place on it
// (a point of the lattice, or the pixel's centre).
using MarkPixel = std::function<void(int i, int j, double x, double y)>;

// The lattice's points lie on parallel rows a fixed distance apart. Rows and
// points far closer than a pixel fill the part of the box within the index
// ranges; rows of points far closer than a pixel are lines through every
// pixel they cross; sparser points are placed one by one along their rows
// (without the glide extinctions, which no index tells apart here). False
// when the vectors or the box are no finite numbers, or the vectors vanish.
bool SketchLattice(const PlacedLattice& lattice, const PointRule& rule, const PixelWindow& window,
                   const MarkPixel& mark);

}  // namespace quorvex::render
