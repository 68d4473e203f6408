// What kind of cell a lattice is: the Bravais type of the basic and the
// superlattice cell, the superlattice's parameters, and the hint that the
// basic cell the user typed has more symmetry than its plane group.
#pragma once

#include <string>

#include "model/CellVectors.h"

namespace quorvex::model {

// Bravais type (a LatticeType) of a cell from its squared lengths p and q
// and |cos phi|. centredAxis (may be null) gets 1 or 2 when the projection
// of b1 on b2 (1) or of b2 on b1 (2) is half a length, 0 otherwise.
Int32 ClassifyCell(double p, double q, double absCos, double tolerance, Int32* centredAxis);

struct HigherSymmetryHint {
    bool visible = false;
    std::string caption = " ";
};
HigherSymmetryHint CheckHigherSymmetry(const Structure& structure);

struct SuperlatticeAnalysis {
    Int32 latticeType = kSquare;
    // For a centred rectangular cell: which vector's projection on the other
    // is half its length (1: b1 on b2, 2: b2 on b1); 0 otherwise.
    Int32 centredAxis = 0;
    bool rightHanded = false;  // b1 x b2 >= 0
    std::string caption;       // "a = ...   b = ...   phi = ..."
};
// A cell with a zero-length vector has no angle: it counts as oblique and
// phi reads 0.0.
SuperlatticeAnalysis AnalyzeSuperlattice(Vec2 b1, Vec2 b2);

}  // namespace quorvex::model
