// Replacing the superlattice basis by a reduced, right-handed one.
#pragma once

#include "model/Module1.h"

namespace quorvex::model {

// Works on B1X..B2Y and M11..M22. Returns false, leaving the matrix and the
// vectors as they were, when a row operation would leave the 32-bit range.
bool ReduceSuperlattice(Module1& m);

}  // namespace quorvex::model
