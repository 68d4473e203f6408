#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "model/Pattern.h"
#include "model/PointOperations.h"

using namespace quorvex::model;

namespace {

bool Near(Vec2 a, Vec2 b, double eps = 1e-9) {
    return std::abs(a.x - b.x) < eps && std::abs(a.y - b.y) < eps;
}

// Each operation code against the textbook matrix of what it is meant to be:
// a turn by the angle, or a reflection in the line at the angle.
TEST(PointOperations, EachCodeIsTheRotationOrMirrorItNames) {
    struct Op {
        bool mirror;
        double degrees;
    };
    const Op ops[16] = {{false, 0},    {true, 0},    {true, 90},   {false, 180},
                        {false, 90},   {false, -90}, {true, 45},   {true, -45},
                        {false, -120}, {false, 120}, {true, 30},   {true, -30},
                        {true, 60},    {true, -60},  {false, -60}, {false, 60}};
    for (Int32 code = 0; code < 16; ++code) {
        const double t = ops[code].degrees * M_PI / 180;
        const double c = std::cos(ops[code].mirror ? 2 * t : t);
        const double s = std::sin(ops[code].mirror ? 2 * t : t);
        for (Vec2 v : {Vec2{1, 0}, Vec2{0.3, -1.7}}) {
            const Vec2 expected = ops[code].mirror ? Vec2{c * v.x + s * v.y, s * v.x - c * v.y}
                                                   : Vec2{c * v.x - s * v.y, s * v.x + c * v.y};
            EXPECT_TRUE(Near(ApplyPointOperation(code, v), expected, 1e-12)) << "code " << code;
        }
    }
}

struct CellSetup {
    Int32 group;
    double a, b, alpha;
    SuperlatticeMatrix matrix;
};

struct Computed {
    CellVectors v;  // turned
    Pattern p;
};

Computed Compute(const CellSetup& st, double rotationDegrees, bool domains, double zoom = 1) {
    Structure s;
    s.basicGroup = st.group;
    s.a = st.a, s.b = st.b, s.alpha = st.alpha;
    s.matrix = st.matrix;
    s.options.includeDomains = domains;
    ViewSettings view;
    view.rotationCos = std::cos(rotationDegrees * kDegToRad);
    view.rotationSin = std::sin(rotationDegrees * kDegToRad);
    view.patternZoom = zoom;
    const CellVectors v = Rotated(ComputeCellVectors(s), view, s.matrix);
    return {v, ComputePattern(v, s, view, AllowedGroups{})};
}

TEST(ComputePattern, ReciprocalVectorsAreDualWithout2PiInTheTurnedFrame) {
    for (const CellSetup& st :
         {CellSetup{kP1, 1.4142, 1, 55, {2, 1, -1, 3}}, {kC2mm, 3, 1, 90, {2, 1, -1, 3}}})
        for (double rot : {30.0, -70.0}) {
            const auto [v, p] = Compute(st, rot, false);
            const Vec2 real[4] = {v.a1, v.a2, v.b1, v.b2};
            const Vec2 rec[4] = {p.ra1, p.ra2, p.rb1, p.rb2};
            for (int i = 0; i < 4; ++i)
                for (int j = (i / 2) * 2; j < (i / 2) * 2 + 2; ++j)
                    EXPECT_NEAR(Dot(real[i], rec[j]), i == j, 1e-12) << st.group << " " << rot;
        }
}

TEST(ComputePattern, ScaleFromTheLongerSubstrateVector) {
    // {a, b, zoom, twips per reciprocal unit}: the longer one reaches 3480 / 2.5.
    const double cases[][4] = {{2, 1, 1, 1392}, {1, 0.5, 1, 696}, {1, 1, 2, 696}};
    for (const auto& c : cases)
        EXPECT_NEAR(Compute({kP2mm, c[0], c[1], 90, {}}, 0, false, c[2]).p.scale, c[3], 1e-6)
            << c[0] << " " << c[1] << " " << c[2];
}

TEST(ComputePattern, CountsDomainsAndUniqueSubpatternsAtAnyRotation) {
    struct Case {
        CellSetup setup;
        int domains, unique;
    };
    const Case cases[] = {
        {{kP1, std::sqrt(2.0), 1, 55, {2, 0, 0, 1}}, 1, 1},
        {{kP2, std::sqrt(2.0), 1, 55, {2, 1, -1, 3}}, 2, 1},
        {{kP4mm, 1, 1, 90, {2, 0, 0, 1}}, 8, 2},
        {{kP4mm, 1, 1, 90, {2, 1, 0, 3}}, 8, 4},  // the half turn keeps every lattice
        {{kP3m1, 1, 1, 120, {2, -1, 1, 3}}, 6, 2},
        {{kP6mm, 1, 1, 120, {1, -1, 1, 2}}, 12, 1},
        {{kP6mm, 1, 1, 120, {2, 0, 0, 1}}, 12, 3},
        {{kP6mm, 1, 1, 120, {3, 1, 0, 2}}, 12, 6},
    };
    for (const Case& c : cases)
        for (double rot : {0.0, 30.0, -70.0}) {
            SCOPED_TRACE(::testing::Message() << "group " << c.setup.group << " at " << rot);
            const Pattern p = Compute(c.setup, rot, true).p;
            ASSERT_EQ(p.subpatterns.size(), static_cast<std::size_t>(c.unique));
            ASSERT_EQ(p.domainSubpattern.size(), static_cast<std::size_t>(c.domains));
            EXPECT_EQ(p.DomainCaption(), std::to_string(c.domains) + " domain(s),  " +
                                             std::to_string(c.unique) + " unique subpattern(s)");
            // The superlattice is subpattern 1, and every subpattern is some domain's.
            EXPECT_EQ(p.domainSubpattern[0], 1);
            EXPECT_TRUE(Near(p.subpatterns[0].p, p.rb1) && Near(p.subpatterns[0].q, p.rb2));
            EXPECT_EQ(std::set<int>(p.domainSubpattern.begin(), p.domainSubpattern.end()).size(),
                      p.subpatterns.size());
        }
    const Pattern alone = Compute(cases[2].setup, 0, false).p;
    EXPECT_EQ(alone.subpatterns.size(), 1u);
    EXPECT_TRUE(alone.domainSubpattern.empty());
    EXPECT_EQ(alone.DomainCaption(), "");
}

TEST(SameLattice, ComparesLatticesNotBasesWithinTheTolerance) {
    const struct {
        Vec2 p, q;
        bool same;
    } cases[] = {
        {{1, 1}, {0, 1}, true},        // another basis of the lattice
        {{-1, 0}, {0, -1}, true},      // negative coordinates
        {{1.0009, 0}, {0, 1}, true},   // within the tolerance above an integer
        {{-0.9991, 0}, {0, 1}, true},  // within the tolerance below one
        {{1.0011, 0}, {0, 1}, false}, {{0, 1}, {1, 0.998}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameLattice({{1, 0}, {0, 1}}, {c.p, c.q}), c.same) << c.p.x << " " << c.q.y;
}

// Unswapped, a superstructure group has the glides it has as a substrate
// (which the symmetry diagrams check); the swap moves a single glide direction
// to the other axis, and a turned setting has the glides of its upright one.
TEST(Glides, SuperstructureGlidesFollowTheSubstrateAndTheSwap) {
    const Int32 upright[] = {kPm, kPg, kCm, kP2mg};
    for (Int32 g = 1; g <= kGroupCount; ++g) {
        const Int32 base = g > kBasicGroupCount ? upright[g - kPmTurned] : g;
        const Glides plain = SuperstructureGlides(g, false);
        EXPECT_EQ(plain, SubstrateGlides(base)) << g;
        EXPECT_EQ(SuperstructureGlides(g, true), (Glides{plain.alongSecond, plain.alongFirst}))
            << g;
    }
}

}  // namespace
