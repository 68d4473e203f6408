// The two small unit-cell diagrams with the symmetry elements of a plane
// group: the basic lattice's (black) and the superlattice's (blue).
#pragma once

#include <string>

#include "model/CellVectors.h"
#include "platform/Surface.h"

namespace quorvex::render {

// Diagram coordinates to window twips: a turn, then a shift to the origin.
struct DiagramFrame {
    double cos = 1, sin = 0, originX = 0, originY = 0;
    model::Vec2 Apply(model::Vec2 v) const;
};

// a1, a2 unrotated; the diagram turns with the display rotation.
void DrawBasicDiagram(platform::Surface& s, model::Int32 group, model::Vec2 a1, model::Vec2 a2,
                      const model::ViewSettings& view);

struct SuperDiagram {
    model::Int32 group = 1;       // the superstructure's group
    model::Int32 basicGroup = 1;  // the substrate's group
    model::CellVectors vectors;   // any common rotation
    double rotationCos = 1, rotationSin = 0;
    model::Int32 centredAxis = 0;
    bool rightHanded = true;
    bool axisSwap = false;  // the group's direction lies along the other axis
};
// Turned from the basic diagram by the angle between their reference directions.
void DrawSuperDiagram(platform::Surface& s, const SuperDiagram& diagram);

// "Basic lattice [n]" and "Superlattice [n]" (n as 3' for a turned setting).
std::string BasicDiagramTitle(model::Int32 group);
std::string SuperDiagramTitle(model::Int32 group);

// Corner 1 takes the old corner 2, 2 the old 3, 3 the old 4, 4 the old 1.
void CycleCorners(double& x1, double& x2, double& x3, double& x4, double& y1, double& y2,
                  double& y3, double& y4);

// The upright symbol of an n-fold rotation point (n = 2, 3, 4, 6), black.
void DrawRotationSymbol(platform::Surface& s, double x, double y, model::Int32 n);

}  // namespace quorvex::render
