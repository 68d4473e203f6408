// The real-space lattice box: the substrate net and the superlattice dots.
#pragma once

#include "model/Basics.h"
#include "model/CellVectors.h"
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

// The whole lattice box as an update draws it: white, the substrate net
// (with include1x1), the frame, the superlattice dots. Vectors turned by the
// display rotation.
void DrawLatticeBox(platform::Surface& s, const model::CellVectors& rotated, double latticeScale,
                    double dotRadius, bool include1x1);

// The lattice box's black frame.
void DrawLatticeBoxFrame(platform::Surface& s);

// Blanks both boxes and the legend, and prints the red "Superlattice too
// large" in the lattice box.
void ShowSuperlatticeTooLarge(platform::Surface& s);

}  // namespace quorvex::render
