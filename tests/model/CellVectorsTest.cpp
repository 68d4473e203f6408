#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/CellVectors.h"

using namespace quorvex::model;

namespace {

bool Near(Vec2 a, Vec2 b) {
    return std::abs(a.x - b.x) < 1e-6 && std::abs(a.y - b.y) < 1e-6;  // cos 90 is not quite 0
}

TEST(CellVectors, RotationTurnsClockwiseAndRebuildsTheSuperlattice) {
    Structure s;
    s.matrix = {2, 1, 0, 3};
    const ViewSettings view{.rotationCos = 0, .rotationSin = 1};  // 90 degrees
    const CellVectors r = Rotated(ComputeCellVectors(s), view, s.matrix);
    EXPECT_EQ(r.a1, (Vec2{0, -1}));
    EXPECT_TRUE(Near(r.b1, {1, -2}) && Near(r.b2, {3, 0}));
    // The longer superlattice vector spans a third of the box at zoom 1.
    EXPECT_NEAR(LatticeScale(r, 2), 3480.0 / 18, 1e-6);
}

TEST(CellVectors, SuperlatticeTooLargeBeyondTwentyTimesTheBasicCell) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // {|b1| along x, |b2| along y, refused}, a1 = (1, 0), a2 = (0, 0.5)
    const double cases[][3] = {{20, 1, 0}, {1, 20.0001, 1}, {nan, 1, 1}, {HUGE_VAL, 1, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(SuperlatticeTooLarge({{1, 0}, {0, 0.5}, {c[0], 0}, {0, c[1]}}), c[2] != 0)
            << c[0];
    // Nothing to compare with: no basic cell.
    EXPECT_TRUE(SuperlatticeTooLarge({{0, 0}, {0, 0}, {1, 0}, {0, 1}}));
}

TEST(CellVectors, RoundToInt32TakesHalvesUpWithinTheRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // {x, rounds, result}
    const double cases[][3] = {{2.5, 1, 3},
                               {-2.5, 1, -2},
                               {2147483647.49, 1, 2147483647},
                               {2147483647.5, 0, 0},
                               {-2147483648.5, 1, -2147483648.0},
                               {-2147483649, 0, 0},
                               {nan, 0, 0},
                               {HUGE_VAL, 0, 0}};
    for (const auto& c : cases) {
        Int32 out = 7;
        EXPECT_EQ(RoundToInt32(c[0], out), c[1] != 0) << c[0];
        EXPECT_EQ(out, c[1] != 0 ? c[2] : 7) << c[0];
    }
}

}  // namespace
