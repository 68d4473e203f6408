#include "model/Spots.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <unordered_map>

namespace quorvex::model {

namespace {

// Integer combinations up to this size are exact in a double.
constexpr double kExactLimit = 9007199254740992.0;  // 2^53

Fraction Reduced(long long numerator, long long denominator) {
    const long long g = std::gcd(numerator, denominator);
    if (g > 1) {
        numerator /= g;
        denominator /= g;
    }
    return {numerator, denominator};
}


// Index numerators over the common denominator.
using Key = std::pair<long long, long long>;
struct KeyHash {
    std::size_t operator()(const Key& k) const {
        return std::hash<unsigned long long>()(static_cast<unsigned long long>(k.first) *
                                                   0x9E3779B97F4A7C15ULL ^
                                               static_cast<unsigned long long>(k.second));
    }
};

struct Accumulator {
    const CellVectors& cell;
    const SpotListOptions& options;
    std::vector<ListedSpot> spots;
    std::unordered_map<Key, std::size_t, KeyHash> index;
    bool full = false;

    // The spot at g, found or added; null when its indices cannot be held
    // or the list is full.
    ListedSpot* At(Vec2 g) {
        const double denominator = static_cast<double>(options.indexDenominator);
        const double h = std::round(Dot(g, cell.a1) * denominator);
        const double k = std::round(Dot(g, cell.a2) * denominator);
        if (!(std::abs(h) < kExactLimit && std::abs(k) < kExactLimit)) return nullptr;
        const Key key{static_cast<long long>(h), static_cast<long long>(k)};
        const auto found = index.find(key);
        if (found != index.end()) return &spots[found->second];
        if (spots.size() >= options.limit) {
            full = true;
            return nullptr;
        }
        index.emplace(key, spots.size());
        ListedSpot spot;
        spot.h = Reduced(key.first, options.indexDenominator);
        spot.k = Reduced(key.second, options.indexDenominator);
        spot.g = g;
        spot.length = std::hypot(g.x, g.y);
        spots.push_back(spot);
        return &spots.back();
    }

    template <typename Visit>
    void Walk(Vec2 p, Vec2 q, Visit visit) {
        if (!ForEachPointWithin(p, q, options.gMax, options.limit * 4, visit)) full = true;
    }
};

bool Odd(long long n) { return n % 2 != 0; }

bool Extinct(Glides glides, long long n1, long long n2) {
    return (glides.alongFirst && n2 == 0 && Odd(n1)) || (glides.alongSecond && n1 == 0 && Odd(n2));
}

}  // namespace

ReducedBasis ReduceBasisOf(Vec2 p, Vec2 q) {
    ReducedBasis b{p, q};
    for (int pass = 0; pass < 200; ++pass) {
        if (Dot(b.r1, b.r1) > Dot(b.r2, b.r2)) {
            std::swap(b.r1, b.r2);
            std::swap(b.t11, b.t21);
            std::swap(b.t12, b.t22);
        }
        const double f = std::round(Dot(b.r1, b.r2) / Dot(b.r1, b.r1));
        if (f == 0 || !std::isfinite(f) || std::abs(f) > 1e9) break;
        // The index matrix stays small enough that indices times it fit 64 bits.
        if (std::abs(b.t21 - f * b.t11) > 1e12 || std::abs(b.t22 - f * b.t12) > 1e12) break;
        const auto n = static_cast<long long>(f);
        b.r2 = {b.r2.x - f * b.r1.x, b.r2.y - f * b.r1.y};
        b.t21 -= n * b.t11;
        b.t22 -= n * b.t12;
    }
    return b;
}

std::string Fraction::Text() const {
    if (denominator == 1) return std::to_string(numerator);
    return std::to_string(numerator) + "/" + std::to_string(denominator);
}

std::string ListedSpot::IndexText() const { return "(" + h.Text() + " " + k.Text() + ")"; }

std::vector<ListedSpot> ListSpots(const Pattern& pattern, const CellVectors& rotated,
                                  const SpotListOptions& options) {
    SpotListOptions checked = options;
    if (checked.indexDenominator < 1) checked.indexDenominator = 1;
    Accumulator acc{rotated, checked, {}, {}};
    if (checked.include1x1)
        acc.Walk(pattern.ra1, pattern.ra2, [&](long long n1, long long n2, Vec2 g) {
            if (ListedSpot* spot = acc.At(g)) {
                const bool extinct = Extinct(pattern.substrateGlides, n1, n2);
                spot->substrateExtinct = spot->substrateExtinct || extinct;
                spot->substrate = spot->substrate || !extinct;
            }
        });
    for (std::size_t i = 0; i < pattern.subpatterns.size(); ++i) {
        const DomainSet bit = DomainSet{1} << i;
        const Subpattern& sub = pattern.subpatterns[i];
        acc.Walk(sub.p, sub.q, [&](long long n1, long long n2, Vec2 g) {
            if (ListedSpot* spot = acc.At(g)) {
                if (Extinct(pattern.superGlides, n1, n2))
                    spot->extinctDomains |= bit;
                else
                    spot->domains |= bit;
            }
        });
    }
    std::vector<ListedSpot> spots = std::move(acc.spots);
    std::sort(spots.begin(), spots.end(), [](const ListedSpot& a, const ListedSpot& b) {
        return std::make_tuple(a.length, a.h.Value(), a.k.Value()) <
               std::make_tuple(b.length, b.h.Value(), b.k.Value());
    });
    return spots;
}

std::optional<ListedSpot> SpotNear(const Pattern& pattern, const CellVectors& rotated, Vec2 g,
                                   double tolerance, const SpotListOptions& options) {
    SpotListOptions checked = options;
    if (checked.indexDenominator < 1) checked.indexDenominator = 1;
    Accumulator acc{rotated, checked, {}, {}};
    const double best2 = tolerance * tolerance;
    Vec2 nearest{};
    bool found = false;
    double nearest2 = 0;
    // The lattice points of (p, q) around g, within the tolerance.
    auto near = [&](Vec2 p, Vec2 q, auto visit) {
        const ReducedBasis b = ReduceBasisOf(p, q);
        const double det = Cross(b.r1, b.r2);
        if (!(std::abs(det) > 0) || !std::isfinite(det)) return;
        const double m1 = std::round(Cross(g, b.r2) / det), m2 = std::round(Cross(b.r1, g) / det);
        if (!(std::abs(m1) < 1e12 && std::abs(m2) < 1e12)) return;
        for (double d1 = -1; d1 <= 1; ++d1)
            for (double d2 = -1; d2 <= 1; ++d2) {
                const double n1 = m1 + d1, n2 = m2 + d2;
                const Vec2 point{n1 * b.r1.x + n2 * b.r2.x, n1 * b.r1.y + n2 * b.r2.y};
                const Vec2 off{point.x - g.x, point.y - g.y};
                const double dist2 = Dot(off, off);
                if (dist2 > best2) continue;
                const auto i1 = static_cast<long long>(n1), i2 = static_cast<long long>(n2);
                visit(b.t11 * i1 + b.t21 * i2, b.t12 * i1 + b.t22 * i2, point, dist2);
            }
    };
    // First the nearest point of any lattice, then everything at that point.
    auto closest = [&](long long, long long, Vec2 point, double dist2) {
        if (found && dist2 >= nearest2) return;
        nearest = point;
        nearest2 = dist2;
        found = true;
    };
    if (checked.include1x1) near(pattern.ra1, pattern.ra2, closest);
    for (const Subpattern& sub : pattern.subpatterns) near(sub.p, sub.q, closest);
    if (!found) return std::nullopt;

    // The same spot reached through another lattice differs by rounding only.
    auto at = [&](Vec2 point) {
        const Vec2 off{point.x - nearest.x, point.y - nearest.y};
        return Dot(off, off) <= 1e-12 * std::max(1.0, Dot(nearest, nearest));
    };
    if (checked.include1x1)
        near(pattern.ra1, pattern.ra2, [&](long long n1, long long n2, Vec2 point, double) {
            if (!at(point)) return;
            if (ListedSpot* spot = acc.At(nearest)) {
                const bool extinct = Extinct(pattern.substrateGlides, n1, n2);
                spot->substrateExtinct = spot->substrateExtinct || extinct;
                spot->substrate = spot->substrate || !extinct;
            }
        });
    for (std::size_t i = 0; i < pattern.subpatterns.size(); ++i) {
        const DomainSet bit = DomainSet{1} << i;
        near(pattern.subpatterns[i].p, pattern.subpatterns[i].q,
             [&](long long n1, long long n2, Vec2 point, double) {
                 if (!at(point)) return;
                 if (ListedSpot* spot = acc.At(nearest)) {
                     if (Extinct(pattern.superGlides, n1, n2))
                         spot->extinctDomains |= bit;
                     else
                         spot->domains |= bit;
                 }
             });
    }
    if (acc.spots.empty()) return std::nullopt;
    return acc.spots.front();
}

std::string DomainListText(DomainSet domains) {
    std::string text;
    for (int i = 0; i < 32; ++i) {
        if ((domains & (DomainSet{1} << i)) == 0) continue;
        if (!text.empty()) text += ", ";
        text += std::to_string(i + 1);
    }
    return text;
}

}  // namespace quorvex::model
