// Cell classification, the superlattice analysis, the higher-symmetry hint and
// the superstructure groups allowed with and without the constraint.
#pragma once

#include <string>

#include "model/Module1.h"

namespace quorvex::model {

// Bravais type 1..5 of a cell from its squared lengths P, Q and |cos phi|.
// centredAxis (may be null) gets 1 or 2 when a ratio test made the cell
// centred rectangular, 0 otherwise.
Long ClassifyCell(double P, double Q, double absCos, double tolerance, Long* centredAxis);

struct HigherSymmetryHint {
    bool visible = false;
    std::string caption = " ";
};
// From LatticeA, LatticeB, LatticeAlpha and BasicGroup: the text of Label16.
HigherSymmetryHint CheckHigherSymmetry(const Module1& m);

// From B1X..B2Y (unrotated): writes latticeType, CentredAxis and
// SuperRightHanded; returns the caption of Label17. A cell with a zero-length
// vector has no angle: it counts as oblique and phi reads 0.0.
std::string AnalyzeSuperlattice(Module1& m, Long& latticeType);

void SetUnconstrainedGroups(Module1& m);
void SetConstrainedGroups(Module1& m);

// Label15: "/1/2/.../3'/" from AllowedSuperGroup.
std::string AllowedGroupsCaption(const Module1& m);

}  // namespace quorvex::model
