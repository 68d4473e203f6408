#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/RealLattice.h"
#include "support/RecordingSurface.h"

namespace quorvex::render {
namespace {

using model::Module1;
using model::RGB;
using model::Rgb;
using testing::DrawCall;
using testing::RecordingSurface;

const Rgb kGreen = RGB(0, 255, 0);
const Rgb kBlack = RGB(0, 0, 0);
const Rgb kWhite = RGB(255, 255, 255);

struct Seg {
    double x1, y1, x2, y2;
};

// The default box (left 240, top 4680, 3480 square, centre 1980, 6420) at the
// scale of the identity on the unit square lattice: 3480 / 3 = 1160. A tall box
// keeps lines spread vertically visible while the row counts still come from the width.
Module1 Box(bool tall = false) {
    Module1 m;
    model::FillTables(m);
    m.LatScale = 1160;
    if (tall) m.LatBoxTop = 0, m.LatBoxHeight = 40000, m.LatBoxCenterY = 20000;
    return m;
}

void ExpectLines(const std::vector<DrawCall>& lines, const std::vector<Seg>& expected) {
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(std::abs(lines[i].x1 - expected[i].x1) < 1e-6 &&
                    std::abs(lines[i].y1 - expected[i].y1) < 1e-6 &&
                    std::abs(lines[i].x2 - expected[i].x2) < 1e-6 &&
                    std::abs(lines[i].y2 - expected[i].y2) < 1e-6)
            << "line " << i << ": " << lines[i].x1 << " " << lines[i].y1 << " " << lines[i].x2
            << " " << lines[i].y2;
}

TEST(DrawRealLattice, SquareNetInTheDefaultBox) {
    Module1 m = Box();
    RecordingSurface s;
    DrawRealLattice(m, s, 1, 0, 0, 1, kGreen, 45, 1);
    // N1 = N2 = 3: only the rows at -1, 0, 1 of each family reach the box.
    ExpectLines(s.calls, {{1980, 6420, 3140, 6420},
                          {1980, 5260, 1980, 6420},
                          {820, 4680, 820, 8160},
                          {1980, 4680, 1980, 8160},
                          {3140, 4680, 3140, 8160},
                          {240, 7580, 3720, 7580},
                          {240, 6420, 3720, 6420},
                          {240, 5260, 3720, 5260}});
    for (size_t i = 0; i < s.calls.size(); ++i) {
        EXPECT_EQ(s.calls[i].color, kGreen);
        EXPECT_EQ(s.calls[i].state.lineWidth, i < 2 ? 3 : 1) << "line " << i;
    }
    // The last segment handed on: the row through 4*t2, from -4*t1 to 4*t1.
    EXPECT_TRUE(m.SegX1 == -2660 && m.SegY1 == 1780 && m.SegX2 == 6620 && m.SegY2 == 1780);
}

TEST(DrawRealLattice, RectangularNetCountsRowsFromTheWidth) {
    // t1 = (0, 1): d1 = 1, N1 = 3; t2 = (0.5, 0): d2 = 0.5, N2 = 6.
    Module1 m = Box(true);
    RecordingSurface s;
    DrawRealLattice(m, s, 0, 1, 0.5, 0, kGreen, 45, 1);
    std::vector<Seg> expected = {{1980, 18840, 1980, 20000}, {1980, 20000, 2560, 20000}};
    // 2 * (N1 + 1) + 1 = 9 rows parallel to t2, from k = -4 (lowest on screen) up.
    for (int k = -4; k <= 4; ++k)
        expected.push_back({240, 20000 - 1160.0 * k, 3720, 20000 - 1160.0 * k});
    // Of the 15 rows parallel to t1, the 7 with |k| <= 3 reach the box, the outer two on its edges.
    for (int k = -3; k <= 3; ++k)
        expected.push_back({1980 + 580.0 * k, 15360, 1980 + 580.0 * k, 24640});
    ExpectLines(s.calls, expected);
    EXPECT_TRUE(m.SegX1 == 6040 && m.SegY1 == 24640 && m.SegX2 == 6040 && m.SegY2 == 15360);
}

TEST(DrawRealLattice, ObliqueNetTakesTheGreaterOfSumAndDifference) {
    // t1 = (1, 0), t2 = (1, 1): e1 = (0.5, -0.5), d1 = 1 (not the sum 0);
    // e2 = (0, 1), d2 = 1; so N1 = N2 = 3 and 9 rows in each family.
    Module1 m = Box(true);
    RecordingSurface s;
    DrawRealLattice(m, s, 1, 0, 1, 1, kGreen, 45, 1);
    ASSERT_EQ(s.calls.size(), 2u + 9u + 9u);
    // The outermost rows end inside the box, which shows N + 1 = 4.
    ExpectLines({s.calls[2], s.calls[10], s.calls[11], s.calls[19]}, {{1980, 15360, 240, 17100},
                                                                      {3720, 22900, 1980, 24640},
                                                                      {240, 24640, 1980, 24640},
                                                                      {1980, 15360, 3720, 15360}});
}

TEST(DrawRealLattice, SuperlatticeDotsStrictlyInsideTheBoxInLoopOrder) {
    const Rgb kDotColour = RGB(12, 34, 56);
    Module1 m = Box();
    RecordingSurface s;
    DrawRealLattice(m, s, 1, 0, 0, 1, kDotColour, 45, 2);
    const auto lines = s.Of(DrawCall::Kind::Line);
    ExpectLines(lines, {{1980, 6420, 3140, 6420}, {1980, 5260, 1980, 6420}});
    for (const DrawCall& c : lines) EXPECT_EQ(c.state.lineWidth, 1);
    const auto dots = s.Of(DrawCall::Kind::Circle);
    ASSERT_EQ(dots.size(), 9u);
    for (size_t n = 0; n < 9; ++n)
        EXPECT_TRUE(dots[n].x1 == 1980 + 1160.0 * (int(n / 3) - 1) &&
                    dots[n].y1 == 6420 - 1160.0 * (int(n % 3) - 1) && dots[n].r == 45 &&
                    dots[n].color == kDotColour && dots[n].state.fillColor == kDotColour &&
                    dots[n].state.fillStyle == testing::FillStyle::Solid)
            << n;
    // The dots at +-1 row lie 580 inside the edges; the origin 1740.
    for (auto [radius, count] :
         std::vector<std::pair<double, size_t>>{{579.5, 9}, {580, 1}, {1739.5, 1}, {1740, 0}}) {
        Module1 r = Box();
        RecordingSurface t;
        DrawRealLattice(r, t, 1, 0, 0, 1, kBlack, radius, 2);
        EXPECT_EQ(t.Of(DrawCall::Kind::Circle).size(), count) << "radius " << radius;
    }
}

// Counts what reaches the surface without keeping millions of records.
class CheckingSurface : public platform::Surface {
  public:
    size_t nonFinite = 0;
    Rgb BackColor() const override { return 0; }

  protected:
    void DoLine(double x1, double y1, double x2, double y2, Rgb) override {
        for (double v : {x1, y1, x2, y2}) nonFinite += !std::isfinite(v);
    }
    void DoRectangle(double, double, double, double, Rgb, bool) override {}
    void DoCircle(double x, double y, double r, Rgb) override {
        for (double v : {x, y, r}) nonFinite += !std::isfinite(v);
    }
    void DoPrint(const std::string&) override {}
};

TEST(DrawRealLattice, ExtremeInputFinishesWithFiniteCoordinatesAndLeavesTheState) {
    const double inf = INFINITY, nan = NAN;
    const double cases[][6] = {
        {1160, 1, 0, 2, 0, 45},   {1160, 0, 0, 0, 1, 45},         {0, 1, 0, 0, 1, 45},
        {1e300, 1, 0, 0, 1, 45},  {-1160, 1, 0, 0, 1, 45},        {nan, 1, 0, 0, 1, 45},
        {inf, 1, 0, 0, 1, 45},    {1160, 1e300, 0, 0, 1e300, 45}, {1160, nan, 0, 0, 1, 45},
        {1160, 1, 0, 0, 1, -inf},
    };
    for (const auto& c : cases)
        for (model::Long kind : {1, 2}) {
            Module1 m = Box();
            m.LatScale = c[0];
            CheckingSurface s;
            DrawRealLattice(m, s, c[1], c[2], c[3], c[4], kGreen, c[5], kind);
            EXPECT_EQ(s.nonFinite, 0u) << c[0] << " " << c[1] << " " << c[3] << " " << kind;
            EXPECT_EQ(s.State().lineWidth, 1);
            EXPECT_EQ(s.State().fillStyle, testing::FillStyle::Solid);
            EXPECT_EQ(s.State().fillColor, kGreen);
        }
    // Parallel vectors make the counts infinite: the net collapses onto the centre row, drawn once.
    Module1 m = Box();
    RecordingSurface net;
    DrawRealLattice(m, net, 1, 0, 2, 0, kGreen, 45, 1);
    const auto lines = net.Of(DrawCall::Kind::Line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[2].y1 == 6420 && lines[2].y2 == 6420 &&
                std::min(lines[2].x1, lines[2].x2) == 240 &&
                std::max(lines[2].x1, lines[2].x2) == 3720);
}

TEST(ShowSuperlatticeTooLarge, BlanksBothBoxesAndPrintsInRed) {
    Module1 m;
    model::FillTables(m);
    m.LatBoxLeft = 100, m.LatBoxTop = 200, m.LatBoxWidth = 300, m.LatBoxHeight = 400;
    m.PatBoxLeft = 1000, m.PatBoxTop = 2000, m.PatBoxWidth = 500, m.PatBoxHeight = 600;
    RecordingSurface s;
    ShowSuperlatticeTooLarge(m, s);
    using K = DrawCall::Kind;
    const std::vector<std::pair<K, Rgb>> kinds = {{K::FilledRectangle, kWhite},
                                                  {K::Line, kBlack},
                                                  {K::Line, kBlack},
                                                  {K::Line, kBlack},
                                                  {K::Line, kBlack},
                                                  {K::Print, RGB(255, 0, 0)},
                                                  {K::FilledRectangle, kBlack},
                                                  {K::Line, kWhite},
                                                  {K::Line, kWhite},
                                                  {K::Line, kWhite},
                                                  {K::Line, kWhite}};
    ASSERT_EQ(s.calls.size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i)
        EXPECT_TRUE(s.calls[i].kind == kinds[i].first && s.calls[i].color == kinds[i].second) << i;
    ExpectLines({s.calls[0], s.calls[1], s.calls[2], s.calls[3], s.calls[4], s.calls[6], s.calls[7],
                 s.calls[8], s.calls[9], s.calls[10]},
                {{100, 200, 400, 600},
                 {100, 200, 100, 600},
                 {100, 600, 400, 600},
                 {400, 600, 400, 200},
                 {400, 200, 100, 200},
                 {1000, 2000, 1500, 2600},
                 {1000, 2000, 1000, 2600},
                 {1000, 2600, 1500, 2600},
                 {1500, 2600, 1500, 2000},
                 {1500, 2000, 1000, 2000}});
    EXPECT_TRUE(s.calls[5].x1 == 100 && s.calls[5].y1 == 200);
    EXPECT_EQ(s.calls[5].text, "Superlattice too large");
    EXPECT_EQ(s.State().textColor, RGB(255, 0, 0));
}

}  // namespace
}  // namespace quorvex::render
