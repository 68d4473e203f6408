#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/Analysis.h"
#include "model/Vectors.h"

using namespace quorvex::model;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct CellCase {
    double P, Q, absCos, tolerance;
    Long type, axis;
};

// Hand-worked from the classification rule; the tolerance 0.25 cases sit exactly
// on the tolerance, where only strict comparisons give the stated type.
const CellCase kCells[] = {
    {1, 1, 0, 0.001, 4, 0},
    {1, 1, 0.5, 0.001, 5, 0},         // 60 and 120 degrees alike
    {1, 1, 0.3, 0.001, 3, 0},         // rhombic: no centring axis
    {4, 1, 0, 0.001, 2, 0},           // squared lengths differ by 3
    {4, 1, 0.5, 0.001, 1, 0},         // |b1| = 2, |b2| = 1 at 60: ratios give 1 and 0.25
    {2, 1, 0.70710678, 0.001, 3, 2},  // b2 projects onto half of b1
    {1, 2, 0.70710678, 0.001, 3, 1},  // b1 projects onto half of b2
    {1, 1.0011, 0.5, 0.001, 3, 1},    // both ratio tests hold: the first wins
    {1.0011, 1, 0.5, 0.001, 3, 1},
    {1, 1.25, 0, 0.25, 2, 0},   // |P - Q| equal to the tolerance: not equal lengths
    {1, 1, 0.25, 0.25, 3, 0},   // neither square nor (|c - 0.5| = tol) hexagonal
    {1, 1, 0.75, 0.25, 3, 0},   //
    {4, 1, 0.25, 0.25, 3, 1},   // c equal to the tolerance is not a right angle
    {4, 1, 0.375, 0.25, 1, 0},  // ratio 0.75 is exactly tol away from 0.5
    {kNaN, 1, 0, 0.001, 1, 0},  //
    {1, 1, kNaN, 0.001, 1, 0},  //
    {0, 1, 0.5, 0.001, 1, 0},   // zero length: infinite ratio, still no NaN
};

TEST(ClassifyCell, TypesAndCentringAxis) {
    for (const CellCase& c : kCells) {
        Long axis = 2;
        EXPECT_EQ(ClassifyCell(c.P, c.Q, c.absCos, c.tolerance, &axis), c.type)
            << c.P << " " << c.Q << " " << c.absCos << " tol " << c.tolerance;
        EXPECT_EQ(axis, c.axis) << c.P << " " << c.Q << " " << c.absCos;
    }
    EXPECT_EQ(ClassifyCell(2, 1, 0.70710678, 0.001, nullptr), 3);
}

struct HintCase {
    Long group;
    double a, b, alpha;
    const char* caption;  // nullptr: hidden with caption " "
};

const HintCase kHints[] = {
    {6, 1, 1, 90, "Higher symmetry (square) possible"},
    {6, 1.4142, 1, 90, nullptr},
    {1, 1, 1, 60, "Higher symmetry (hexagonal) possible"},
    {1, 1.4142, 1, 90, "Higher symmetry (prim. rect.) possible"},
    {1, std::sqrt(2.0), 1, 45, "Higher symmetry (centrd. rect) possible"},
    {1, 1, std::sqrt(2.0), 45, "Higher symmetry (centrd. rect) possible"},
    {1, 1.4142, 1, 55, nullptr},
    {3, 1, 1, 70, "Higher symmetry (centrd. rect) possible"},  // compared by number
    {5, 1, 1, 55, "Higher symmetry (square) possible"},        // half-diagonals, alpha unused
    {9, 1.4142, 1, 90, nullptr},
    {9, std::sqrt(3.0), 1, 90, "Higher symmetry (hexagonal) possible"},
    {10, 1, 1, 90, nullptr},
    {13, 1, 1, 120, nullptr},
    {5, 0, 0, 90, nullptr},  // no cell at all: no hint and no NaN trouble
};

TEST(CheckHigherSymmetry, Hints) {
    for (const HintCase& h : kHints) {
        Module1 m;
        FillTables(m);
        m.BasicGroup = h.group;
        m.LatticeA = h.a;
        m.LatticeB = h.b;
        m.LatticeAlpha = h.alpha;
        const HigherSymmetryHint hint = CheckHigherSymmetry(m);
        EXPECT_EQ(hint.visible, h.caption != nullptr) << "group " << h.group << " a " << h.a;
        EXPECT_EQ(hint.caption, h.caption ? h.caption : " ") << "group " << h.group;
    }
}

struct SuperCase {
    Long group;
    double a, b, alpha;
    Long m11, m12, m21, m22;
    const char* caption;
    Long type, axis;
    bool rightHanded;
};

const SuperCase kSupers[] = {
    {11, 1, 1, 90, 2, 0, 0, 2, "a = 2.0000   b = 2.0000   phi = 90.0", 4, 0, true},
    {11, 1, 1, 90, 0, 1, 1, 0, "a = 1.0000   b = 1.0000   phi = 90.0", 4, 0, false},
    {11, 1, 1, 90, 2, 0, 1, 1, "a = 2.0000   b = 1.4142   phi = 45.0", 3, 2, true},
    {11, 1, 1, 90, 1, 1, 2, 0, "a = 1.4142   b = 2.0000   phi = 45.0", 3, 1, false},
    {11, 1, 1, 90, 2, -1, 2, 1, "a = 2.2361   b = 2.2361   phi = 53.1", 3, 0, true},
    {17, 1, 1, 120, 1, 0, 0, 1, "a = 1.0000   b = 1.0000   phi = 120.0", 5, 0, true},
    {1, 1, 1, 60, 1, 0, 0, 1, "a = 1.0000   b = 1.0000   phi = 60.0", 5, 0, true},
    {1, 2, 1, 60, 1, 0, 0, 1, "a = 2.0000   b = 1.0000   phi = 60.0", 1, 0, true},
    {17, 1, 1, 120, 2, 0, 0, 1, "a = 2.0000   b = 1.0000   phi = 120.0", 1, 0, true},
};

TEST(AnalyzeSuperlattice, CaptionTypeAxisAndHandedness) {
    for (const SuperCase& c : kSupers) {
        Module1 m;
        FillTables(m);
        m.BasicGroup = c.group;
        m.LatticeA = c.a;
        m.LatticeB = c.b;
        m.LatticeAlpha = c.alpha;
        m.M11 = c.m11;
        m.M12 = c.m12;
        m.M21 = c.m21;
        m.M22 = c.m22;
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

// Parallel or degenerate vectors never reach the analysis through the update
// cycle, but the analysis alone must still give a number for phi.
TEST(AnalyzeSuperlattice, DegenerateCellsGiveNoNaN) {
    struct Degenerate {
        double b1x, b1y, b2x, b2y;
        const char* caption;
        bool zeroCross;
    };
    // 0.1, 0.5 against three times itself: the rounded cosine is 1 + 2e-16.
    const Degenerate cases[] = {
        {0.1, 0.5, 3 * 0.1, 3 * 0.5, "a = 0.5099   b = 1.5297   phi = 0.0", false},
        {0.1, 0.5, -3 * 0.1, -3 * 0.5, "a = 0.5099   b = 1.5297   phi = 180.0", false},
        {0, 0, 1, 0, "a = 0.0000   b = 1.0000   phi = 0.0", true},
    };
    for (const Degenerate& d : cases) {
        Module1 m;
        FillTables(m);
        m.B1X = d.b1x;
        m.B1Y = d.b1y;
        m.B2X = d.b2x;
        m.B2Y = d.b2y;
        Long type = 0;
        EXPECT_EQ(AnalyzeSuperlattice(m, type), d.caption);
        EXPECT_EQ(type, 1);
        EXPECT_EQ(m.CentredAxis, 0);
        // A zero cross product counts as right-handed.
        if (d.zeroCross) {
            EXPECT_TRUE(m.SuperRightHanded);
        }
    }
}

TEST(SetUnconstrainedGroups, ByLatticeTypeWithoutRotatedGroups) {
    const char* expected[] = {"/1/2/",  // unknown type
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

TEST(SetUnconstrainedGroups, CentredSquareSuperlatticeAllowsAllSquareGroups) {
    Module1 m;
    FillTables(m);
    m.M12 = -1;
    m.M21 = 1;
    ComputeBasicVectors(m);
    ComputeSuperVectors(m);
    AnalyzeSuperlattice(m, m.SuperLatticeType);
    SetUnconstrainedGroups(m);
    EXPECT_EQ(AllowedGroupsCaption(m), "/1/2/3/4/5/6/7/8/9/10/11/12/");
}

TEST(AllowedGroupsCaption, RotatedGroupsFollowInTheirOwnOrder) {
    Module1 m;
    FillTables(m);
    EXPECT_EQ(AllowedGroupsCaption(m), "/");
    m.AllowedSuperGroup[21] = m.AllowedSuperGroup[18] = m.AllowedSuperGroup[17] = true;
    EXPECT_EQ(AllowedGroupsCaption(m), "/17/3'/7'/");
    m.AllowedSuperGroup.fill(true);
    EXPECT_EQ(AllowedGroupsCaption(m), "/1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/3'/4'/5'/7'/");
}

}  // namespace
