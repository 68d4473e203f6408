#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/Analysis.h"
#include "model/Vectors.h"

using namespace quorvex::model;

namespace {

// The starting cells of the group classes, plus two square metrics that the
// user can type into a rectangular or centred group.
enum class Cell { Oblique, Rect, Centred, Square, Hex, RectSquare, CentredSquare };

struct Case {
    Long group;
    Cell cell;
    Long m11, m12, m21, m22;
    const char* allowed;  // Label15 caption
    const char* swapped;  // groups whose GroupAxisSwap ends true
};

Module1 Analysed(Long group, Cell cell, Long m11, Long m12, Long m21, Long m22) {
    Module1 m;
    FillTables(m);
    m.BasicGroup = group;
    struct Metric {
        double a, b, alpha;
    };
    const double root2 = std::sqrt(2.0);
    const Metric metrics[] = {{root2, 1, 55}, {root2, 1, 90}, {root2, 1, 90}, {1, 1, 90},
                              {1, 1, 120},    {1, 1, 90},     {1, 1, 90}};
    const Metric& metric = metrics[static_cast<int>(cell)];
    m.LatticeA = metric.a;
    m.LatticeB = metric.b;
    m.LatticeAlpha = metric.alpha;
    m.M11 = m11;
    m.M12 = m12;
    m.M21 = m21;
    m.M22 = m22;
    ComputeBasicVectors(m);
    ComputeSuperVectors(m);
    AnalyzeSuperlattice(m, m.SuperLatticeType);
    return m;
}

std::string Swapped(const Module1& m) {
    std::string list;
    for (int g = 1; g <= GroupCount; ++g) {
        if (m.GroupAxisSwap[g]) list += (list.empty() ? "" : " ") + std::to_string(g);
    }
    return list;
}

using enum Cell;

// Worked by hand from the rules, one row per (basic group, matrix). Matrices
// are the common names where one fits; the others reach the perpendicular and
// the second diagonal branches.
const Case kCases[] = {
    {1, Oblique, 1, 0, 0, 1, "/1/", ""},
    {1, Oblique, 2, 0, 0, 2, "/1/", ""},
    {2, Oblique, 2, 0, 0, 1, "/1/2/", ""},
    {2, Oblique, 1, -1, 1, 1, "/1/2/", ""},
    // pm
    {3, Rect, 1, 0, 0, 1, "/1/3/", ""},
    {3, Rect, 2, 0, 0, 1, "/1/3/4/", ""},
    {3, Rect, 1, 0, 0, 2, "/1/3/", ""},
    {3, Rect, 0, 1, -1, 0, "/1/3/", "3"},
    {3, Rect, 0, 1, -2, 0, "/1/3/4/", "3 4"},
    {3, Rect, 1, -1, 1, 1, "/1/5/", ""},
    {3, RectSquare, 1, -1, 1, 1, "/1/5/", ""},
    {3, RectSquare, 1, 1, -1, 1, "/1/5/", "5"},
    // pg
    {4, Rect, 1, 0, 0, 1, "/1/4/", ""},
    {4, Rect, 2, 0, 0, 1, "/1/", ""},
    {4, Rect, 3, 0, 0, 1, "/1/4/", ""},
    {4, Rect, 0, 1, -1, 0, "/1/4/", "4"},
    // cm
    {5, Centred, 1, 0, 0, 1, "/1/5/", ""},
    {5, Centred, 1, -1, 1, 1, "/1/3/4/", "3 4"},
    {5, Centred, 1, 1, -1, 1, "/1/3/4/", ""},
    {5, Centred, 2, 0, 0, 1, "/1/", ""},
    {5, CentredSquare, 1, 0, 0, 1, "/1/5/", ""},
    {5, CentredSquare, 0, 1, -1, 0, "/1/5/", "5"},
    // p2mm
    {6, Rect, 1, 0, 0, 1, "/1/2/3/6/3'/", "18"},
    {6, Rect, 2, 0, 0, 1, "/1/2/3/4/6/7/3'/", "7 18"},
    {6, Rect, 1, 0, 0, 2, "/1/2/3/4/6/7/3'/", "4 18"},
    {6, Rect, 2, 0, 0, 2, "/1/2/3/4/6/7/8/3'/4'/7'/", "18 19 21"},
    {6, Rect, 0, 2, -1, 0, "/1/2/3/4/6/7/3'/", "3 7"},
    {6, Rect, 0, 2, -2, 0, "/1/2/3/4/6/7/8/3'/4'/7'/", "3 4 7"},
    {6, Rect, 1, -1, 1, 1, "/1/2/5/9/", ""},
    {6, RectSquare, 1, -1, 1, 1, "/1/2/5/9/", ""},
    {6, RectSquare, 1, 1, -1, 1, "/1/2/5/9/", "5 9"},
    // p2mg
    {7, Rect, 1, 0, 0, 1, "/1/2/3/4/7/", "4"},
    {7, Rect, 2, 0, 0, 1, "/1/2/3/4/7/8/4'/", "19"},
    {7, Rect, 1, 0, 0, 2, "/1/2/3/", ""},
    {7, Rect, 2, 0, 0, 2, "/1/2/3/4/", ""},
    {7, Rect, 0, 1, -1, 0, "/1/2/3/4/7/", "3 7"},
    {7, Rect, 0, 1, -2, 0, "/1/2/3/4/7/8/4'/", "3 7 19"},
    {7, Rect, 1, -1, 1, 1, "/1/2/5/", ""},
    {7, RectSquare, 1, 1, -1, 1, "/1/2/5/", "5"},
    // p2gg
    {8, Rect, 1, 0, 0, 1, "/1/2/4/8/4'/", "19"},
    {8, Rect, 2, 0, 0, 1, "/1/2/4/", "4"},
    {8, Rect, 1, 0, 0, 2, "/1/2/4/", ""},
    {8, Rect, 2, 0, 0, 2, "/1/2/", ""},
    {8, Rect, 3, 0, 0, 1, "/1/2/4/8/4'/", "19"},
    {8, Rect, 0, 2, -1, 0, "/1/2/4/", "4"},
    {8, Rect, 1, -1, 1, 1, "/1/2/", ""},
    // c2mm
    {9, Centred, 1, 0, 0, 1, "/1/2/5/9/5'/", "20"},
    {9, Centred, 1, -1, 1, 1, "/1/2/3/4/6/7/8/3'/4'/7'/", "3 4 7"},
    {9, Centred, 1, 1, -1, 1, "/1/2/3/4/6/7/8/3'/4'/7'/", "18 19 21"},
    {9, CentredSquare, 1, 0, 0, 1, "/1/2/5/9/5'/", "20"},
    // p4
    {10, Square, 2, 0, 0, 2, "/1/2/10/", ""},
    {10, Square, 2, 0, 0, 1, "/1/2/", ""},
    {10, Square, 2, 1, -1, 2, "/1/2/10/", ""},
    // p4mm
    {11, Square, 1, 0, 0, 1, "/1/2/3/5/6/9/10/11/3'/5'/", "18 20"},
    {11, Square, 2, 0, 0, 1, "/1/2/3/4/6/7/3'/", "7 18"},
    {11, Square, 1, 0, 0, 2, "/1/2/3/4/6/7/3'/", "4 18"},
    {11, Square, 2, 0, 0, 2, "/1/2/3/4/5/6/7/8/9/10/11/12/3'/4'/5'/7'/", "18 19 20 21"},
    {11, Square, 1, -1, 1, 1, "/1/2/3/4/5/6/7/8/9/10/11/12/3'/4'/5'/7'/", "18 19 20 21"},
    {11, Square, 2, 1, -1, 2, "/1/2/10/", ""},
    {11, Square, 2, -1, 2, 1, "/1/2/5/9/5'/", "20"},
    // p4gm
    {12, Square, 1, 0, 0, 1, "/1/2/4/5/8/9/10/12/4'/5'/", "19 20"},
    {12, Square, 2, 0, 0, 1, "/1/2/4/", "4"},
    {12, Square, 3, 0, 0, 1, "/1/2/4/8/4'/", "19"},
    {12, Square, 2, 0, 0, 2, "/1/2/5/9/10/5'/", "20"},
    {12, Square, 1, -1, 1, 1, "/1/2/3/4/6/7/8/10/3'/4'/7'/", "18 19 21"},
    // p3
    {13, Hex, 1, 0, 0, 1, "/1/13/", ""},
    {13, Hex, 2, 0, 0, 2, "/1/13/", ""},
    {13, Hex, 1, -1, 1, 2, "/1/13/", ""},
    {13, Hex, 2, 0, 0, 1, "/1/", ""},
    // p3m1
    {14, Hex, 1, 0, 0, 1, "/1/13/14/", ""},
    {14, Hex, 2, 0, 0, 2, "/1/13/14/", ""},
    {14, Hex, 2, 1, -1, 1, "/1/5/13/15/", ""},
    {14, Hex, 1, -1, 1, 2, "/1/5/13/15/", ""},
    {14, Hex, 4, 0, 2, 4, "/1/3/4/", "3 4"},
    {14, Hex, 1, 2, -2, 0, "/1/3/4/", ""},
    {14, Hex, 3, 1, 1, 3, "/1/5/", "5"},
    {14, Hex, -1, 2, 3, 2, "/1/5/", ""},
    // p31m
    {15, Hex, 1, 0, 0, 1, "/1/5/13/15/", ""},
    {15, Hex, 2, 0, 0, 2, "/1/5/13/15/", ""},
    {15, Hex, 1, -1, 1, 2, "/1/5/13/14/", "5"},
    {15, Hex, 4, 0, 2, 4, "/1/3/4/", ""},
    {15, Hex, 1, 2, -2, 0, "/1/3/4/", "3 4"},
    {15, Hex, 3, 1, 1, 3, "/1/5/", ""},
    {15, Hex, -1, 2, 3, 2, "/1/5/", "5"},
    // p6
    {16, Hex, 2, 0, 0, 2, "/1/2/13/16/", ""},
    {16, Hex, 2, 0, 0, 1, "/1/2/", ""},
    // p6mm
    {17, Hex, 1, 0, 0, 1, "/1/2/5/9/13/14/15/16/17/5'/", "20"},
    {17, Hex, 2, 0, 0, 2, "/1/2/5/9/13/14/15/16/17/5'/", "20"},
    {17, Hex, 1, -1, 1, 2, "/1/2/5/9/13/14/15/16/17/5'/", "20"},
    {17, Hex, 4, 0, 2, 4, "/1/2/3/4/6/7/8/3'/4'/7'/", "18 19 21"},
    {17, Hex, 1, 2, -2, 0, "/1/2/3/4/6/7/8/3'/4'/7'/", "3 4 7"},
    {17, Hex, 3, 1, 1, 3, "/1/2/5/9/5'/", "20"},
    {17, Hex, 2, 0, 0, 1, "/1/2/", ""},
};

TEST(SetConstrainedGroups, AllowedGroupsAndAxisSwaps) {
    for (const Case& c : kCases) {
        Module1 m = Analysed(c.group, c.cell, c.m11, c.m12, c.m21, c.m22);
        m.AllowedSuperGroup.fill(true);  // stale results of an earlier update
        m.GroupAxisSwap.fill(true);
        SetConstrainedGroups(m);
        const std::string where = "group " + std::to_string(c.group) + " matrix " +
                                  std::to_string(c.m11) + " " + std::to_string(c.m12) + " / " +
                                  std::to_string(c.m21) + " " + std::to_string(c.m22);
        EXPECT_EQ(AllowedGroupsCaption(m), c.allowed) << where;
        EXPECT_EQ(Swapped(m), c.swapped) << where;
    }
}

TEST(SetConstrainedGroups, ObliqueSuperlatticeKeepsOnlyTheLeadingGroups) {
    for (Long g = 1; g <= BasicGroupCount; ++g) {
        const Cell cell = g <= 2             ? Oblique
                          : g == 5 || g == 9 ? Centred
                          : g <= 9           ? Rect
                          : g <= 12          ? Square
                                             : Hex;
        // (2 1 / 0 1) is oblique on all these cells but the hexagonal one, where
        // (2 0 / 0 1) is.
        const Module1 base =
            cell == Hex ? Analysed(g, cell, 2, 0, 0, 1) : Analysed(g, cell, 2, 1, 0, 1);
        ASSERT_EQ(base.SuperLatticeType, 1) << "group " << g;
        Module1 m = base;
        SetConstrainedGroups(m);
        const bool listsP2 = g == 2 || (g >= 6 && g <= 12) || g >= 16;
        EXPECT_EQ(AllowedGroupsCaption(m), listsP2 ? "/1/2/" : "/1/") << "group " << g;
        EXPECT_EQ(Swapped(m), "") << "group " << g;
    }
}

}  // namespace
