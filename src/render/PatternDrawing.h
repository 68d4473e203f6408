// The pattern box: the substrate's and the superstructure's spots, every
// domain in its colour, glide extinctions, the basis vectors and the legend.
#pragma once

#include "model/Pattern.h"
#include "platform/Surface.h"

namespace quorvex::render {

// Draws the whole box from a computed pattern.
void DrawPattern(platform::Surface& s, const model::Pattern& pattern,
                 const model::PatternOptions& options, double spotRadius);

// Blanks the domain-colour legend beside the box.
void EraseLegend(platform::Surface& s);
// Whether the domain-colour legend is shown beside the box.
bool LegendShown(const model::PatternOptions& options);
// The legend box (1-based subpattern number) under a point, 0 for none.
int LegendEntryAt(double xTwips, double yTwips, int subpatternCount);

// Rings the spots of one subpattern (1-based) in its domain colour, over the
// drawn pattern.
void HighlightSubpattern(platform::Surface& s, const model::Pattern& pattern, int number,
                         double spotRadius, bool includeBases);

// Which spots of a lattice are drawn and how.
enum class SpotKind {
    Substrate,       // open rings, merged
    Superstructure,  // filled discs, merged (OR-ed where domains coincide)
    Highlight        // open rings, copied over what is there
};

// Whether DrawLatticeSpots draws the spot n1 p + n2 q of a lattice with
// spots of this radius (glides aside): within the index ranges and wholly
// inside the box, placed as the drawing places it.
bool LatticeSpotDrawn(double scale, model::Vec2 p, model::Vec2 q, double n1, double n2,
                      double radius);
// The radius of the substrate's rings for spots of spotRadius.
double SubstrateRingRadius(double spotRadius);

// The spots n1 p + n2 q of one lattice that lie wholly inside the pattern
// box, less the glide-extinct ones; with includeBases, p and q as lines from
// the centre. Leaves pen mode copy and line width 1.
void DrawLatticeSpots(platform::Surface& s, double scale, model::Vec2 p, model::Vec2 q,
                      model::Glides glides, model::Rgb colour, double radius, SpotKind kind,
                      bool includeBases);

}  // namespace quorvex::render
