// The real-space lattice box: the substrate net and the superlattice dots.
#pragma once

#include "model/Basics.h"
#include "platform/Surface.h"

namespace quorvex::render {

enum class LatticeKind {
    SubstrateNet,     // the net of lines, thick basis vectors
    SuperlatticeDots  // filled dots, thin basis vectors
};

struct LatticeDrawing {
    model::Vec2 t1, t2;  // basis, in length units, display frame
    double scale = 0;    // twips per length unit
    model::Rgb colour = 0;
    double dotRadius = 0;  // twips, for the dots
    LatticeKind kind = LatticeKind::SubstrateNet;
};

// Draws one lattice into the lattice box. Leaves line width 1, fill style
// solid and the fill colour of the drawing.
void DrawRealLattice(platform::Surface& s, const LatticeDrawing& drawing);

// The lattice box's black frame.
void DrawLatticeBoxFrame(platform::Surface& s);

// Blanks both boxes and the legend, and prints the red "Superlattice too
// large" in the lattice box.
void ShowSuperlatticeTooLarge(platform::Surface& s);

}  // namespace quorvex::render
