#include "model/Pattern.h"

#include <algorithm>
#include <cmath>

#include "model/FormLayout.h"
#include "model/PointOperations.h"

namespace quorvex::model {

namespace {

// |c - Int(c)| < tol or |c - Int(c) - 1| < tol; c is not negative here.
bool CountsAsInteger(double c, double tol) {
    const double f = c - std::floor(c);
    return std::abs(f) < tol || std::abs(f - 1) < tol;
}

// The basis of the domain that operation `code` makes of (p, q): turned back
// into the unrotated frame, operated on, and turned again.
Subpattern DomainOf(const Subpattern& first, Int32 code, const ViewSettings& view) {
    const double c = view.rotationCos, s = view.rotationSin;
    auto transform = [&](Vec2 v) {
        const Vec2 lattice{c * v.x - s * v.y, s * v.x + c * v.y};
        const Vec2 op = ApplyPointOperation(code, lattice);
        return Vec2{c * op.x + s * op.y, -s * op.x + c * op.y};
    };
    return {transform(first.p), transform(first.q)};
}

}  // namespace

Glides SubstrateGlides(Int32 g) {
    return {g == kPg || g == kP2gg || g == kP4gm, g == kP2mg || g == kP2gg || g == kP4gm};
}

Glides SuperstructureGlides(Int32 g, bool swap) {
    if (g == kPg || g == kPgTurned) return {!swap, swap};
    if (g == kP2mg || g == kP2mgTurned) return {swap, !swap};
    if (g == kP2gg || g == kP4gm) return {true, true};
    return {};
}

bool SameLattice(const Subpattern& ab, const Subpattern& pq) {
    const Vec2 a = ab.p, b = ab.q;
    const double aa = Dot(a, a);
    const double k = Dot(a, b) / aa;
    const Vec2 bPerp{b.x - k * a.x, b.y - k * a.y};
    const double bb = Dot(bPerp, bPerp);
    for (const Vec2* v : {&pq.p, &pq.q}) {
        const double cB = Dot(bPerp, *v) / bb;
        const double cA = Dot(a, *v) / aa - k * cB;
        if (!CountsAsInteger(std::abs(cA), kTolerance) || !CountsAsInteger(std::abs(cB), kTolerance))
            return false;
    }
    return true;
}

std::string Pattern::DomainCaption() const {
    if (!domainsIncluded) return {};
    return std::to_string(domainSubpattern.size()) + " domain(s),  " +
           std::to_string(subpatterns.size()) + " unique subpattern(s)";
}

Pattern ComputePattern(const CellVectors& v, const Structure& structure, const ViewSettings& view,
                       const AllowedGroups& groups) {
    Pattern pattern;
    const double d = v.a1.x * v.a2.y - v.a1.y * v.a2.x;
    const double f = 1 / d;
    pattern.ra1 = {v.a2.y * f, -v.a2.x * f};
    pattern.ra2 = {-v.a1.y * f, v.a1.x * f};

    const double ds = v.b1.x * v.b2.y - v.b1.y * v.b2.x;
    pattern.rb1 = {v.b2.y / ds, -v.b2.x / ds};
    pattern.rb2 = {-v.b1.y / ds, v.b1.x / ds};

    // The longer substrate reciprocal vector reaches 1/2.5 of the box at zoom 1.
    const double n1 = Dot(pattern.ra1, pattern.ra1), n2 = Dot(pattern.ra2, pattern.ra2);
    const double longest = n2 > n1 ? n2 : n1;
    const double side = std::min(kPatternBox.width, kPatternBox.height);
    pattern.scale = side / (std::sqrt(longest) * 2.5 * view.patternZoom);

    pattern.substrateGlides = SubstrateGlides(structure.basicGroup);
    pattern.superGlides =
        SuperstructureGlides(structure.superGroup, groups.Swaps(structure.superGroup));

    const Subpattern superlattice{pattern.rb1, pattern.rb2};
    pattern.subpatterns.push_back(superlattice);
    pattern.domainsIncluded = structure.options.includeDomains;
    if (!pattern.domainsIncluded) return pattern;

    pattern.domainSubpattern.push_back(1);
    for (Int32 code : GroupOperations(structure.basicGroup)) {
        const Subpattern domain = DomainOf(superlattice, code, view);
        const auto same = std::find_if(pattern.subpatterns.begin(), pattern.subpatterns.end(),
                                       [&](const Subpattern& s) { return SameLattice(s, domain); });
        if (same != pattern.subpatterns.end()) {
            pattern.domainSubpattern.push_back(
                static_cast<int>(same - pattern.subpatterns.begin()) + 1);
        } else if (pattern.subpatterns.size() < kMaxSubpatterns) {
            pattern.subpatterns.push_back(domain);
            pattern.domainSubpattern.push_back(static_cast<int>(pattern.subpatterns.size()));
        }
    }
    return pattern;
}

}  // namespace quorvex::model
