#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "model/Reduction.h"
#include "model/Vectors.h"

using namespace quorvex::model;

namespace {

using Matrix = std::array<Long, 4>;  // M11, M12, M21, M22

// A square basic lattice a = b = 1, alpha = 90, p4mm, no rotation.
Module1 SquareWith(const Matrix& mat) {
    Module1 m;
    FillTables(m);
    m.M11 = mat[0];
    m.M12 = mat[1];
    m.M21 = mat[2];
    m.M22 = mat[3];
    ComputeBasicVectors(m);
    ComputeSuperVectors(m);
    m.ResetSuperGroup = false;
    return m;
}

Matrix MatrixOf(const Module1& m) {
    return {m.M11, m.M12, m.M21, m.M22};
}

struct ReduceCase {
    Matrix in;
    Matrix out;
};

class ReduceSquare : public ::testing::TestWithParam<ReduceCase> {};

TEST_P(ReduceSquare, GivesTheReducedBasis) {
    Module1 m = SquareWith(GetParam().in);
    ASSERT_TRUE(ReduceSuperlattice(m));
    EXPECT_EQ(MatrixOf(m), GetParam().out);
    EXPECT_TRUE(m.ResetSuperGroup);

    // The vectors went through the same row operations as the matrix.
    Module1 fresh = SquareWith(GetParam().out);
    EXPECT_NEAR(m.B1X, fresh.B1X, 1e-9);
    EXPECT_NEAR(m.B1Y, fresh.B1Y, 1e-9);
    EXPECT_NEAR(m.B2X, fresh.B2X, 1e-9);
    EXPECT_NEAR(m.B2Y, fresh.B2Y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Reduction, ReduceSquare,
    ::testing::Values(ReduceCase{{1, 0, 0, 1}, {1, 0, 0, 1}},
                      // Already reduced but left-handed: the rows are swapped.
                      ReduceCase{{0, 1, 1, 0}, {1, 0, 0, 1}},
                      ReduceCase{{1, 0, 3, 1}, {1, 0, 0, 1}},
                      ReduceCase{{1, 0, 1, 2}, {1, 0, 0, 2}},
                      // b1 longer: b1 := b1 - b2, then the swap.
                      ReduceCase{{1, 2, 1, 0}, {1, 0, 0, 2}},
                      // d/L1 = 0.5: the rhombic pair of equal lengths is preferred.
                      ReduceCase{{2, 0, 1, 2}, {1, -2, 1, 2}},
                      ReduceCase{{2, 1, 1, 2}, {2, 1, 1, 2}},
                      ReduceCase{{3, 5, 5, 8}, {-1, 0, 0, -1}}));

TEST(Reduction, StopsAfterTenPasses) {
    // Rows of consecutive Fibonacci numbers F21..F23. The first pass takes 2 b1
    // off b2, giving -(F19, F20); every later pass adds or takes 3 times the
    // shorter row, and by F(k+2) + F(k-2) = 3 F(k) each pass lowers the index of
    // one row by four, with alternating signs: after ten passes the rows are
    // -(F1, F2) and -(F3, F4). They are not reduced (d/L1 = 2.5); the tenth pass
    // started from (5, 8) and (2, 3), whose ratios 34/89 and 34/13 call for no
    // adjustment, and the pair is right-handed.
    Module1 m = SquareWith({10946, 17711, 17711, 28657});
    ASSERT_TRUE(ReduceSuperlattice(m));
    EXPECT_EQ(MatrixOf(m), (Matrix{-1, -1, -2, -3}));
}

TEST(Reduction, RefusesARowOperationBeyond32BitsAndChangesNothing) {
    // b1 = (2k, -4k), b2 = (5k, 5k): d/L1 = -0.5 and b1 + b2 = (7k, k), and
    // 7k = 2147483653 leaves 32 bits whether a pass or the adjustment adds them.
    const Long k = 306783379;
    Module1 m = SquareWith({2 * k, -4 * k, 5 * k, 5 * k});
    const Module1 before = m;
    EXPECT_FALSE(ReduceSuperlattice(m));
    EXPECT_EQ(MatrixOf(m), MatrixOf(before));
    EXPECT_EQ(m.B1X, before.B1X);
    EXPECT_EQ(m.B1Y, before.B1Y);
    EXPECT_EQ(m.B2X, before.B2X);
    EXPECT_EQ(m.B2Y, before.B2Y);
    EXPECT_FALSE(m.ResetSuperGroup);
}

TEST(Reduction, RefusesAQuotientBeyond32Bits) {
    for (double b1x : {1e-12, 0.0}) {  // q = 1e12, and a zero vector (no number)
        Module1 m = SquareWith({1, 0, 0, 1});
        m.B1X = b1x;
        m.B1Y = 0;
        m.B2X = 1;
        m.B2Y = 0.5;
        EXPECT_FALSE(ReduceSuperlattice(m)) << b1x;
        EXPECT_EQ(m.B1X, b1x);
        EXPECT_EQ(m.B2Y, 0.5);
        EXPECT_EQ(MatrixOf(m), (Matrix{1, 0, 0, 1}));
    }
}

}  // namespace
