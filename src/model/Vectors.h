// The lattice and superlattice vectors of the update cycle and the two checks
// that guard every use of the superlattice matrix.
#pragma once

#include "model/Module1.h"

namespace quorvex::model {

// M11*M22 - M12*M21, exact in 64 bits.
long long Determinant(const Module1& m);
bool MatrixSingular(const Module1& m);

// a1, a2 unrotated from LatticeA, LatticeB, LatticeAlpha and BasicGroup
// (half-diagonals of the centred rectangle for cm and c2mm).
void ComputeBasicVectors(Module1& m);
// b1 = M11 a1 + M12 a2, b2 = M21 a1 + M22 a2.
void ComputeSuperVectors(Module1& m);
// max(|b1|, |b2|) / max(|a1|, |a2|) above 20, or not a finite number.
bool SuperlatticeTooLarge(const Module1& m);
// Turns a1, a2 by the display rotation and rebuilds b1, b2 from them.
void RotateVectors(Module1& m);
// LatScale from the box width, LatMag and the longer superlattice vector.
void ComputeLatScale(Module1& m);

// floor(x + 0.5) as a 32-bit integer; no value when x is not finite or the
// result leaves the 32-bit range.
bool RoundToLong(double x, Long& out);

}  // namespace quorvex::model
