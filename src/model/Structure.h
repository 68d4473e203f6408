// What the user describes and how it is looked at: the document's values.
#pragma once

#include "model/Basics.h"
#include "model/CommonNames.h"
#include "model/PlaneGroups.h"

namespace quorvex::model {

// The four check boxes of the window.
struct PatternOptions {
    bool include1x1 = true;       // draw the substrate's spots and net
    bool paintDomains = false;    // each distinct domain in its own colour
    bool includeDomains = false;  // the symmetry-equivalent domains too
    bool includeBases = false;    // draw the basis vectors of the pattern

    bool operator==(const PatternOptions&) const = default;
};

// The surface structure: the basic (substrate) cell and plane group, the
// superlattice and the superstructure's plane group.
struct Structure {
    Int32 basicGroup = kP4mm;
    double a = 1.0;
    double b = 1.0;
    double alpha = 90.0;  // degrees
    SuperlatticeMatrix matrix;
    Int32 commonNameRow = 1;  // the row the common-name list shows; 0 = "None"
    Int32 superGroup = kP4mm;
    bool constrained = true;  // superstructure groups limited by the basic group
    PatternOptions options;

    bool operator==(const Structure&) const = default;
};

constexpr double kDefaultDotRadius = 45;   // twips
constexpr double kDefaultSpotRadius = 45;  // twips; also the legend's size unit

// How the structure is looked at.
struct ViewSettings {
    double latticeZoom = 1.0;  // divides the lattice box's scale: smaller is larger
    double patternZoom = 1.0;  // the same for the pattern box
    double rotationDegrees = 0.0;  // of lattice and pattern, unbounded
    double rotationCos = 1.0;      // always written together with the angle
    double rotationSin = 0.0;
    double dotRadius = kDefaultDotRadius;    // twips, lattice points
    double spotRadius = kDefaultSpotRadius;  // twips, diffraction spots

    bool operator==(const ViewSettings&) const = default;
};

}  // namespace quorvex::model
