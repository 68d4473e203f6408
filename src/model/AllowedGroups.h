// Which plane groups a superstructure may have: all those its cell's lattice
// type admits, or, when constrained, those compatible with the basic group's
// symmetry elements and the superlattice's orientation on the substrate.
#pragma once

#include <array>
#include <string>

#include "model/CellVectors.h"

namespace quorvex::model {

struct AllowedGroups {
    // Indexed by group number 1..21; entry 0 is unused.
    std::array<bool, kGroupCount + 1> allowed{};
    // For a group with a single mirror or glide direction: that direction
    // lies along the superlattice's other axis.
    std::array<bool, kGroupCount + 1> axisSwap{};

    bool Allows(Int32 g) const { return IsGroup(g) && allowed[g]; }
    bool Swaps(Int32 g) const { return IsGroup(g) && axisSwap[g]; }
};

AllowedGroups UnconstrainedGroups(Int32 superLatticeType);
// v: the basic and superlattice vectors (any common rotation).
AllowedGroups ConstrainedGroups(Int32 basicGroup, const CellVectors& v, Int32 superLatticeType);
// The one or the other, as the structure's "constrained" says.
AllowedGroups ComputeAllowedGroups(const Structure& structure, const CellVectors& v,
                                   Int32 superLatticeType);

// "/1/2/.../3'/": the allowed groups as the window lists them.
std::string AllowedGroupsCaption(const AllowedGroups& groups);

}  // namespace quorvex::model
