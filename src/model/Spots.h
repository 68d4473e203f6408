// The spots of a pattern as a list: each spot once, with its indices in the
// substrate's reciprocal basis (fractions for a superstructure), which
// domains produce it and which would but lose it to a glide extinction.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "model/Pattern.h"

namespace quorvex::model {

// A reduced fraction with a positive denominator.
struct Fraction {
    long long numerator = 0;
    long long denominator = 1;

    bool operator==(const Fraction&) const = default;
    double Value() const { return static_cast<double>(numerator) / static_cast<double>(denominator); }
    // "0", "1", "-1/2", "2/3".
    std::string Text() const;
};

// Bit i stands for subpattern i + 1.
using DomainSet = std::uint32_t;

struct ListedSpot {
    Fraction h, k;  // g = h a1* + k a2*
    Vec2 g;         // display frame, reciprocal length units (no factor 2 pi)
    double length = 0;  // |g|
    // An integer-order spot the substrate shows (with "Include 1x1").
    bool substrate = false;
    // An integer-order spot the substrate's own glides leave out.
    bool substrateExtinct = false;
    DomainSet domains = 0;        // subpatterns that draw it
    DomainSet extinctDomains = 0;  // subpatterns whose glides leave it out

    bool Shown() const { return substrate || domains != 0; }
    // "(1/2 0)", "(1/3 2/3)".
    std::string IndexText() const;
};

struct SpotListOptions {
    double gMax = 1;  // reciprocal length units, spots with |g| <= gMax
    bool include1x1 = true;
    // The domain numbers' shared denominator: |det| of the superlattice
    // matrix (the window's matrix; indices are multiples of 1/|det|).
    long long indexDenominator = 1;
    // Listing stops after this many spots (far more than a screen shows).
    std::size_t limit = 2'000'000;
};

// A basis of the lattice (p, q) with short, nearly perpendicular vectors,
// and the integer matrix from its indices back to those of (p, q):
// m1 r1 + m2 r2 = (t11 m1 + t21 m2) p + (t12 m1 + t22 m2) q.
struct ReducedBasis {
    Vec2 r1, r2;
    long long t11 = 1, t12 = 0, t21 = 0, t22 = 1;
};
ReducedBasis ReduceBasisOf(Vec2 p, Vec2 q);

// The points of a band: those whose g.y lies in [low, high).
struct YBand {
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
};

// Calls visit(n1, n2, g) for every point g = n1 p + n2 q with |g| <= gMax
// (and g.y within the band), row by row of the reduced basis. Visits nothing
// and returns false when more than `limit` points would have to be looked at,
// or the lattice has no area.
template <typename Visit>
bool ForEachPointWithin(Vec2 p, Vec2 q, double gMax, std::size_t limit, Visit&& visit,
                        YBand band = {}) {
    const ReducedBasis b = ReduceBasisOf(p, q);
    const double area = std::abs(Cross(b.r1, b.r2));
    if (!(area > 0) || !std::isfinite(area) || !(gMax >= 0) || !std::isfinite(gMax)) return false;
    if (std::isnan(band.low) || std::isnan(band.high)) return false;
    // |m1| <= gMax |r2| / area and |m2| <= gMax |r1| / area.
    const double m1Max = std::floor(gMax * std::hypot(b.r2.x, b.r2.y) / area);
    const double m2Max = std::floor(gMax * std::hypot(b.r1.x, b.r1.y) / area);
    if (!((2 * m1Max + 1) * (2 * m2Max + 1) <= static_cast<double>(limit))) return false;
    const auto n1Max = static_cast<long long>(m1Max);
    const double g2 = gMax * gMax;
    const double r22 = Dot(b.r2, b.r2);
    for (long long m1 = -n1Max; m1 <= n1Max; ++m1) {
        const Vec2 row{static_cast<double>(m1) * b.r1.x, static_cast<double>(m1) * b.r1.y};
        // |row + m2 r2|^2 <= gMax^2: m2 between the roots, widened by one for rounding.
        const double mid = -Dot(row, b.r2) / r22;
        const double discriminant = mid * mid - (Dot(row, row) - g2) / r22;
        if (discriminant < 0) continue;
        const double half = std::sqrt(discriminant);
        double low = std::max(-m2Max, std::floor(mid - half) - 1);
        double high = std::min(m2Max, std::ceil(mid + half) + 1);
        // low <= row.y + m2 r2.y < high, widened by one the same way.
        if (b.r2.y != 0) {
            double first = (band.low - row.y) / b.r2.y, last = (band.high - row.y) / b.r2.y;
            if (first > last) std::swap(first, last);
            low = std::max(low, std::floor(first) - 1);
            high = std::min(high, std::ceil(last) + 1);
        } else if (!(row.y >= band.low && row.y < band.high)) {
            continue;
        }
        if (!(low <= high)) continue;
        for (auto m2 = static_cast<long long>(low); m2 <= static_cast<long long>(high); ++m2) {
            const Vec2 g{row.x + static_cast<double>(m2) * b.r2.x,
                         row.y + static_cast<double>(m2) * b.r2.y};
            if (Dot(g, g) > g2 || !(g.y >= band.low && g.y < band.high)) continue;
            visit(b.t11 * m1 + b.t21 * m2, b.t12 * m1 + b.t22 * m2, g);
        }
    }
    return true;
}

// Every spot of the pattern's substrate and subpatterns with |g| <= gMax,
// the centre (0 0) included, sorted by |g| and then by index. Spots that
// every domain loses to a glide are listed too, with no drawing domain.
std::vector<ListedSpot> ListSpots(const Pattern& pattern, const CellVectors& rotated,
                                  const SpotListOptions& options);

}  // namespace quorvex::model

namespace quorvex::model {

// The spot nearest to g among the pattern's lattices, when one lies within
// `tolerance` (reciprocal length units) of it: its indices, the domains that
// produce it and those that lose it to a glide. Found from the lattices'
// bases, without listing the pattern.
std::optional<ListedSpot> SpotNear(const Pattern& pattern, const CellVectors& rotated, Vec2 g,
                                   double tolerance, const SpotListOptions& options);

// "(1/2 0)  domains 1, 3  |g| = 1.2345 1/A": what the read-out says of a spot.
std::string DomainListText(DomainSet domains);

}  // namespace quorvex::model
