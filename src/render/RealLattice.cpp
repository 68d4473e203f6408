// Placeholder until the real-space drawing lands.
#include "render/RealLattice.h"
namespace quorvex::render {
void DrawRealLattice(model::Module1&, platform::Surface&, double, double, double, double, model::Rgb, double, model::Long) {}
void ShowSuperlatticeTooLarge(const model::Module1&, platform::Surface&) {}
}
