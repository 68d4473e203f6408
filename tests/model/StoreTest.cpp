#include <gtest/gtest.h>

#include "model/Store.h"

using namespace quorvex::model;

namespace {

// Gives all 22 stored fields values that differ from each other and between
// seeds; of the five flags only flag number seed % 5 is set.
void FillFields(Module1& m, int seed) {
    m.BasicGroup = 1 + seed % 17;
    m.LatticeA = 1.25 + seed;
    m.LatticeB = 2.5 + seed;
    m.LatticeAlpha = 60.5 + seed;
    m.M11 = 100 + seed;
    m.M22 = 200 + seed;
    m.M12 = 300 + seed;
    m.M21 = 400 + seed;
    m.CommonNameIndex = seed % 26;
    m.SuperGroup = 1 + (seed + 3) % 21;
    m.Constrained = seed % 5 == 0;
    m.IncludeDomains = seed % 5 == 1;
    m.PaintDomains = seed % 5 == 2;
    m.Include1x1 = seed % 5 == 3;
    m.IncludeBases = seed % 5 == 4;
    m.LatMag = 0.5 + seed;
    m.PatMag = 0.75 + seed;
    m.RotAngle = 15.0 + seed;
    m.RotCos = 0.125 + seed;
    m.RotSin = 0.375 + seed;
    m.LatDotRadius = 10.0 + seed;
    m.SpotRadius = 20.0 + seed;
}

// The 22 fields read back by name, to compare whole parameter sets.
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

Module1 Started() {
    Module1 m;
    FillTables(m);
    return m;
}

void Save(Module1& m, int seed) {
    FillFields(m, seed);
    StoreState(m);
}

TEST(Store, NothingToLoadAtStartUpOrAfterClear) {
    Module1 m = Started();
    EXPECT_EQ(LoadCaption(m), "Load (0/0)");
    EXPECT_FALSE(RestoreRecord(m));

    Save(m, 1);
    Save(m, 2);
    ClearStore(m);
    EXPECT_EQ(LoadCaption(m), "Load (0/0)");
    FillFields(m, 7);
    EXPECT_FALSE(RestoreRecord(m));
    EXPECT_EQ(Fields(m), [] {
        Module1 e;
        FillFields(e, 7);
        return Fields(e);
    }());

    // The old records stay unreachable: a new Save counts from one.
    Save(m, 3);
    EXPECT_EQ(LoadCaption(m), "Load (1/1)");
}

TEST(Store, LoadsGoRoundTheRingNewestFirst) {
    Module1 m = Started();
    Save(m, 1);  // A
    EXPECT_EQ(LoadCaption(m), "Load (1/1)");
    Save(m, 2);  // B
    Save(m, 3);  // C
    EXPECT_EQ(LoadCaption(m), "Load (1/3)");

    const struct {
        int seed;
        const char* caption;
    } loads[] = {{3, "Load (2/3)"}, {2, "Load (3/3)"}, {1, "Load (1/3)"}, {3, "Load (2/3)"}};
    for (const auto& load : loads) {
        FillFields(m, 99);
        m.ResetSuperGroup = true;
        ASSERT_TRUE(RestoreRecord(m));
        EXPECT_EQ(m.M11, 100 + load.seed);
        EXPECT_FALSE(m.ResetSuperGroup);
        EXPECT_EQ(LoadCaption(m), load.caption);
    }

    Save(m, 4);  // a Save after Loads starts again at the newest set
    EXPECT_EQ(LoadCaption(m), "Load (1/4)");
    ASSERT_TRUE(RestoreRecord(m));
    EXPECT_EQ(m.M11, 104);
}

TEST(Store, EleventhSaveDropsTheOldest) {
    Module1 m = Started();
    for (int seed = 1; seed <= 11; ++seed) Save(m, seed);
    EXPECT_EQ(LoadCaption(m), "Load (1/10)");
    for (int expected = 11; expected >= 2; --expected) {
        ASSERT_TRUE(RestoreRecord(m));
        EXPECT_EQ(m.M11, 100 + expected);
    }
    ASSERT_TRUE(RestoreRecord(m));
    EXPECT_EQ(m.M11, 111);
}

TEST(Store, AllFieldsRoundTrip) {
    Module1 m = Started();
    for (int seed = 0; seed < 5; ++seed) {
        Save(m, seed);
        EXPECT_EQ(m.StoreStack[1], Fields(m));
    }
    for (int seed = 4; seed >= 0; --seed) {
        FillFields(m, 51 + seed);  // every flag differs from the stored one
        ASSERT_TRUE(RestoreRecord(m));
        Module1 expected;
        FillFields(expected, seed);
        EXPECT_EQ(Fields(m), Fields(expected)) << seed;
    }
}

}  // namespace
