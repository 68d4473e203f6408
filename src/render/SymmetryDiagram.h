// The two small unit-cell diagrams with the symmetry elements of a plane group.
#pragma once

#include <string>

#include "model/Module1.h"
#include "platform/Surface.h"

namespace quorvex::render {

// kind 1: the basic lattice diagram (black, Line9); kind 2: the superlattice
// diagram (blue, Line11). Returns the caption of Label10 or Label11.
std::string DrawSymmetryElements(model::Module1& m, platform::Surface& s, model::Long group,
                                 model::Long kind);

// Diagram coordinates to screen, with SymCos, SymSin, SymOriginX, SymOriginY.
void SymTransform(const model::Module1& m, double& x, double& y);

// Corner 1 takes the old corner 2, 2 the old 3, 3 the old 4, 4 the old 1.
void CycleCorners(double& x1, double& x2, double& x3, double& x4, double& y1, double& y2,
                  double& y3, double& y4);

// The upright symbol of an n-fold rotation point (n = 2, 3, 4, 6), black.
void DrawRotationSymbol(platform::Surface& s, double x, double y, model::Long n);

}  // namespace quorvex::render
