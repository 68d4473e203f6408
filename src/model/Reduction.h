// Replacing the superlattice basis by a reduced, right-handed one that spans
// the same lattice.
#pragma once

#include <optional>

#include "model/CellVectors.h"

namespace quorvex::model {

// b1, b2: the superlattice vectors of `matrix` (any rotation). The matrix of
// the reduced basis; nothing when a row operation would leave the 32-bit
// range or a vector has no length.
std::optional<SuperlatticeMatrix> ReduceSuperlattice(Vec2 b1, Vec2 b2,
                                                     const SuperlatticeMatrix& matrix);

}  // namespace quorvex::model
