#include <gtest/gtest.h>

#include <cmath>
#include <set>

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
    // {mirror, degrees}
    const std::pair<bool, double> ops[16] = {
        {false, 0}, {true, 0},   {true, 90},    {false, 180}, {false, 90}, {false, -90},
        {true, 45}, {true, -45}, {false, -120}, {false, 120}, {true, 30},  {true, -30},
        {true, 60}, {true, -60}, {false, -60},  {false, 60}};
    for (Int32 code = 0; code < 16; ++code) {
        const auto [mirror, degrees] = ops[code];
        const double t = degrees * M_PI / 180 * (mirror ? 2 : 1), c = std::cos(t), s = std::sin(t);
        for (Vec2 v : {Vec2{1, 0}, Vec2{0.3, -1.7}}) {
            const Vec2 expected = mirror ? Vec2{c * v.x + s * v.y, s * v.x - c * v.y}
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

Pattern Compute(const CellSetup& st, double rotationDegrees, bool domains, double zoom = 1) {
    Structure s;
    s.basicGroup = st.group, s.a = st.a, s.b = st.b, s.alpha = st.alpha, s.matrix = st.matrix;
    s.options.includeDomains = domains;
    const ViewSettings view{.patternZoom = zoom,
                            .rotationCos = std::cos(rotationDegrees * kDegToRad),
                            .rotationSin = std::sin(rotationDegrees * kDegToRad)};
    return ComputePattern(Rotated(ComputeCellVectors(s), view, s.matrix), s, view, AllowedGroups{});
}

TEST(ComputePattern, ScaleFromTheLongerSubstrateVector) {
    // {a, b, zoom, twips per reciprocal unit}: the longer one reaches 3480 / 2.5.
    const double cases[][4] = {{2, 1, 1, 1392}, {1, 0.5, 1, 696}, {1, 1, 2, 696}};
    for (const auto& c : cases)
        EXPECT_NEAR(Compute({kP2mm, c[0], c[1], 90, {}}, 0, false, c[2]).scale, c[3], 1e-6)
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
        {{kP4mm, 1, 1, 90, {2, 1, 0, 3}}, 8, 4},  // the half turn keeps every lattice
        {{kP3m1, 1, 1, 120, {2, -1, 1, 3}}, 6, 2},
        {{kP6mm, 1, 1, 120, {1, -1, 1, 2}}, 12, 1},
        {{kP6mm, 1, 1, 120, {2, 0, 0, 1}}, 12, 3},
        {{kP6mm, 1, 1, 120, {3, 1, 0, 2}}, 12, 6},
    };
    for (const Case& c : cases)
        for (double rot : {0.0, 30.0, -70.0}) {
            SCOPED_TRACE(::testing::Message() << "group " << c.setup.group << " at " << rot);
            const Pattern p = Compute(c.setup, rot, true);
            ASSERT_EQ(p.subpatterns.size(), static_cast<std::size_t>(c.unique));
            ASSERT_EQ(p.domainSubpattern.size(), static_cast<std::size_t>(c.domains));
            // The superlattice is subpattern 1, and every subpattern is some domain's.
            EXPECT_EQ(p.domainSubpattern[0], 1);
            EXPECT_TRUE(Near(p.subpatterns[0].p, p.rb1) && Near(p.subpatterns[0].q, p.rb2));
            EXPECT_EQ(std::set<int>(p.domainSubpattern.begin(), p.domainSubpattern.end()).size(),
                      p.subpatterns.size());
        }
    // Without domains: the superlattice alone, and no caption (the window's
    // options test reads the caption of p4mm p(2x1) with its 8 domains).
    const Pattern alone = Compute(cases[2].setup, 0, false);
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
