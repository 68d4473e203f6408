// Placeholder until the analysis lands.
#include "model/Analysis.h"
namespace quorvex::model {
Long ClassifyCell(double, double, double, double, Long* c) { if (c) *c = 0; return 1; }
HigherSymmetryHint CheckHigherSymmetry(const Module1&) { return {}; }
std::string AnalyzeSuperlattice(Module1&, Long& t) { t = 1; return ""; }
void SetUnconstrainedGroups(Module1& m) { m.AllowedSuperGroup.fill(false); m.GroupAxisSwap.fill(false); m.AllowedSuperGroup[1] = m.AllowedSuperGroup[2] = true; }
void SetConstrainedGroups(Module1& m) { m.AllowedSuperGroup.fill(false); m.GroupAxisSwap.fill(false); m.AllowedSuperGroup[1] = true; }
std::string AllowedGroupsCaption(const Module1&) { return "/1/"; }
}
