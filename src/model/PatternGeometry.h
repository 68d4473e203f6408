// Reciprocal lattices, the pattern scale, the point operations of the basic
// plane groups and the test for distinct subpatterns.
#pragma once

#include <vector>

#include "model/Module1.h"

namespace quorvex::model {

// One of the 15 point operations, on a vector in the unrotated lattice frame.
Vec2 ApplyPointOperation(Long code, Vec2 v);

// The operation codes of a basic group, in order of application (identity not listed).
const std::vector<Long>& GroupOperations(Long basicGroup);
// The number of domains (point operations including the identity) of a basic group.
Long GroupPointOpCount(Long basicGroup);

// RA1X..RB2Y and PatScale from the (rotated) A and B vectors.
void ComputeReciprocalLattices(Module1& m);

// The basis of the domain that operation `code` makes of (p, q), both in
// display coordinates.
void DomainTransform(const Module1& m, Long code, Vec2& p, Vec2& q);

// Stores (p, q) as a new subpattern unless a stored one has the same lattice.
void RegisterSubpattern(Module1& m, const Vec2& p, const Vec2& q);

}  // namespace quorvex::model
