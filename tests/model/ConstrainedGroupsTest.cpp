#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/Analysis.h"
#include "model/Vectors.h"

using namespace quorvex::model;

namespace {

// The starting cells of the group classes; a centred group takes the
// rectangular metric as the sides of its centred rectangle.
enum class Cell { Oblique, Rect, Square, Hex };

Module1 Analysed(Long group, Cell cell, Long m11, Long m12, Long m21, Long m22) {
    const double metrics[][3] = {
        {std::sqrt(2.0), 1, 55}, {std::sqrt(2.0), 1, 90}, {1, 1, 90}, {1, 1, 120}};
    const double* metric = metrics[static_cast<int>(cell)];
    Module1 m;
    FillTables(m);
    m.BasicGroup = group;
    m.LatticeA = metric[0], m.LatticeB = metric[1], m.LatticeAlpha = metric[2];
    m.M11 = m11, m.M12 = m12, m.M21 = m21, m.M22 = m22;
    ComputeBasicVectors(m);
    ComputeSuperVectors(m);
    AnalyzeSuperlattice(m, m.SuperLatticeType);
    return m;
}

std::string Swapped(const Module1& m) {
    std::string list;
    for (int g = 1; g <= GroupCount; ++g)
        if (m.GroupAxisSwap[g]) list += (list.empty() ? "" : " ") + std::to_string(g);
    return list;
}

using enum Cell;

struct Case {
    Long group;
    Cell cell;
    Long m11, m12, m21, m22;
    const char* allowed;  // Label15 caption
    const char* swapped;  // groups whose GroupAxisSwap ends true
};

// Worked by hand from the rules: at least one row per basic group, with the
// parallel, perpendicular and diagonal branches and the even/odd ratio tests.
const Case kCases[] = {
    {1, Oblique, 2, 0, 0, 2, "/1/", ""},
    {2, Oblique, 2, 0, 0, 1, "/1/2/", ""},
    {3, Rect, 0, 1, -2, 0, "/1/3/4/", "3 4"},
    {3, Square, 1, 1, -1, 1, "/1/5/", "5"},
    {4, Rect, 2, 0, 0, 1, "/1/", ""},  // pg needs an odd ratio
    {4, Rect, 3, 0, 0, 1, "/1/4/", ""},
    {4, Rect, 0, 1, -1, 0, "/1/4/", "4"},
    {5, Rect, 1, -1, 1, 1, "/1/3/4/", "3 4"},
    {5, Square, 0, 1, -1, 0, "/1/5/", "5"},
    {6, Rect, 2, 0, 0, 2, "/1/2/3/4/6/7/8/3'/4'/7'/", "18 19 21"},
    {6, Rect, 0, 2, -1, 0, "/1/2/3/4/6/7/3'/", "3 7"},
    {6, Square, 1, 1, -1, 1, "/1/2/5/9/", "5 9"},
    {7, Rect, 1, 0, 0, 1, "/1/2/3/4/7/", "4"},
    {7, Rect, 0, 1, -2, 0, "/1/2/3/4/7/8/4'/", "3 7 19"},
    {8, Rect, 1, 0, 0, 1, "/1/2/4/8/4'/", "19"},
    {8, Rect, 0, 2, -1, 0, "/1/2/4/", "4"},
    {9, Rect, 1, 0, 0, 1, "/1/2/5/9/5'/", "20"},
    {9, Rect, 1, -1, 1, 1, "/1/2/3/4/6/7/8/3'/4'/7'/", "3 4 7"},
    {9, Rect, 1, 1, -1, 1, "/1/2/3/4/6/7/8/3'/4'/7'/", "18 19 21"},
    {9, Square, 0, 1, -1, 0, "/1/2/5/9/5'/", "20"},  // u + w perpendicular to a1 + a2
    {10, Square, 2, 1, -1, 2, "/1/2/10/", ""},
    {11, Square, 2, 0, 0, 1, "/1/2/3/4/6/7/3'/", "7 18"},
    // p2mg (7) ends unswapped: the later action overrides the earlier one.
    {11, Square, 2, 0, 0, 2, "/1/2/3/4/5/6/7/8/9/10/11/12/3'/4'/5'/7'/", "18 19 20 21"},
    {11, Square, 1, -1, 1, 1, "/1/2/3/4/5/6/7/8/9/10/11/12/3'/4'/5'/7'/", "18 19 20 21"},
    {11, Square, 2, -1, 2, 1, "/1/2/5/9/5'/", "20"},
    {12, Square, 1, 0, 0, 1, "/1/2/4/5/8/9/10/12/4'/5'/", "19 20"},
    {12, Square, 1, -1, 1, 1, "/1/2/3/4/6/7/8/10/3'/4'/7'/", "18 19 21"},
    {13, Hex, 1, -1, 1, 2, "/1/13/", ""},
    {14, Hex, 2, 1, -1, 1, "/1/5/13/15/", ""},
    {14, Hex, 4, 0, 2, 4, "/1/3/4/", "3 4"},
    {14, Hex, 3, 1, 1, 3, "/1/5/", "5"},
    {15, Hex, 1, -1, 1, 2, "/1/5/13/14/", "5"},
    {15, Hex, 1, 2, -2, 0, "/1/3/4/", "3 4"},
    {16, Hex, 2, 0, 0, 2, "/1/2/13/16/", ""},
    {17, Hex, 2, 0, 0, 2, "/1/2/5/9/13/14/15/16/17/5'/", "20"},
    {17, Hex, 1, -1, 1, 2, "/1/2/5/9/13/14/15/16/17/5'/", "20"},
    {17, Hex, 1, 2, -2, 0, "/1/2/3/4/6/7/8/3'/4'/7'/", "3 4 7"},
    {17, Hex, 3, 1, 1, 3, "/1/2/5/9/5'/", "20"},
};

TEST(SetConstrainedGroups, AllowedGroupsAndAxisSwaps) {
    for (const Case& c : kCases) {
        Module1 m = Analysed(c.group, c.cell, c.m11, c.m12, c.m21, c.m22);
        m.AllowedSuperGroup.fill(true);  // stale results of an earlier update
        m.GroupAxisSwap.fill(true);
        SetConstrainedGroups(m);
        SCOPED_TRACE(::testing::Message() << "group " << c.group << " matrix " << c.m11 << " "
                                          << c.m12 << " / " << c.m21 << " " << c.m22);
        EXPECT_EQ(AllowedGroupsCaption(m), c.allowed);
        EXPECT_EQ(Swapped(m), c.swapped);
    }
}

TEST(SetConstrainedGroups, ObliqueSuperlatticeKeepsOnlyTheLeadingGroups) {
    for (Long g = 1; g <= BasicGroupCount; ++g) {
        const Cell cell = g <= 2 ? Oblique : g <= 9 ? Rect : g <= 12 ? Square : Hex;
        // (2 1 / 0 1) is oblique on all these cells but the hexagonal one.
        Module1 m = cell == Hex ? Analysed(g, cell, 2, 0, 0, 1) : Analysed(g, cell, 2, 1, 0, 1);
        ASSERT_EQ(m.SuperLatticeType, 1) << "group " << g;
        SetConstrainedGroups(m);
        const bool listsP2 = g == 2 || (g >= 6 && g <= 12) || g >= 16;
        EXPECT_EQ(AllowedGroupsCaption(m), listsP2 ? "/1/2/" : "/1/") << "group " << g;
        EXPECT_EQ(Swapped(m), "") << "group " << g;
    }
}

}  // namespace
