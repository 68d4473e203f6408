#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "model/PatternGeometry.h"
#include "model/Vectors.h"

using namespace quorvex::model;

namespace {

bool Near(Vec2 a, Vec2 b) {
    return std::abs(a.x - b.x) < 1e-9 && std::abs(a.y - b.y) < 1e-9;
}

// A sign or coefficient slip in any operation breaks the closure of the groups
// that use it or makes two of their operations coincide.
TEST(PointOperations, EachBasicGroupIsClosedAndCountsItsDomains) {
    const Long counts[18] = {0, 1, 2, 2, 2, 2, 4, 4, 4, 4, 4, 8, 8, 3, 6, 6, 6, 12};
    const Vec2 v{0.3, -1.7}, w{1.1, 0.4};
    for (Long g = 1; g <= 17; ++g) {
        std::vector<Long> ops{0};
        for (Long code : GroupOperations(g)) ops.push_back(code);
        EXPECT_EQ(GroupPointOpCount(g), counts[g]) << "group " << g;
        ASSERT_EQ(static_cast<Long>(ops.size()), counts[g]) << "group " << g;
        for (Long a : ops)
            for (Long b : ops) {
                int found = 0;
                for (Long c : ops)
                    found += Near(ApplyPointOperation(a, ApplyPointOperation(b, v)),
                                  ApplyPointOperation(c, v)) &&
                             Near(ApplyPointOperation(a, ApplyPointOperation(b, w)),
                                  ApplyPointOperation(c, w));
                EXPECT_EQ(found, 1) << "group " << g << " ops " << a << " " << b;
            }
    }
}

// The order of application numbers (and colours) the subpatterns.
TEST(PointOperations, OrderOfApplication) {
    EXPECT_EQ(GroupOperations(11), (std::vector<Long>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(GroupOperations(17), (std::vector<Long>{8, 9, 3, 14, 15, 2, 10, 11, 1, 12, 13}));
    EXPECT_EQ(ApplyPointOperation(1, {2, 3}).y, -3);  // code 1 mirrors in the x axis
    EXPECT_NEAR(ApplyPointOperation(9, {1, 0}).y, std::sqrt(0.75), 1e-12);  // 9 is +120
}

TEST(ReciprocalLattices, AreDualToTheLatticeWithout2Pi) {
    for (auto [group, a, alpha, rotDeg] :
         {std::tuple{1, 1.4142, 55.0, 30.0}, {9, 3.0, 90.0, -70.0}}) {
        Module1 m;
        FillTables(m);
        m.BasicGroup = group;
        m.LatticeA = a, m.LatticeB = 1, m.LatticeAlpha = alpha;
        m.M11 = 2, m.M12 = 1, m.M21 = -1, m.M22 = 3;
        ComputeBasicVectors(m);
        m.RotCos = std::cos(rotDeg * m.DegToRad);
        m.RotSin = std::sin(rotDeg * m.DegToRad);
        RotateVectors(m);
        ComputeReciprocalLattices(m);
        const Vec2 real[4] = {{m.A1X, m.A1Y}, {m.A2X, m.A2Y}, {m.B1X, m.B1Y}, {m.B2X, m.B2Y}};
        const Vec2 rec[4] = {
            {m.RA1X, m.RA1Y}, {m.RA2X, m.RA2Y}, {m.RB1X, m.RB1Y}, {m.RB2X, m.RB2Y}};
        for (int i = 0; i < 4; ++i)
            for (int j = (i / 2) * 2; j < (i / 2) * 2 + 2; ++j)
                EXPECT_NEAR(real[i].x * rec[j].x + real[i].y * rec[j].y, i == j, 1e-12);
    }
}

TEST(ReciprocalLattices, PatScaleFromTheSmallerBoxSideAndTheLongerVector) {
    // {a, b, PatMag, box width, box height, PatScale}
    const double cases[][6] = {
        {2, 1, 1, 3480, 3480, 1392},   // 3480 / 2.5; |a2*| = 1 is the longer
        {1, 0.5, 1, 3480, 3480, 696},  // |a2*| = 2
        {1, 1, 2, 3480, 3480, 696},    // zoomed out
        {1, 1, 1, 4000, 3000, 1200},  {1, 1, 1, 3000, 4000, 1200},
    };
    for (const auto& c : cases) {
        Module1 m;
        FillTables(m);
        m.BasicGroup = 6;
        m.LatticeA = c[0], m.LatticeB = c[1], m.LatticeAlpha = 90;
        m.PatMag = c[2], m.PatBoxWidth = c[3], m.PatBoxHeight = c[4];
        ComputeBasicVectors(m);
        ComputeSuperVectors(m);
        ComputeReciprocalLattices(m);
        EXPECT_NEAR(m.PatScale, c[5], 1e-6) << c[0] << " " << c[1] << " " << c[3];
    }
}

TEST(RegisterSubpattern, ComparesLatticesNotBasesWithinTheTolerance) {
    const struct {
        Vec2 p, q;
        bool isNew;
    } cases[] = {
        {{1, 1}, {0, 1}, false},        // another basis of the stored lattice
        {{-1, 0}, {0, -1}, false},      // negative coordinates
        {{1.0009, 0}, {0, 1}, false},   // within the tolerance above an integer
        {{-0.9991, 0}, {0, 1}, false},  // within the tolerance below one
        {{1.0011, 0}, {0, 1}, true},   {{0, 1}, {1, 0.998}, true},
    };
    for (const auto& c : cases) {
        Module1 m;
        RegisterSubpattern(m, {1, 0}, {0, 1});
        ASSERT_EQ(m.SubpatternCount, 1);
        RegisterSubpattern(m, c.p, c.q);
        EXPECT_EQ(m.SubpatternCount, c.isNew ? 2 : 1) << c.p.x << " " << c.q.y;
        EXPECT_EQ(m.SubpatternVec1[2].x, c.isNew ? c.p.x : 0.0);
    }
}

TEST(RegisterSubpattern, NeverStoresMoreThanTwelve) {
    Module1 m;
    for (int i = 0; i < 14; ++i) RegisterSubpattern(m, {1, 0}, {0, 1 + 0.013 * i});
    EXPECT_EQ(m.SubpatternCount, 12);
    EXPECT_DOUBLE_EQ(m.SubpatternVec2[12].y, 1 + 0.013 * 11);
    m.SubpatternCount = 40;  // a count from elsewhere outside the storage
    RegisterSubpattern(m, {3, 0}, {0, 7});
    EXPECT_EQ(m.SubpatternCount, 40);
}

}  // namespace
