// Placeholder until the pattern drawing lands.
#include "render/PatternDrawing.h"
namespace quorvex::render {
PatternResult DrawPatternBody(model::Module1& m, platform::Surface& s, const PatternOptions&) {
    s.FilledRectangle(m.PatBoxLeft, m.PatBoxTop, m.PatBoxLeft + m.PatBoxWidth, m.PatBoxTop + m.PatBoxHeight, 0);
    return {};
}
void DrawLatticeSpots(model::Module1&, platform::Surface&, double, double, double, double, model::Rgb, double, model::Long, bool) {}
void ApplyDomainOperation(model::Module1&, platform::Surface&, double, double, double, double, model::Long, const PatternOptions&) {}
void SetGlideExtinctions(model::Module1&) {}
}
