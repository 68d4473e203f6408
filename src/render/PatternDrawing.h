// The diffraction pattern: spots, domains, glide extinctions, legend.
#pragma once

#include <string>

#include "model/Module1.h"
#include "platform/Surface.h"

namespace quorvex::render {

// The check boxes, read by the window at the moment of the call.
struct PatternOptions {
    bool include1x1 = true;      // Check1
    bool paintDomains = false;   // Check2
    bool includeDomains = false; // Check3
    bool includeBases = false;   // Check4
};

// What the window shows in its labels after the pattern was drawn.
struct PatternResult {
    bool legendShown = false;   // Label18 "Domain colors :" visible
    bool domainsDone = false;   // the domains were generated: Label19 gets `caption`
    std::string caption;        // "N domain(s),  M unique subpattern(s)"
};

// The drawing steps of the pattern, from the reciprocal lattices to the
// centre spot. The caller has checked the matrix and shows the busy notice.
PatternResult DrawPatternBody(model::Module1& m, platform::Surface& s, const PatternOptions& o);

// kind -1: substrate rings; 2: superstructure or domain discs; 3: a highlighted
// subpattern as rings. Leaves pen mode copy and line width 1.
void DrawLatticeSpots(model::Module1& m, platform::Surface& s, double px, double py, double qx,
                      double qy, model::Rgb colour, double radius, model::Long kind,
                      bool includeBases);

// Transforms b1*, b2* by one operation, registers the domain and draws it when new.
void ApplyDomainOperation(model::Module1& m, platform::Surface& s, double px, double py,
                          double qx, double qy, model::Long code, const PatternOptions& o);

// BasicGlide1/2 from BasicGroup, SuperGlide1/2 from SuperGroup and GroupAxisSwap.
void SetGlideExtinctions(model::Module1& m);

}  // namespace quorvex::render
