#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>

#include "model/Reduction.h"
#include "model/Vectors.h"

using namespace quorvex::model;

namespace {

using Matrix = std::array<Long, 4>;  // M11, M12, M21, M22

// A square basic lattice a = b = 1, alpha = 90, no rotation.
Module1 SquareWith(const Matrix& mat) {
    Module1 m;
    FillTables(m);
    m.M11 = mat[0], m.M12 = mat[1], m.M21 = mat[2], m.M22 = mat[3];
    ComputeBasicVectors(m);
    ComputeSuperVectors(m);
    m.ResetSuperGroup = false;
    return m;
}

Matrix MatrixOf(const Module1& m) {
    return {m.M11, m.M12, m.M21, m.M22};
}

TEST(Reduction, GivesTheReducedBasis) {
    const std::pair<Matrix, Matrix> cases[] = {
        {{1, 0, 0, 1}, {1, 0, 0, 1}},
        {{0, 1, 1, 0}, {1, 0, 0, 1}},  // reduced but left-handed: swapped
        {{1, 0, 3, 1}, {1, 0, 0, 1}},
        {{1, 0, 1, 2}, {1, 0, 0, 2}},
        {{1, 2, 1, 0}, {1, 0, 0, 2}},   // b1 longer: b1 := b1 - b2, then the swap
        {{2, 0, 1, 2}, {1, -2, 1, 2}},  // d/L1 = 0.5: the equal-length pair is preferred
        {{2, 1, 1, 2}, {2, 1, 1, 2}},
        {{3, 5, 5, 8}, {-1, 0, 0, -1}},  // signs are not normalised
    };
    for (const auto& [in, out] : cases) {
        Module1 m = SquareWith(in);
        ASSERT_TRUE(ReduceSuperlattice(m));
        EXPECT_EQ(MatrixOf(m), out);
        EXPECT_TRUE(m.ResetSuperGroup);
        // The vectors went through the same row operations as the matrix.
        const Module1 fresh = SquareWith(out);
        EXPECT_NEAR(std::hypot(m.B1X - fresh.B1X, m.B1Y - fresh.B1Y), 0, 1e-9);
        EXPECT_NEAR(std::hypot(m.B2X - fresh.B2X, m.B2Y - fresh.B2Y), 0, 1e-9);
    }
}

TEST(Reduction, StopsAfterTenPasses) {
    // Rows of the Fibonacci numbers F21..F23: every pass lowers the index of one
    // row by four (F(k+2) + F(k-2) = 3 F(k)), so ten passes end at -(F1, F2) and
    // -(F3, F4), not yet reduced; the tenth pass saw ratios that call for no
    // adjustment, and the pair is right-handed.
    Module1 m = SquareWith({10946, 17711, 17711, 28657});
    ASSERT_TRUE(ReduceSuperlattice(m));
    EXPECT_EQ(MatrixOf(m), (Matrix{-1, -1, -2, -3}));
}

TEST(Reduction, RefusesAStepBeyond32BitsAndChangesNothing) {
    // b1 = (2k, -4k), b2 = (5k, 5k): b1 + b2 = (7k, k), and 7k = 2147483653.
    const Long k = 306783379;
    Module1 m = SquareWith({2 * k, -4 * k, 5 * k, 5 * k});
    const Module1 before = m;
    EXPECT_FALSE(ReduceSuperlattice(m));
    EXPECT_EQ(MatrixOf(m), MatrixOf(before));
    EXPECT_EQ(m.B1Y, before.B1Y);
    EXPECT_FALSE(m.ResetSuperGroup);
    // A quotient of 1e12, and one that is no number (a zero vector).
    for (double b1x : {1e-12, 0.0}) {
        m = SquareWith({1, 0, 0, 1});
        m.B1X = b1x, m.B1Y = 0, m.B2X = 1, m.B2Y = 0.5;
        EXPECT_FALSE(ReduceSuperlattice(m)) << b1x;
        EXPECT_EQ(m.B2Y, 0.5);
        EXPECT_EQ(MatrixOf(m), (Matrix{1, 0, 0, 1}));
    }
}

}  // namespace
