// The real-space lattice box: substrate net and superlattice dots.
#pragma once

#include "model/Module1.h"
#include "platform/Surface.h"

namespace quorvex::render {

// kind 1: the substrate net with thick basis vectors; any other kind: the
// superlattice dots with thin basis vectors. Leaves line width 1, fill style
// solid and the fill colour of the call.
void DrawRealLattice(model::Module1& m, platform::Surface& s, double t1x, double t1y, double t2x,
                     double t2y, model::Rgb colour, double dotRadius, model::Long kind);

// Blanks both boxes and prints the red "Superlattice too large" in the lattice box.
void ShowSuperlatticeTooLarge(const model::Module1& m, platform::Surface& s);

}  // namespace quorvex::render
