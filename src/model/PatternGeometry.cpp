// Placeholder until the pattern geometry lands.
#include "model/PatternGeometry.h"
namespace quorvex::model {
Vec2 ApplyPointOperation(Long, Vec2 v) { return v; }
const std::vector<Long>& GroupOperations(Long) { static const std::vector<Long> none; return none; }
Long GroupPointOpCount(Long) { return 1; }
void ComputeReciprocalLattices(Module1& m) { m.PatScale = 1; }
void DomainTransform(const Module1&, Long, Vec2&, Vec2&) {}
void RegisterSubpattern(Module1& m, const Vec2&, const Vec2&) { ++m.SubpatternCount; }
}
