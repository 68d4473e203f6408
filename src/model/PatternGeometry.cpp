#include "model/PatternGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvex::model {

namespace {

// Taken at run time, as the hexagonal operations have always used it.
const double kSqrt3 = std::sqrt(3.0);

using PointOperation = Vec2 (*)(Vec2);

// Index = operation code; 0 is the identity. The formulas keep their own
// order of arithmetic (halving as a product with 0.5).
const std::array<PointOperation, 16> kPointOperations = {
    [](Vec2 v) { return v; },
    // mirror in the x axis
    [](Vec2 v) {
        return Vec2{v.x, -v.y};
    },
    // mirror in the y axis
    [](Vec2 v) {
        return Vec2{-v.x, v.y};
    },
    // 180 degrees
    [](Vec2 v) {
        return Vec2{-v.x, -v.y};
    },
    // +90 degrees
    [](Vec2 v) {
        return Vec2{-v.y, v.x};
    },
    // -90 degrees
    [](Vec2 v) {
        return Vec2{v.y, -v.x};
    },
    // mirror in x = y
    [](Vec2 v) {
        return Vec2{v.y, v.x};
    },
    // mirror in x = -y
    [](Vec2 v) {
        return Vec2{-v.y, -v.x};
    },
    // -120 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        return Vec2{(s * v.y - v.x) * 0.5, (-s * v.x - v.y) * 0.5};
    },
    // +120 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        return Vec2{(-v.x - s * v.y) * 0.5, (s * v.x - v.y) * 0.5};
    },
    // mirror in the line at +30 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        const double t = s * v.x + v.y;
        return Vec2{s * t * 0.5 - v.x, t * 0.5 - v.y};
    },
    // mirror in the line at -30 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        const double t = s * v.x - v.y;
        return Vec2{s * t * 0.5 - v.x, -v.y - t * 0.5};
    },
    // mirror in the line at +60 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        const double t = s * v.y + v.x;
        return Vec2{t * 0.5 - v.x, s * t * 0.5 - v.y};
    },
    // mirror in the line at -60 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        const double t = s * v.y - v.x;
        return Vec2{-v.x - t * 0.5, s * t * 0.5 - v.y};
    },
    // -60 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        return Vec2{(s * v.y + v.x) * 0.5, (-s * v.x + v.y) * 0.5};
    },
    // +60 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        return Vec2{(v.x - s * v.y) * 0.5, (s * v.x + v.y) * 0.5};
    },
};

// The operations that generate the domains of each basic group, after the
// identity. Their order numbers the subpatterns and so picks their colours.
const std::array<std::vector<Long>, BasicGroupCount + 1> kGroupOperations = {{
    {},                                       // unused
    {},                                       // p1
    {3},                                      // p2
    {1},                                      // pm
    {1},                                      // pg
    {1},                                      // cm
    {1, 2, 3},                                // p2mm
    {1, 2, 3},                                // p2mg
    {1, 2, 3},                                // p2gg
    {1, 2, 3},                                // c2mm
    {3, 4, 5},                                // p4
    {1, 2, 3, 4, 5, 6, 7},                    // p4mm
    {1, 2, 3, 4, 5, 6, 7},                    // p4gm
    {8, 9},                                   // p3
    {8, 9, 2, 10, 11},                        // p3m1
    {8, 9, 1, 12, 13},                        // p31m
    {8, 9, 3, 14, 15},                        // p6
    {8, 9, 3, 14, 15, 2, 10, 11, 1, 12, 13},  // p6mm
}};

double Dot(const Vec2& a, const Vec2& b) {
    return a.x * b.x + a.y * b.y;
}

// |c - Int(c)| < tol or |c - Int(c) - 1| < tol; c is not negative here.
bool CountsAsInteger(double c, double tol) {
    const double f = c - std::floor(c);
    return std::abs(f) < tol || std::abs(f - 1) < tol;
}

// Whether both candidate vectors have integer coordinates in the basis a, b.
bool LiesInLattice(const Vec2& a, const Vec2& b, const Vec2& p, const Vec2& q, double tol) {
    const double aa = Dot(a, a);
    const double k = Dot(a, b) / aa;
    const Vec2 bPerp{b.x - k * a.x, b.y - k * a.y};
    const double bb = Dot(bPerp, bPerp);
    for (const Vec2* v : {&p, &q}) {
        const double cB = Dot(bPerp, *v) / bb;
        const double cA = Dot(a, *v) / aa - k * cB;
        if (!CountsAsInteger(std::abs(cA), tol) || !CountsAsInteger(std::abs(cB), tol))
            return false;
    }
    return true;
}

}  // namespace

Vec2 ApplyPointOperation(Long code, Vec2 v) {
    if (code < 1 || code >= static_cast<Long>(kPointOperations.size())) return v;
    return kPointOperations[code](v);
}

const std::vector<Long>& GroupOperations(Long basicGroup) {
    if (basicGroup < 1 || basicGroup > BasicGroupCount) return kGroupOperations[0];
    return kGroupOperations[basicGroup];
}

Long GroupPointOpCount(Long basicGroup) {
    return static_cast<Long>(GroupOperations(basicGroup).size()) + 1;
}

void ComputeReciprocalLattices(Module1& m) {
    const double d = m.A1X * m.A2Y - m.A1Y * m.A2X;
    const double f = 1 / d;
    m.RA1X = m.A2Y * f;
    m.RA1Y = -m.A2X * f;
    m.RA2X = -m.A1Y * f;
    m.RA2Y = m.A1X * f;

    const double ds = m.B1X * m.B2Y - m.B1Y * m.B2X;
    m.RB1X = m.B2Y / ds;
    m.RB1Y = -m.B2X / ds;
    m.RB2X = -m.B1Y / ds;
    m.RB2Y = m.B1X / ds;

    const double n1 = m.RA1X * m.RA1X + m.RA1Y * m.RA1Y;
    const double n2 = m.RA2X * m.RA2X + m.RA2Y * m.RA2Y;
    const double longest = n2 > n1 ? n2 : n1;
    const double side = m.PatBoxWidth > m.PatBoxHeight ? m.PatBoxHeight : m.PatBoxWidth;
    m.PatScale = side / (std::sqrt(longest) * 2.5 * m.PatMag);
}

void DomainTransform(const Module1& m, Long code, Vec2& p, Vec2& q) {
    const double c = m.RotCos, s = m.RotSin;
    for (Vec2* v : {&p, &q}) {
        const Vec2 lattice{c * v->x - s * v->y, s * v->x + c * v->y};
        const Vec2 op = ApplyPointOperation(code, lattice);
        *v = Vec2{c * op.x + s * op.y, -s * op.x + c * op.y};
    }
}

void RegisterSubpattern(Module1& m, const Vec2& p, const Vec2& q) {
    // A count outside the storage (only possible if someone else wrote it)
    // is read as the storage bound.
    const Long stored = std::clamp<Long>(m.SubpatternCount, 0, MaxSubpatterns);
    if (stored == 0) {
        m.SubpatternCount = 1;
        m.SubpatternVec1[1] = p;
        m.SubpatternVec2[1] = q;
        return;
    }
    for (Long i = 1; i <= stored; ++i)
        if (LiesInLattice(m.SubpatternVec1[i], m.SubpatternVec2[i], p, q, m.Tolerance)) return;
    if (stored == MaxSubpatterns) return;
    m.SubpatternCount = stored + 1;
    m.SubpatternVec1[m.SubpatternCount] = p;
    m.SubpatternVec2[m.SubpatternCount] = q;
}

}  // namespace quorvex::model
