// The basic and superlattice vectors of a structure, and the checks that
// guard every use of the superlattice.
#pragma once

#include "model/Structure.h"

namespace quorvex::model {

// a1, a2 of the basic cell and b1, b2 of the superlattice, in the user's
// length unit.
struct CellVectors {
    Vec2 a1, a2, b1, b2;
};

// a1, a2 from the cell (half-diagonals of the centred rectangle for cm and
// c2mm), and b1, b2 from them and the matrix; unrotated.
CellVectors ComputeCellVectors(const Structure& structure);

// b1 = m11 a1 + m12 a2, b2 = m21 a1 + m22 a2.
void ApplyMatrix(const SuperlatticeMatrix& m, CellVectors& v);

// max(|b1|, |b2|) / max(|a1|, |a2|) above 20, or not a finite number: such a
// superlattice is refused rather than drawn.
bool SuperlatticeTooLarge(const CellVectors& v);

// a1 and a2 turned by the display rotation, b1 and b2 rebuilt from them.
CellVectors Rotated(const CellVectors& v, const ViewSettings& view,
                    const SuperlatticeMatrix& matrix);

// Twips per length unit in the lattice box: the longer superlattice vector
// spans a third of the box at zoom 1.
double LatticeScale(const CellVectors& rotated, double latticeZoom);

// floor(x + 0.5) as a 32-bit integer; no value when x is not finite or the
// result leaves the 32-bit range.
bool RoundToInt32(double x, Int32& out);

}  // namespace quorvex::model
