#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "model/AllowedGroups.h"
#include "model/CellAnalysis.h"

using namespace quorvex::model;

namespace {

// The starting cells of the group classes, {a, b, alpha}; a centred group
// takes the rectangular metric as the sides of its centred rectangle.
enum class Cell { Oblique, Rect, Square, Hex };
const double kMetrics[][3] = {
    {std::sqrt(2.0), 1, 55}, {std::sqrt(2.0), 1, 90}, {1, 1, 90}, {1, 1, 120}};

std::string Swapped(const AllowedGroups& groups) {
    std::string list;
    for (int g = 1; g <= kGroupCount; ++g)
        if (groups.axisSwap[g]) list += (list.empty() ? "" : " ") + std::to_string(g);
    return list;
}

using enum Cell;

struct Case {
    Int32 group;
    Cell cell;
    SuperlatticeMatrix matrix;
    const char* allowed;  // the allowed groups as listed
    const char* swapped;  // the groups whose direction lies along the other axis
};

// Worked by hand from the rules: at least one row per basic group, with the
// parallel, perpendicular and diagonal branches and the even/odd ratio tests.
const Case kCases[] = {
    {1, Oblique, {2, 0, 0, 2}, "/1/", ""},
    {2, Oblique, {2, 0, 0, 1}, "/1/2/", ""},
    {3, Rect, {0, 1, -2, 0}, "/1/3/4/", "3 4"},
    {3, Square, {1, 1, -1, 1}, "/1/5/", "5"},
    {4, Rect, {2, 0, 0, 1}, "/1/", ""},  // pg needs an odd ratio
    {4, Rect, {3, 0, 0, 1}, "/1/4/", ""},
    {4, Rect, {0, 1, -1, 0}, "/1/4/", "4"},
    {5, Rect, {1, -1, 1, 1}, "/1/3/4/", "3 4"},
    {5, Square, {0, 1, -1, 0}, "/1/5/", "5"},
    {6, Rect, {2, 0, 0, 2}, "/1/2/3/4/6/7/8/3'/4'/7'/", "18 19 21"},
    {6, Rect, {0, 2, -1, 0}, "/1/2/3/4/6/7/3'/", "3 7"},
    {6, Square, {1, 1, -1, 1}, "/1/2/5/9/", "5 9"},
    {7, Rect, {1, 0, 0, 1}, "/1/2/3/4/7/", "4"},
    {7, Rect, {0, 1, -2, 0}, "/1/2/3/4/7/8/4'/", "3 7 19"},
    {8, Rect, {1, 0, 0, 1}, "/1/2/4/8/4'/", "19"},
    {8, Rect, {0, 2, -1, 0}, "/1/2/4/", "4"},
    {9, Rect, {1, 0, 0, 1}, "/1/2/5/9/5'/", "20"},
    {9, Rect, {1, -1, 1, 1}, "/1/2/3/4/6/7/8/3'/4'/7'/", "3 4 7"},
    {9, Rect, {1, 1, -1, 1}, "/1/2/3/4/6/7/8/3'/4'/7'/", "18 19 21"},
    {9, Square, {0, 1, -1, 0}, "/1/2/5/9/5'/", "20"},  // u + w perpendicular to a1 + a2
    {10, Square, {2, 1, -1, 2}, "/1/2/10/", ""},
    {11, Square, {2, 0, 0, 1}, "/1/2/3/4/6/7/3'/", "7 18"},
    // p2mg (7) ends unswapped: the later action overrides the earlier one.
    {11, Square, {2, 0, 0, 2}, "/1/2/3/4/5/6/7/8/9/10/11/12/3'/4'/5'/7'/", "18 19 20 21"},
    {11, Square, {1, -1, 1, 1}, "/1/2/3/4/5/6/7/8/9/10/11/12/3'/4'/5'/7'/", "18 19 20 21"},
    {11, Square, {2, -1, 2, 1}, "/1/2/5/9/5'/", "20"},
    {12, Square, {1, 0, 0, 1}, "/1/2/4/5/8/9/10/12/4'/5'/", "19 20"},
    {12, Square, {1, -1, 1, 1}, "/1/2/3/4/6/7/8/10/3'/4'/7'/", "18 19 21"},
    {13, Hex, {1, -1, 1, 2}, "/1/13/", ""},
    {14, Hex, {2, 1, -1, 1}, "/1/5/13/15/", ""},
    {14, Hex, {4, 0, 2, 4}, "/1/3/4/", "3 4"},
    {14, Hex, {3, 1, 1, 3}, "/1/5/", "5"},
    {15, Hex, {1, -1, 1, 2}, "/1/5/13/14/", "5"},
    {15, Hex, {1, 2, -2, 0}, "/1/3/4/", "3 4"},
    {16, Hex, {2, 0, 0, 2}, "/1/2/13/16/", ""},
    {17, Hex, {2, 0, 0, 2}, "/1/2/5/9/13/14/15/16/17/5'/", "20"},
    {17, Hex, {1, -1, 1, 2}, "/1/2/5/9/13/14/15/16/17/5'/", "20"},
    {17, Hex, {1, 2, -2, 0}, "/1/2/3/4/6/7/8/3'/4'/7'/", "3 4 7"},
    {17, Hex, {3, 1, 1, 3}, "/1/2/5/9/5'/", "20"},
};

TEST(ConstrainedGroups, AllowedGroupsAndAxisSwaps) {
    for (const Case& c : kCases) {
        const SuperlatticeMatrix& m = c.matrix;
        SCOPED_TRACE(::testing::Message() << "group " << c.group << " matrix " << m.m11 << " "
                                          << m.m12 << " / " << m.m21 << " " << m.m22);
        const double* metric = kMetrics[static_cast<int>(c.cell)];
        Structure s;
        std::tie(s.a, s.b, s.alpha) = std::tuple(metric[0], metric[1], metric[2]);
        std::tie(s.basicGroup, s.matrix) = std::tuple(c.group, m);
        const CellVectors v = ComputeCellVectors(s);
        const AllowedGroups groups =
            ConstrainedGroups(c.group, v, AnalyzeSuperlattice(v.b1, v.b2).latticeType);
        EXPECT_EQ(AllowedGroupsCaption(groups), c.allowed);
        EXPECT_EQ(Swapped(groups), c.swapped);
    }
}

// Without the constraint, the groups each lattice type allows, never a turned setting.
TEST(UnconstrainedGroups, ByLatticeTypeWithoutTurnedSettings) {
    const char* expected[] = {"/1/2/",
                              "/1/2/",
                              "/1/2/3/4/6/7/8/",
                              "/1/2/5/9/",
                              "/1/2/3/4/5/6/7/8/9/10/11/12/",
                              "/1/2/5/9/13/14/15/16/17/"};
    for (Int32 type = 0; type <= kHexagonal; ++type) {
        const AllowedGroups groups = UnconstrainedGroups(type);
        EXPECT_EQ(AllowedGroupsCaption(groups), expected[type]) << "type " << type;
        EXPECT_EQ(Swapped(groups), "") << "type " << type;
    }
}

}  // namespace
