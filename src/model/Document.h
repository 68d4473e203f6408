// The document the main window keeps: what the user describes, how it is
// looked at, what the last update derived from them, and the saved sets.
#pragma once

#include "model/AllowedGroups.h"
#include "model/CellAnalysis.h"
#include "model/CellVectors.h"
#include "model/LeedScreen.h"
#include "model/Pattern.h"
#include "model/SavedStates.h"
#include "model/Structure.h"

namespace quorvex::model {

// What the last update computed; the drawings, the mouse editing and the
// pattern-only redraws read it.
struct DerivedState {
    // After a complete update these are turned by the display rotation, as
    // both boxes show them; after a refused one, unrotated.
    CellVectors vectors;
    double latticeScale = 0;  // twips per length unit in the lattice box
    SuperlatticeAnalysis superlattice;
    AllowedGroups allowedGroups;
    Pattern pattern;
    // The last update drew the structure (not "Superlattice too large").
    bool patternValid = false;
};

struct Document {
    Structure structure;
    ViewSettings view;
    DerivedState derived;
    SavedStates saved;
    // How the LEED screen window shows the structure.
    ScreenSettings screen;
    // The next update starts the superstructure group over at p1: set when
    // the superlattice changes, cleared by the update.
    bool superGroupResetPending = true;
};

}  // namespace quorvex::model
