// The point operations of the plane groups, which turn one domain of a
// superstructure into its symmetry-equivalent ones.
#pragma once

#include <span>

#include "model/Basics.h"
#include "model/PlaneGroups.h"

namespace quorvex::model {

// Operation codes 1..15 (0 is the identity): mirrors in x, in y, 180, +90
// and -90 degree turns, mirrors in x = y and x = -y, -120 and +120 degree
// turns, mirrors in the lines at +30, -30, +60 and -60 degrees, -60 and +60
// degree turns. They act on vectors in the unrotated frame of the basic cell.
Vec2 ApplyPointOperation(Int32 code, Vec2 v);

// The operations that make the domains of a basic group, in the order that
// numbers them (the identity not listed). Empty outside 1..17.
std::span<const Int32> GroupOperations(Int32 basicGroup);
// How many domains a basic group makes: its operations and the identity.
Int32 DomainCount(Int32 basicGroup);

}  // namespace quorvex::model
