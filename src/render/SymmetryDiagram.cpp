// Placeholder until the symmetry diagrams land.
#include "render/SymmetryDiagram.h"
namespace quorvex::render {
std::string DrawSymmetryElements(model::Module1&, platform::Surface&, model::Long group, model::Long kind) { return (kind == 1 ? "Basic lattice [" : "Superlattice [") + std::to_string(group) + "]"; }
void SymTransform(const model::Module1&, double&, double&) {}
void CycleCorners(double&, double&, double&, double&, double&, double&, double&, double&) {}
void DrawRotationSymbol(platform::Surface&, double, double, model::Long) {}
}
