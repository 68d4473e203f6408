// The loops that skip what cannot be seen, against the straightforward loops
// over every index: with pixels they must land on the same pixels (spots,
// dots) and pixel end points (net lines), each once; without pixels they must
// make the very same calls in the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <ranges>
#include <string>
#include <vector>

#include "render/PatternDrawing.h"
#include "render/PixelLattice.h"
#include "render/RealLattice.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using model::RGB;
using testing::DrawCall;
using testing::RecordingSurface;

// Counts how often each 15-twip pixel receives a circle and each pixel-rounded
// line (with its width) is drawn.
class PixelCountingSurface : public platform::Surface {
  public:
    static constexpr int kSide = 1024;  // both boxes lie within
    std::vector<int> circles = std::vector<int>(kSide * kSide);
    long farCircles = 0;
    std::map<std::array<int, 5>, int> lines;

    double PixelTwips() const override { return 15; }
    model::Rgb BackColor() const override { return 0; }

  protected:
    static int P(double v) { return platform::PixelIndex(v, 15); }
    void DoLine(double x1, double y1, double x2, double y2, model::Rgb) override {
        ++lines[{P(x1), P(y1), P(x2), P(y2), State().lineWidth}];
    }
    void DoRectangle(double, double, double, double, model::Rgb, bool) override {}
    void DoCircle(double x, double y, double, model::Rgb) override {
        const int i = P(x), j = P(y);
        if (i >= 0 && i < kSide && j >= 0 && j < kSide)
            ++circles[static_cast<std::size_t>(j * kSide + i)];
        else
            ++farCircles;
    }
    void DoPrint(const std::string&) override {}
};

template <typename Draw>
void ExpectSamePixels(const std::string& name, Draw draw, bool netLines = false) {
    PixelCountingSurface plain, fast;
    UseStraightforwardLoops(true);
    draw(plain);
    UseStraightforwardLoops(false);
    draw(fast);
    std::size_t repeated = 0, missing = 0, extra = 0;
    for (std::size_t i = 0; i < plain.circles.size(); ++i) {
        repeated += fast.circles[i] > 1;
        missing += plain.circles[i] > 0 && fast.circles[i] == 0;
        extra += plain.circles[i] == 0 && fast.circles[i] > 0;
    }
    if (netLines)
        for (const auto& [line, n] : fast.lines) repeated += n > 1 && line[4] == 1;
    EXPECT_EQ(plain.farCircles + fast.farCircles, 0) << name;
    EXPECT_EQ(repeated + missing + extra, 0u) << name << ": " << repeated << " repeated, "
                                              << missing << " missing, " << extra << " extra";
    EXPECT_TRUE(std::ranges::equal(std::views::keys(plain.lines), std::views::keys(fast.lines)))
        << name;
}

template <typename Draw>
void ExpectSameCalls(const std::string& name, Draw draw) {
    RecordingSurface plain, fast;
    UseStraightforwardLoops(true);
    draw(plain);
    UseStraightforwardLoops(false);
    draw(fast);
    ASSERT_EQ(plain.calls.size(), fast.calls.size()) << name;
    for (std::size_t i = 0; i < plain.calls.size(); ++i) {
        const DrawCall &a = plain.calls[i], &b = fast.calls[i];
        ASSERT_TRUE(a.kind == b.kind && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 &&
                    a.y2 == b.y2 && a.r == b.r)
            << name << ", call " << i;
    }
}

// A lattice drawn both ways: spots in the pattern box, or net and dots in the
// lattice box (which take no kind and no glides).
struct Case {
    std::string name;
    double scale;
    model::Vec2 p, q;
    double radius = 0;
    SpotKind kind = SpotKind::Superstructure;
    model::Glides glides{};
};

// The index ranges of the loops, spots and dots alike: floor(3480 / scale / d)
// for the part of one vector perpendicular to the other, d measured as |x| + |y|.
std::pair<double, double> IndexRanges(const Case& c) {
    auto range = [&c](model::Vec2 a, model::Vec2 b) {
        const double f = model::Dot(a, b) / model::Dot(b, b), x = a.x - f * b.x, y = a.y - f * b.y;
        return std::floor(3480 / c.scale / std::max(std::abs(x + y), std::abs(x - y)));
    };
    return {range(c.p, c.q), range(c.q, c.p)};
}

// The named cases and `count` random ones: bases of length 0.2..2.2, the second
// vector shorter by up to 10^-decades and turned by minTurn to minTurn +
// turnSpan from the first, zoomed out by up to 10^zoomDecades from `scale`.
// Each case is zoomed in until the straightforward loops stay within `limit`
// indices (0: as it is).
std::vector<Case> Cases(std::vector<Case> cases, unsigned seed, int count, double scale,
                        double decades, double minTurn, double turnSpan, double zoomDecades,
                        double limit) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < count; ++i) {
        const double a = 0.2 + 2 * unit(random), ratio = std::pow(10, -decades * unit(random));
        const double t1 = 6.283 * unit(random), t2 = t1 + minTurn + turnSpan * unit(random);
        cases.push_back({"random " + std::to_string(i),
                         scale / std::pow(10, zoomDecades * unit(random)) * std::sqrt(ratio),
                         {a * std::cos(t1), a * std::sin(t1)},
                         {a * ratio * std::cos(t2), a * ratio * std::sin(t2)},
                         std::floor(150 * unit(random)),
                         SpotKind(i % 3),
                         {i % 4 == 1, i % 5 == 2}});
    }
    for (Case& c : cases)
        for (auto n = IndexRanges(c); limit > 0 && (2 * n.first + 1) * (2 * n.second + 1) > limit;
             n = IndexRanges(c))
            c.scale *= 1.5;
    return cases;
}

// Squares, skewed bases (nearly parallel), needles (one vector far shorter),
// at spacings down to a fraction of a pixel, with and without glides.
std::vector<Case> SpotCases(double limit) {
    using enum SpotKind;
    const model::Glides both{true, true};
    return Cases({{"square", 1392, {1, 0}, {0, 1}, 80, Substrate},
                  {"square finer than a pixel", 1392 / 400.0, {1, 0}, {0, 1}, 45},
                  {"hexagonal fine", 1392 / 150.0, {1, 0}, {-0.5, 0.8660254}, 45},
                  {"needle with glides", 1392, {0.0005, 0}, {0, 1}, 45, Substrate, both},
                  {"dense needles", 1392, {0.0007, 0}, {0.05, 0.2}, 0},
                  {"skewed fine", 6, {19, 1}, {20, 1.04}, 45},
                  {"glide rows fine", 1392 / 200.0, {1, 0}, {0, 1}, 45, Superstructure, both},
                  {"radius 37.5", 1392 / 250.0, {0.7, 0.7}, {-0.7, 0.7}, 37.5}},
                 20240611, 40, 1392, 3, 0.05, 3, 2.3, limit);
}

// Nets from a few lines to tens of thousands crossing the box (slanted, nearly
// axis-parallel, skewed), dots from sparse to finer than a pixel.
std::vector<Case> LatticeCases(double limit = 0) {
    return Cases({{"square", 1160, {1, 0}, {0, 1}, 45},
                  {"square finer than a pixel", 1160 / 3000.0, {1, 0}, {0, 1}, 45},
                  {"turned 10 degrees", 1160 / 2500.0, {0.9848, -0.1736}, {0.1736, 0.9848}, 45},
                  {"turned a hair", 1160 / 2000.0, {1, -1e-7}, {1e-7, 1}, 45},
                  {"hexagonal", 1160 / 1500.0, {1, 0}, {-0.5, 0.8660254}, 30},
                  {"needle turned", 38.67, {29.5, 5.2}, {-0.0017, 0.0098}, 45},
                  {"skewed", 42, {18, 1.2}, {19, 1.25}, 45},
                  {"centred", 1160 / 700.0, {0.5, -0.5}, {0.5, 0.5}, 150}},
                 7, 30, 1160, 2, 0.1, 2.9, 3.5, limit);
}

void DrawSpots(const Case& c, platform::Surface& s, bool bases) {
    DrawLatticeSpots(s, c.scale, c.p, c.q, c.glides, RGB(1, 2, 3), c.radius, c.kind, bases);
}

// A function that draws the lattice of `c` as `kind` on the surface it is given.
auto Lattice(const Case& c, LatticeKind kind) {
    return [&c, kind](platform::Surface& s) {
        DrawRealLattice(s, {c.p, c.q, c.scale, RGB(0, 255, 0), c.radius, kind});
    };
}

TEST(FastEnumeration, SpotsLandOnTheSamePixelsOnceAndInLoopOrderWithoutPixels) {
    for (const Case& c : SpotCases(4e6))
        ExpectSamePixels(c.name, [&](platform::Surface& s) { DrawSpots(c, s, false); });
    for (const Case& c : SpotCases(2e5))
        ExpectSameCalls(c.name, [&](platform::Surface& s) { DrawSpots(c, s, true); });
}

TEST(FastEnumeration, NetAndDotsOnTheSamePixelsOnceAndInLoopOrderWithoutPixels) {
    int many = 0;
    for (const Case& c : LatticeCases()) {
        const auto [n1, n2] = IndexRanges(c);
        if (n1 + n2 > 1e5) continue;
        many += n1 > 4096 || n2 > 4096;
        ExpectSamePixels(c.name, Lattice(c, LatticeKind::SubstrateNet), true);
    }
    EXPECT_GE(many, 5);  // nets dense enough to be walked by their breakpoints
    for (const Case& c : LatticeCases(4e6))
        ExpectSamePixels(c.name, Lattice(c, LatticeKind::SuperlatticeDots));
    for (const Case& c : LatticeCases(2e5))
        for (LatticeKind kind : {LatticeKind::SubstrateNet, LatticeKind::SuperlatticeDots})
            ExpectSameCalls(c.name, Lattice(c, kind));
}

// A lattice whose points lie far closer than a pixel, in one direction or in
// both, and far beyond any count of indices the loops could finish: what the
// eye sees must come out. Pixels are judged by their 15-twip squares: a square
// that lies (with a pixel to spare) inside the region the points fill is
// drawn, one that lies (with a pixel to spare) outside it is not.
struct DenseCase {
    std::string name;
    model::Vec2 p, q;  // in twips per index at scale 1
    double hmax, kmax;
    // The points fill the plane; false: they lie on rows of whole h, far apart.
    bool fillsBoth;
};

TEST(FastEnumeration, LatticesFinerThanAPixelFillWhatTheirIndexRangesCover) {
    const double cx = 6300, cy = 6420;
    // clang-format off
    const std::vector<DenseCase> cases = {
        {"fine both ways, ranges beyond the box", {1e-12, 0}, {0, 1e-12}, 1e30, 1e30, true},
        {"fine both ways, a band of h", {1e-12, 0}, {0, 1e-12}, 6e14, 1e30, true},
        {"fine both ways, turned, band of h and k", {6e-13, 8e-13}, {-8e-13, 6e-13}, 9e14, 5e14,
         true},
        {"skewed fine, band of k", {1e-12, 3e-13}, {1.1e-12, 3.5e-13}, 1e40, 2e16, true},
        {"parallel to the last bits, band of k", {1e-12, 0}, {1e-12, 1e-28}, 1e40, 1e31, true},
        {"rows of fine points 217 twips apart", {0, 217}, {1e-13, 0}, 1e30, 1e30, false},
        {"slanted rows 233 twips apart, cut by k", {133.2, 191.1}, {-8e-14, 6e-14}, 1e30, 9e15,
         false}};
    // clang-format on
    // The same pictures at magnitudes from tiny to huge: the vectors scaled
    // by 10^e, the scale by 10^-e.
    for (const DenseCase& c : cases)
        for (int e : {-200, -60, 0, 45, 180}) {
            const double f = std::pow(10.0, e);
            const PlacedLattice lattice{cx, cy, 1 / f, c.p.x * f, c.p.y * f, c.q.x * f, c.q.y * f};
            // hmax, kmax, no odd rows left out; the box: left, right, top, bottom.
            const PointRule rule{c.hmax, c.kmax, false, false, 4610, 7990, 4730, 8110};
            PixelCountingSurface s;
            DrawLatticePoints(s, lattice, rule, 30, RGB(1, 2, 3), PointOrder::Spots);

            // Index coordinates of a twip position, from the unscaled vectors.
            const double det = c.p.x * c.q.y - c.p.y * c.q.x;
            auto indices = [&](double x, double y) {
                const double dx = x - cx, dy = cy - y;
                return std::pair{(dx * c.q.y - dy * c.q.x) / det, (c.p.x * dy - c.p.y * dx) / det};
            };
            long missing = 0, extra = 0, drawnChecked = 0, emptyChecked = 0;
            for (int j = 300; j <= 560; ++j)
                for (int i = 300; i <= 540; ++i) {
                    const double x = 15.0 * i, y = 15.0 * j;
                    // Whether the pixel's square, a pixel to spare on each
                    // side, lies wholly inside the filled region (all four
                    // corners inside), or wholly beyond one of its eight
                    // bounds (all four corners past it).
                    int inside = 0;
                    std::array<int, 8> beyond{};
                    for (double u : {x - 22.5, x + 22.5})
                        for (double v : {y - 22.5, y + 22.5}) {
                            const auto [h, k] = indices(u, v);
                            const std::array<bool, 8> past = {
                                u <= rule.left, u >= rule.right, v <= rule.top, v >= rule.bottom,
                                (h > c.hmax),   (h < -c.hmax),   (k > c.kmax),  (k < -c.kmax)};
                            for (int b = 0; b < 8; ++b) beyond[b] += past[b];
                            inside += std::ranges::count(past, true) == 0;
                        }
                    bool mustDraw = inside == 4;
                    bool mustNot = std::ranges::count(beyond, 4) > 0;
                    if (!c.fillsBoth) {
                        // The distance of the pixel's centre from the nearest
                        // row: a row through the square's inscribed circle
                        // crosses the square; none within its circumscribed
                        // one leaves it empty.
                        const double h = indices(x, y).first;
                        const double row =
                            std::abs(h - std::round(h)) * std::abs(det) / std::hypot(c.q.x, c.q.y);
                        mustDraw = mustDraw && row < 7.4;
                        mustNot = mustNot || row > 10.7;
                    }
                    const int n =
                        s.circles[static_cast<std::size_t>(j * PixelCountingSurface::kSide + i)];
                    drawnChecked += mustDraw;
                    emptyChecked += mustNot;
                    missing += mustDraw && n == 0;
                    extra += mustNot && n > 0;
                }
            EXPECT_EQ(missing + extra, 0) << c.name << " at 10^" << e << ": " << missing
                                          << " pixels missing, " << extra << " extra";
            EXPECT_EQ(s.farCircles, 0) << c.name;
            // Each case has both pixels that must be drawn and pixels that must not.
            EXPECT_GT(std::min(drawnChecked, emptyChecked), 1000) << c.name;
        }
}

// The pixels of lattices drawn before are drawn again from memory: a lattice
// that differs in any one value from one drawn before must come out as if
// drawn first, and one drawn again as it came out the first time.
TEST(FastEnumeration, ALatticeDrawnAgainComesOutAsDrawnFirst) {
    const PlacedLattice base{6300, 6420, 1, 97, 12, -8, 61};
    // hmax, kmax, oddH0Left, odd0KLeft; the box: left, right, top, bottom.
    const PointRule rule{9, 14, true, false, 4610, 7990, 4730, 8110};
    std::vector<std::pair<PlacedLattice, PointRule>> variants(10, {base, rule});
    variants[1].first.cx += 15, variants[2].first.cy -= 15, variants[3].first.scale = 1.2;
    variants[4].first.px = 98, variants[5].first.qy = 60;
    variants[6].second.hmax = 8, variants[7].second.kmax = 3;
    variants[8].second.oddH0Left = false, variants[9].second.right = 7000;
    auto pixels = [](const std::pair<PlacedLattice, PointRule>& v, bool forgetFirst = false) {
        if (forgetFirst) ForgetDrawnPixels();
        PixelCountingSurface s;
        DrawLatticePoints(s, v.first, v.second, 30, RGB(1, 2, 3), PointOrder::Spots);
        return s.circles;
    };
    std::vector<std::vector<int>> first;
    for (const auto& v : variants) first.push_back(pixels(v, true));
    for (std::size_t i = 1; i < variants.size(); ++i)
        EXPECT_NE(first[i], first[0]) << "variant " << i << " draws a picture of its own";
    ForgetDrawnPixels();
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < variants.size(); ++i)
            EXPECT_EQ(pixels(variants[i]), first[i]) << "variant " << i << ", round " << round;
}

}  // namespace
}  // namespace quorvex::render
