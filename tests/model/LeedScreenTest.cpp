// When spots reach the LEED screen: each beam appears at the energy where its
// exit angle reaches half the optics' acceptance. Expected |g| come from the
// cell's metric and the wave number from the electron's mass and charge.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "model/LeedScreen.h"
#include "model/Spots.h"

using namespace quorvex::model;

namespace {

constexpr double kTwoPi = 2 * 3.14159265358979323846;

// |g| in 1/angstrom of the beam (h k) of a 2D cell with sides a, b (angstrom)
// and angle gamma, from the reciprocal metric.
double BeamLength(double h, double k, double a, double b, double gammaDegrees) {
    const double c = std::cos(gammaDegrees * kTwoPi / 360),
                 s = std::sin(gammaDegrees * kTwoPi / 360);
    return kTwoPi / s * std::sqrt(h * h / (a * a) + k * k / (b * b) - 2 * h * k * c / (a * b));
}

// The energy at which |g| reaches half the acceptance, from the wave number at
// 1 eV: k = sqrt(2 m E) / hbar, in 1/angstrom, with CODATA constants.
double Onset(double g, double acceptanceDegrees) {
    const double mass = 9.1093837015e-31, charge = 1.602176634e-19, hbar = 1.054571817e-34;
    const double k1 =
        std::sqrt(2 * mass * charge) / hbar * 1e-10 * std::sin(acceptanceDegrees * kTwoPi / 720);
    return (g / k1) * (g / k1);
}

// Cu(111), a = 2.556 A: |g(1 0)| = 4 pi / (sqrt 3 a) = 2.8385 1/A reaches a
// 110 degree optics at 45.75 eV. (The wave number itself places every onset
// below and every spot of the fitted photographs.)
TEST(LeedScreenThreshold, CopperByHand) {
    EXPECT_NEAR(ThresholdEnergy(2.8385, 110), 45.75, 0.01);
}

struct Family {
    double h, k;          // one member's indices
    const char* members;  // "(1/2 0) (-1/2 0)"
};

struct OnsetCase {
    const char* name;
    Int32 group;
    double a, b, gamma;  // angstrom, degrees
    SuperlatticeMatrix matrix;
    double acceptance;
    std::vector<Family> families;  // in the order they appear
};

// The index texts of the spots shown at this energy, the pattern computed as
// the window does, with the superstructure in p1: no glide takes a spot away.
std::set<std::string> ShownAt(const OnsetCase& t, double energy) {
    Structure s;
    std::tie(s.basicGroup, s.superGroup, s.matrix) = std::tuple(t.group, kP1, t.matrix);
    std::tie(s.b, s.alpha) = std::tuple(t.b / t.a, t.gamma);
    const ViewSettings view;
    const CellVectors v = Rotated(ComputeCellVectors(s), view, s.matrix);
    const ScreenSettings settings{
        .latticeConstant = t.a, .energy = energy, .acceptanceDegrees = t.acceptance};
    const SpotListOptions options{.gMax = MakeScreenScale(s, settings).GMaxDocument(),
                                  .indexDenominator = std::llabs(s.matrix.Determinant())};
    std::set<std::string> shown;
    for (const ListedSpot& spot : ListSpots(ComputePattern(v, s, view, {}), v, options))
        if (spot.Shown()) shown.insert(spot.IndexText());
    return shown;
}

// Just below each family's onset it is missing, just above it is there, and
// nothing else is.
TEST(LeedScreenThreshold, EachFamilyAppearsAtItsOwnOnset) {
    // clang-format off
    const OnsetCase cases[] = {
        {"square p(2x1), full hemisphere", kP4mm, 2.55, 2.55, 90, {2, 0, 0, 1}, 180,
         {{0.5, 0, "(1/2 0) (-1/2 0)"},
          {1, 0, "(1 0) (-1 0) (0 1) (0 -1)"},
          {0.5, 1, "(1/2 1) (1/2 -1) (-1/2 1) (-1/2 -1)"}}},
        {"hexagonal (2x2)", kP6mm, 2.89, 2.89, 120, {2, 0, 0, 2}, 110,
         {{0.5, 0, "(1/2 0) (-1/2 0) (0 1/2) (0 -1/2) (1/2 -1/2) (-1/2 1/2)"},
          {0.5, 0.5, "(1/2 1/2) (-1/2 -1/2) (1 -1/2) (-1 1/2) (1/2 -1) (-1/2 1)"},
          {1, 0, "(1 0) (-1 0) (0 1) (0 -1) (1 -1) (-1 1)"}}},
        // An acute cell: (1/2 1) comes before (-1/2 1).
        {"oblique p(2x1)", kP2, 2.0, 2.6, 75, {2, 0, 0, 1}, 120,
         {{0.5, 0, "(1/2 0) (-1/2 0)"}, {0, 1, "(0 1) (0 -1)"}, {0.5, 1, "(1/2 1) (-1/2 -1)"},
          {1, 0, "(1 0) (-1 0)"}, {-0.5, 1, "(-1/2 1) (1/2 -1)"}}},
    };
    // clang-format on
    for (const OnsetCase& t : cases) {
        std::set<std::string> expected = {"(0 0)"};
        for (const Family& family : t.families) {
            const double onset =
                Onset(BeamLength(family.h, family.k, t.a, t.b, t.gamma), t.acceptance);
            EXPECT_EQ(ShownAt(t, 0.99 * onset), expected)
                << t.name << ", below " << family.members << " at " << onset << " eV";
            std::istringstream members(family.members);
            for (std::string m; std::getline(members >> std::ws, m, ')');) expected.insert(m + ")");
            EXPECT_EQ(ShownAt(t, 1.01 * onset), expected)
                << t.name << ", above " << family.members << " at " << onset << " eV";
        }
    }
}

}  // namespace
