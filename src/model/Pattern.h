// The diffraction pattern of a structure as a value: the reciprocal lattices,
// the glide extinctions and the distinct domains (subpatterns). The pattern
// box, the export and the LEED screen all draw from it; nothing draws it
// back.
#pragma once

#include <string>
#include <vector>

#include "model/AllowedGroups.h"
#include "model/CellVectors.h"

namespace quorvex::model {

// Glide lines along the first and the second basis vector. A glide along
// the first vector leaves out the spots (h, 0) with odd h; one along the
// second the spots (0, k) with odd k.
struct Glides {
    bool alongFirst = false;
    bool alongSecond = false;

    bool operator==(const Glides&) const = default;
};

Glides SubstrateGlides(Int32 basicGroup);
// The superstructure's glides, turned to the other axis when the group's
// direction is swapped.
Glides SuperstructureGlides(Int32 superGroup, bool axisSwap);

// The reciprocal basis of one distinct domain in the display frame.
struct Subpattern {
    Vec2 p, q;
};

constexpr int kMaxSubpatterns = 12;

struct Pattern {
    // Reciprocal vectors (a_i . a*_j = delta_ij, no factor 2 pi) of the
    // rotated basic cell and of the superlattice, in the display frame.
    Vec2 ra1, ra2, rb1, rb2;
    // Twips per reciprocal length unit in the pattern box.
    double scale = 0;
    Glides substrateGlides;
    Glides superGlides;

    // Whether the symmetry-equivalent domains were generated.
    bool domainsIncluded = false;
    // The distinct subpatterns, the superlattice itself first; without the
    // domains, that one alone.
    std::vector<Subpattern> subpatterns;
    // For each domain (identity first, then the basic group's operations in
    // order), the 1-based number of its subpattern. Empty without domains.
    std::vector<int> domainSubpattern;

    // "N domain(s),  M unique subpattern(s)"; empty without domains.
    std::string DomainCaption() const;
};

// rotated: the cell vectors after the display rotation.
Pattern ComputePattern(const CellVectors& rotated, const Structure& structure,
                       const ViewSettings& view, const AllowedGroups& groups);

// Whether p and q both have integer coordinates in the basis a, b, up to
// the tolerance: the lattice of (p, q) lies in that of (a, b), and for cells
// of equal area (two domains of one superlattice) the lattices are the same.
bool SameLattice(const Subpattern& ab, const Subpattern& pq);

}  // namespace quorvex::model
