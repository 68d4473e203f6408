#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "model/CellAnalysis.h"

using namespace quorvex::model;

namespace {

TEST(ClassifyCell, TypesAndCentringAxis) {
    // {P, Q, |cos|, tolerance, type, axis}; the tolerance 0.25 rows sit exactly on
    // the tolerance, where only strict comparisons give the stated type.
    const double cases[][6] = {
        {1, 1, 0, 0.001, kSquare, 0},
        {1, 1, 0.5, 0.001, kHexagonal, 0},
        {1, 1, 0.3, 0.001, kCentredRectangular, 0},  // rhombic: no centring axis
        {4, 1, 0, 0.001, kPrimitiveRectangular, 0},
        {4, 1, 0.5, 0.001, kOblique, 0},  // |b1| = 2, |b2| = 1 at 60: ratios give 1 and 0.25
        {2, 1, 0.70710678, 0.001, kCentredRectangular, 2},
        {1, 2, 0.70710678, 0.001, kCentredRectangular, 1},
        {1, 1.0011, 0.5, 0.001, kCentredRectangular, 1},  // both ratio tests hold: the first wins
        {1, 1.25, 0, 0.25, kPrimitiveRectangular, 0},
        {4, 1, 0.25, 0.25, kCentredRectangular, 1},
        {std::nan(""), 1, 0, 0.001, kOblique, 0},
        {0, 1, 0.5, 0.001, kOblique, 0},  // zero length: infinite ratio, still no NaN
    };
    for (const auto& c : cases) {
        Int32 axis = 2;  // a stale value that must be overwritten
        EXPECT_EQ(ClassifyCell(c[0], c[1], c[2], c[3], &axis), c[4]) << c[0] << " " << c[1];
        EXPECT_EQ(axis, c[5]) << c[0] << " " << c[1] << " " << c[2];
    }
}

TEST(CheckHigherSymmetry, Hints) {
    // {group, a, b, alpha, caption}; no caption: hidden with caption " "
    const std::tuple<Int32, double, double, double, const char*> cases[] = {
        {kP2mm, 1, 1, 90, "Higher symmetry (square) possible"},
        {kP2mm, 1.4142, 1, 90, nullptr},
        {kP1, 1, 1, 60, "Higher symmetry (hexagonal) possible"},
        {kP1, 1.4142, 1, 90, "Higher symmetry (prim. rect.) possible"},
        {kP1, std::sqrt(2.0), 1, 45, "Higher symmetry (centrd. rect) possible"},
        {kCm, 1, 1, 55, "Higher symmetry (square) possible"},  // half-diagonals, alpha unused
        {kC2mm, std::sqrt(3.0), 1, 90, "Higher symmetry (hexagonal) possible"},
        {kP3, 1, 1, 120, nullptr},
        {kCm, 0, 0, 90, nullptr},  // no cell at all: no hint and no NaN trouble
    };
    for (const auto& [group, a, b, alpha, caption] : cases) {
        Structure s;
        s.basicGroup = group, s.a = a, s.b = b, s.alpha = alpha;
        const HigherSymmetryHint hint = CheckHigherSymmetry(s);
        EXPECT_EQ(hint.visible, caption != nullptr) << "group " << group << " a " << a;
        EXPECT_EQ(hint.caption, caption ? caption : " ") << "group " << group << " a " << a;
    }
}

TEST(AnalyzeSuperlattice, CaptionTypeAxisAndHandedness) {
    // {alpha, matrix, caption, type, centred axis, right-handed}
    const std::tuple<double, SuperlatticeMatrix, const char*, Int32, Int32, bool> cases[] = {
        {90, {1, -1, 1, 1}, "a = 1.4142   b = 1.4142   phi = 90.0", kSquare, 0, true},
        {90, {2, 0, 1, 1}, "a = 2.0000   b = 1.4142   phi = 45.0", kCentredRectangular, 2, true},
        {90, {1, 1, 2, 0}, "a = 1.4142   b = 2.0000   phi = 45.0", kCentredRectangular, 1, false},
        {120, {1, 0, 0, 1}, "a = 1.0000   b = 1.0000   phi = 120.0", kHexagonal, 0, true},
        // Parallel and zero vectors never come through the update cycle, but phi
        // must still be a number; a zero cross product counts as right-handed.
        {90, {1, 0, -3, 0}, "a = 1.0000   b = 3.0000   phi = 180.0", kOblique, 0, true},
        {90, {0, 0, 1, 0}, "a = 0.0000   b = 1.0000   phi = 0.0", kOblique, 0, true},
    };
    for (const auto& [alpha, matrix, caption, type, axis, rightHanded] : cases) {
        Structure s;
        s.alpha = alpha, s.matrix = matrix;
        const CellVectors v = ComputeCellVectors(s);
        const SuperlatticeAnalysis r = AnalyzeSuperlattice(v.b1, v.b2);
        EXPECT_EQ(std::tuple(r.caption, r.latticeType, r.centredAxis, r.rightHanded),
                  std::tuple(caption, type, axis, rightHanded));
    }
}

}  // namespace
