// Points of a lattice within a radius: every one exactly once, whether the
// plane is walked whole or band by band (the screen draws its halves on two
// threads that way).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>

#include "model/Spots.h"

using namespace quorvex::model;

namespace {

using Indices = std::set<std::pair<long long, long long>>;

Indices Walk(Vec2 p, Vec2 q, double gMax, YBand band = {}) {
    Indices seen;
    const bool walked = ForEachPointWithin(
        p, q, gMax, 1 << 22,
        [&](long long n1, long long n2, Vec2) { EXPECT_TRUE(seen.insert({n1, n2}).second); },
        band);
    EXPECT_TRUE(walked);
    return seen;
}

// Every n1 p + n2 q inside the radius, by brute force over a square of indices.
Indices BruteForce(Vec2 p, Vec2 q, double gMax, long long reach) {
    Indices inside;
    for (long long n1 = -reach; n1 <= reach; ++n1)
        for (long long n2 = -reach; n2 <= reach; ++n2) {
            const Vec2 g{n1 * p.x + n2 * q.x, n1 * p.y + n2 * q.y};
            if (std::hypot(g.x, g.y) <= gMax * (1 - 1e-12)) inside.insert({n1, n2});
        }
    return inside;
}

TEST(ForEachPointWithin, BandsSplitThePointsWithoutLossOrRepeat) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> component(-1.5, 1.5), cut(-6, 6);
    const double inf = std::numeric_limits<double>::infinity();
    for (int trial = 0; trial < 60; ++trial) {
        Vec2 p{component(rng), component(rng)}, q{component(rng), component(rng)};
        if (trial == 0) p = {1, 0}, q = {0, 1};         // rows along the bands' edges
        if (trial == 1) p = {1, 0}, q = {0.5, 0.8660254};  // hexagonal
        if (std::abs(Cross(p, q)) < 0.2) continue;
        const double gMax = 7;
        const Indices whole = Walk(p, q, gMax);
        // Points near the rim may go either way with rounding; all others must agree.
        const Indices inner = BruteForce(p, q, gMax, 80);
        for (const auto& n : inner) EXPECT_TRUE(whole.count(n)) << trial;
        EXPECT_LE(whole.size(), BruteForce(p, q, gMax * (1 + 1e-9), 80).size()) << trial;

        double y1 = cut(rng), y2 = cut(rng);
        if (y1 > y2) std::swap(y1, y2);
        if (trial == 0) y1 = 0, y2 = 2;  // cuts through rows of points
        Indices joined;
        for (YBand band : {YBand{-inf, y1}, YBand{y1, y2}, YBand{y2, inf}}) {
            for (const auto& n : Walk(p, q, gMax, band)) {
                const double gy = n.first * p.y + n.second * q.y;
                EXPECT_TRUE(gy >= band.low && gy < band.high) << trial;
                EXPECT_TRUE(joined.insert(n).second) << trial;
            }
        }
        EXPECT_EQ(joined, whole) << trial;
    }
}

TEST(ForEachPointWithin, RefusesABandThatIsNoNumber) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(ForEachPointWithin({1, 0}, {0, 1}, 3, 1000, [](long long, long long, Vec2) {},
                                    YBand{nan, 1}));
}

}  // namespace
