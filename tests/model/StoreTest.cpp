#include <gtest/gtest.h>

#include <utility>

#include "model/Store.h"

using namespace quorvex::model;

namespace {

// All 22 stored fields, distinct from each other and between seeds; of the
// five flags only number seed % 5 is set.
void FillFields(Module1& m, int s) {
    m.BasicGroup = 1 + s % 17, m.LatticeA = 1.25 + s, m.LatticeB = 2.5 + s;
    m.LatticeAlpha = 60.5 + s, m.M11 = 100 + s, m.M22 = 200 + s, m.M12 = 300 + s;
    m.M21 = 400 + s, m.CommonNameIndex = s % 26, m.SuperGroup = 1 + (s + 3) % 21;
    m.Constrained = s % 5 == 0, m.IncludeDomains = s % 5 == 1, m.PaintDomains = s % 5 == 2;
    m.Include1x1 = s % 5 == 3, m.IncludeBases = s % 5 == 4, m.LatMag = 0.5 + s;
    m.PatMag = 0.75 + s, m.RotAngle = 15.0 + s, m.RotCos = 0.125 + s, m.RotSin = 0.375 + s;
    m.LatDotRadius = 10.0 + s, m.SpotRadius = 20.0 + s;
}

// The 22 fields read back by name.
StoredState Fields(const Module1& m) {
    return {m.BasicGroup,   m.LatticeA,    m.LatticeB,
            m.LatticeAlpha, m.M11,         m.M22,
            m.M12,          m.M21,         m.CommonNameIndex,
            m.SuperGroup,   m.Constrained, m.IncludeDomains,
            m.PaintDomains, m.Include1x1,  m.IncludeBases,
            m.LatMag,       m.PatMag,      m.RotAngle,
            m.RotCos,       m.RotSin,      m.LatDotRadius,
            m.SpotRadius};
}

void Save(Module1& m, int seed) {
    FillFields(m, seed);
    StoreState(m);
}

TEST(Store, RingOfTenNewestFirst) {
    Module1 m;
    FillTables(m);
    EXPECT_EQ(LoadCaption(m), "Load (0/0)");
    EXPECT_FALSE(RestoreRecord(m));
    Save(m, 1);
    ASSERT_TRUE(RestoreRecord(m));
    EXPECT_EQ(LoadCaption(m), "Load (1/1)");
    Save(m, 2);
    Save(m, 3);
    EXPECT_EQ(LoadCaption(m), "Load (1/3)");
    const std::pair<int, const char*> loads[] = {
        {3, "Load (2/3)"}, {2, "Load (3/3)"}, {1, "Load (1/3)"}, {3, "Load (2/3)"}};
    for (const auto& [seed, caption] : loads) {
        m.ResetSuperGroup = true;
        ASSERT_TRUE(RestoreRecord(m));
        EXPECT_EQ(m.M11, 100 + seed);
        EXPECT_FALSE(m.ResetSuperGroup);
        EXPECT_EQ(LoadCaption(m), caption);
    }
    // A Save after Loads starts again at the newest set; the eleventh drops the oldest.
    for (int seed = 4; seed <= 11; ++seed) Save(m, seed);
    EXPECT_EQ(LoadCaption(m), "Load (1/10)");
    for (int expected : {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 11}) {
        ASSERT_TRUE(RestoreRecord(m));
        EXPECT_EQ(m.M11, 100 + expected);
    }
    // Clear leaves the old records unreachable: a new Save counts from one.
    ClearStore(m);
    EXPECT_EQ(LoadCaption(m), "Load (0/0)");
    FillFields(m, 7);
    EXPECT_FALSE(RestoreRecord(m));
    EXPECT_EQ(m.M11, 107);
    Save(m, 12);
    EXPECT_EQ(LoadCaption(m), "Load (1/1)");
}

TEST(Store, AllFieldsRoundTrip) {
    Module1 m;
    FillTables(m);
    for (int seed = 0; seed < 5; ++seed) Save(m, seed);
    for (int seed = 4; seed >= 0; --seed) {
        FillFields(m, 51 + seed);  // every flag differs from the stored one
        ASSERT_TRUE(RestoreRecord(m));
        Module1 expected;
        FillFields(expected, seed);
        EXPECT_EQ(Fields(m), Fields(expected)) << seed;
    }
}

}  // namespace
