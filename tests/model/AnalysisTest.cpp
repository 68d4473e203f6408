#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "model/Analysis.h"
#include "model/Vectors.h"

using namespace quorvex::model;

namespace {

TEST(ClassifyCell, TypesAndCentringAxis) {
    // {P, Q, |cos|, tolerance, type, axis}; the tolerance 0.25 rows sit exactly on
    // the tolerance, where only strict comparisons give the stated type.
    const double cases[][6] = {
        {1, 1, 0, 0.001, 4, 0},
        {1, 1, 0.5, 0.001, 5, 0},
        {1, 1, 0.3, 0.001, 3, 0},  // rhombic: no centring axis
        {4, 1, 0, 0.001, 2, 0},
        {4, 1, 0.5, 0.001, 1, 0},  // |b1| = 2, |b2| = 1 at 60: ratios give 1 and 0.25
        {2, 1, 0.70710678, 0.001, 3, 2},
        {1, 2, 0.70710678, 0.001, 3, 1},
        {1, 1.0011, 0.5, 0.001, 3, 1},  // both ratio tests hold: the first wins
        {1, 1.25, 0, 0.25, 2, 0},
        {4, 1, 0.25, 0.25, 3, 1},
        {std::nan(""), 1, 0, 0.001, 1, 0},
        {0, 1, 0.5, 0.001, 1, 0},  // zero length: infinite ratio, still no NaN
    };
    for (const auto& c : cases) {
        Long axis = 2;
        EXPECT_EQ(ClassifyCell(c[0], c[1], c[2], c[3], &axis), c[4]) << c[0] << " " << c[1];
        EXPECT_EQ(axis, c[5]) << c[0] << " " << c[1] << " " << c[2];
    }
}

TEST(CheckHigherSymmetry, Hints) {
    // {group, a, b, alpha, caption}; no caption: hidden with caption " "
    const std::tuple<Long, double, double, double, const char*> cases[] = {
        {6, 1, 1, 90, "Higher symmetry (square) possible"},
        {6, 1.4142, 1, 90, nullptr},
        {1, 1, 1, 60, "Higher symmetry (hexagonal) possible"},
        {1, 1.4142, 1, 90, "Higher symmetry (prim. rect.) possible"},
        {1, std::sqrt(2.0), 1, 45, "Higher symmetry (centrd. rect) possible"},
        {5, 1, 1, 55, "Higher symmetry (square) possible"},  // half-diagonals, alpha unused
        {9, std::sqrt(3.0), 1, 90, "Higher symmetry (hexagonal) possible"},
        {13, 1, 1, 120, nullptr},
        {5, 0, 0, 90, nullptr},  // no cell at all: no hint and no NaN trouble
    };
    for (const auto& [group, a, b, alpha, caption] : cases) {
        Module1 m;
        FillTables(m);
        m.BasicGroup = group, m.LatticeA = a, m.LatticeB = b, m.LatticeAlpha = alpha;
        const HigherSymmetryHint hint = CheckHigherSymmetry(m);
        EXPECT_EQ(hint.visible, caption != nullptr) << "group " << group << " a " << a;
        EXPECT_EQ(hint.caption, caption ? caption : " ") << "group " << group << " a " << a;
    }
}

TEST(AnalyzeSuperlattice, CaptionTypeAxisAndHandedness) {
    struct Case {
        double alpha;
        Long m11, m12, m21, m22;
        const char* caption;
        Long type, axis;
        bool rightHanded;
    };
    const Case cases[] = {
        {90, 2, 0, 0, 2, "a = 2.0000   b = 2.0000   phi = 90.0", 4, 0, true},
        {90, 1, -1, 1, 1, "a = 1.4142   b = 1.4142   phi = 90.0", 4, 0, true},
        {90, 2, 0, 1, 1, "a = 2.0000   b = 1.4142   phi = 45.0", 3, 2, true},
        {90, 1, 1, 2, 0, "a = 1.4142   b = 2.0000   phi = 45.0", 3, 1, false},
        {120, 1, 0, 0, 1, "a = 1.0000   b = 1.0000   phi = 120.0", 5, 0, true},
        // Parallel and zero vectors never come through the update cycle, but phi
        // must still be a number; a zero cross product counts as right-handed.
        {90, 1, 0, -3, 0, "a = 1.0000   b = 3.0000   phi = 180.0", 1, 0, true},
        {90, 0, 0, 1, 0, "a = 0.0000   b = 1.0000   phi = 0.0", 1, 0, true},
    };
    for (const Case& c : cases) {
        Module1 m;
        FillTables(m);
        m.BasicGroup = 11;
        m.LatticeA = 1, m.LatticeB = 1, m.LatticeAlpha = c.alpha;
        m.M11 = c.m11, m.M12 = c.m12, m.M21 = c.m21, m.M22 = c.m22;
        ComputeBasicVectors(m);
        ComputeSuperVectors(m);
        m.CentredAxis = 1 + (c.axis == 1);  // a stale value that must be overwritten
        m.SuperRightHanded = !c.rightHanded;
        EXPECT_EQ(AnalyzeSuperlattice(m, m.SuperLatticeType), c.caption);
        EXPECT_EQ(m.SuperLatticeType, c.type) << c.caption;
        EXPECT_EQ(m.CentredAxis, c.axis) << c.caption;
        EXPECT_EQ(m.SuperRightHanded, c.rightHanded) << c.caption;
    }
}

TEST(SetUnconstrainedGroups, ByLatticeTypeWithoutRotatedGroups) {
    const char* expected[] = {"/1/2/",
                              "/1/2/",
                              "/1/2/3/4/6/7/8/",
                              "/1/2/5/9/",
                              "/1/2/3/4/5/6/7/8/9/10/11/12/",
                              "/1/2/5/9/13/14/15/16/17/"};
    for (Long type = 0; type <= 5; ++type) {
        Module1 m;
        FillTables(m);
        m.AllowedSuperGroup.fill(true);
        m.GroupAxisSwap.fill(true);
        m.SuperLatticeType = type;
        SetUnconstrainedGroups(m);
        EXPECT_EQ(AllowedGroupsCaption(m), expected[type]) << "type " << type;
        for (int g = 1; g <= GroupCount; ++g) EXPECT_FALSE(m.GroupAxisSwap[g]) << g;
    }
}

}  // namespace
