// The symmetry elements of the 17 plane groups, as data: which lines of the
// unit cell are plain, mirror or glide lines and where the rotation points lie,
// all named by the points of the diagram cell.
#pragma once

#include <vector>

#include "model/PlaneGroups.h"

namespace quorvex::render {

// The corners P1..P4 (in this order around the cell), the edge midpoints, the
// cell centre and the two triangle centres of the hexagonal rhombus.
enum class CellPoint { P1, P2, P3, P4, M12, M23, M34, M41, C, G1, G2 };

// A named point, or the quarter point q(from, toward) a quarter of the way
// from one named point to another; a named point is q(p, p).
struct PointName {
    // Implicit, so that a path reads {P1, P2, q(P1, P4)} as in the table.
    constexpr PointName(CellPoint p) : from(p), toward(p) {}
    constexpr PointName(CellPoint a, CellPoint b) : from(a), toward(b) {}
    CellPoint from;
    CellPoint toward;
};

constexpr PointName q(CellPoint a, CellPoint b) {
    return {a, b};
}

enum class LineKind { Plain, Mirror, Glide };

// One connected line through two or more points.
struct CellLine {
    LineKind kind;
    std::vector<PointName> path;
};

struct RotationPoints {
    model::Int32 n;
    std::vector<PointName> at;
};

enum class CellFamily { Oblique, Rectangular, Centred, Square, Hexagonal };

struct GroupElements {
    CellFamily family;
    // The superlattice's axis swap turns the elements by 90 degrees in the cell.
    bool turnsWithSwap;
    std::vector<CellLine> lines;            // in drawing order, the outline first
    std::vector<RotationPoints> rotations;  // drawn after every line
};

// Group 1..21; the rotated settings 18..21 share the rows of 3, 4, 5 and 7.
const GroupElements& ElementsOf(model::Int32 group);

}  // namespace quorvex::render
