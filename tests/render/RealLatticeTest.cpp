#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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
// scale of the identity on the unit square lattice: 3480 / 3 = 1160.
Module1 DefaultBox() {
    Module1 m;
    model::FillTables(m);
    m.LatScale = 1160;
    return m;
}

// As wide as the default box but 40000 tall, so lines spread vertically all
// stay visible while the row counts still come from the width.
Module1 TallBox() {
    Module1 m = DefaultBox();
    m.LatBoxTop = 0;
    m.LatBoxHeight = 40000;
    m.LatBoxCenterY = 20000;
    return m;
}

void ExpectLines(const std::vector<DrawCall>& lines, const std::vector<Seg>& expected) {
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ(lines[i].x1, expected[i].x1) << "line " << i;
        EXPECT_DOUBLE_EQ(lines[i].y1, expected[i].y1) << "line " << i;
        EXPECT_DOUBLE_EQ(lines[i].x2, expected[i].x2) << "line " << i;
        EXPECT_DOUBLE_EQ(lines[i].y2, expected[i].y2) << "line " << i;
    }
}

std::vector<DrawCall> Tail(const std::vector<DrawCall>& calls, size_t from) {
    return {calls.begin() + static_cast<std::ptrdiff_t>(from), calls.end()};
}

TEST(DrawRealLattice, SquareNetInTheDefaultBox) {
    Module1 m = DefaultBox();
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
    EXPECT_DOUBLE_EQ(m.SegX1, -2660);
    EXPECT_DOUBLE_EQ(m.SegY1, 1780);
    EXPECT_DOUBLE_EQ(m.SegX2, 6620);
    EXPECT_DOUBLE_EQ(m.SegY2, 1780);
}

TEST(DrawRealLattice, RectangularNetCountsRowsFromTheWidth) {
    // t1 = (0, 1): d1 = 1, N1 = 3; t2 = (0.5, 0): d2 = 0.5, N2 = 6.
    Module1 m = TallBox();
    RecordingSurface s;
    DrawRealLattice(m, s, 0, 1, 0.5, 0, kGreen, 45, 1);
    std::vector<Seg> expected = {{1980, 18840, 1980, 20000}, {1980, 20000, 2560, 20000}};
    // 2 * (N1 + 1) + 1 = 9 rows parallel to t2, from k = -4 (lowest on screen) up.
    for (int k = -4; k <= 4; ++k)
        expected.push_back({240, 20000 - 1160.0 * k, 3720, 20000 - 1160.0 * k});
    // Of the 2 * (N2 + 1) + 1 = 15 rows parallel to t1, the 7 with |k| <= 3 reach
    // the box, the outer two exactly on its edges.
    for (int k = -3; k <= 3; ++k)
        expected.push_back({1980 + 580.0 * k, 15360, 1980 + 580.0 * k, 24640});
    ExpectLines(s.calls, expected);
    // The last segment is the row through 7*t2.
    EXPECT_DOUBLE_EQ(m.SegX1, 6040);
    EXPECT_DOUBLE_EQ(m.SegY1, 24640);
    EXPECT_DOUBLE_EQ(m.SegX2, 6040);
    EXPECT_DOUBLE_EQ(m.SegY2, 15360);
}

TEST(DrawRealLattice, ObliqueNetTakesTheGreaterOfSumAndDifference) {
    // t1 = (1, 0), t2 = (1, 1): e1 = (0.5, -0.5), d1 = 1 (not the sum 0);
    // e2 = (0, 1), d2 = 1; so N1 = N2 = 3.
    Module1 m = TallBox();
    RecordingSurface s;
    DrawRealLattice(m, s, 1, 0, 1, 1, kGreen, 45, 1);
    ASSERT_EQ(s.calls.size(), 2u + 9u + 9u);
    // Rows parallel to t2 through k*t1, k = -4..4, screen slope -1, each from
    // k*t1 - 4*t2 to k*t1 + 4*t2: the outer ones end inside the box.
    ExpectLines(std::vector<DrawCall>(s.calls.begin() + 2, s.calls.begin() + 11),
                {{1980, 15360, 240, 17100},
                 {3140, 15360, 240, 18260},
                 {3720, 15940, 240, 19420},
                 {3720, 17100, 240, 20580},
                 {3720, 18260, 240, 21740},
                 {3720, 19420, 240, 22900},
                 {3720, 20580, 240, 24060},
                 {3720, 21740, 820, 24640},
                 {3720, 22900, 1980, 24640}});
    // Rows parallel to t1 through k*t2 run from (k - 4)*t1 to (k + 4)*t1: the
    // outermost ones end at the centre column, which shows N1 + 1 = 4.
    ExpectLines(Tail(s.calls, 11), {{240, 24640, 1980, 24640},
                                    {240, 23480, 3140, 23480},
                                    {240, 22320, 3720, 22320},
                                    {240, 21160, 3720, 21160},
                                    {240, 20000, 3720, 20000},
                                    {240, 18840, 3720, 18840},
                                    {240, 17680, 3720, 17680},
                                    {820, 16520, 3720, 16520},
                                    {1980, 15360, 3720, 15360}});
}

TEST(DrawRealLattice, SuperlatticeDotsInsideTheBoxInLoopOrder) {
    // Any colour but the surface's initial black, so the fill colour shows.
    const Rgb kDotColour = RGB(12, 34, 56);
    Module1 m = DefaultBox();
    RecordingSurface s;
    DrawRealLattice(m, s, 1, 0, 0, 1, kDotColour, 45, 2);
    const auto lines = s.Of(DrawCall::Kind::Line);
    ExpectLines(lines, {{1980, 6420, 3140, 6420}, {1980, 5260, 1980, 6420}});
    for (const DrawCall& c : lines) EXPECT_EQ(c.state.lineWidth, 1);
    const auto dots = s.Of(DrawCall::Kind::Circle);
    ASSERT_EQ(dots.size(), 9u);
    size_t n = 0;
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j, ++n) {
            EXPECT_DOUBLE_EQ(dots[n].x1, 1980 + 1160.0 * i);
            EXPECT_DOUBLE_EQ(dots[n].y1, 6420 - 1160.0 * j);
            EXPECT_EQ(dots[n].r, 45);
            EXPECT_EQ(dots[n].color, kDotColour);
            EXPECT_EQ(dots[n].state.fillStyle, testing::FillStyle::Solid);
            EXPECT_EQ(dots[n].state.fillColor, kDotColour);
        }
    }
}

TEST(DrawRealLattice, DotsMustClearTheEdgesStrictly) {
    struct Case {
        double radius;
        size_t dots;
    };
    // The dots at +-1 row lie 580 inside the edges; the origin 1740.
    const Case cases[] = {{0, 9}, {579.5, 9}, {580, 1}, {1739.5, 1}, {1740, 0}};
    for (const Case& c : cases) {
        Module1 m = DefaultBox();
        RecordingSurface s;
        DrawRealLattice(m, s, 1, 0, 0, 1, kBlack, c.radius, 2);
        EXPECT_EQ(s.Of(DrawCall::Kind::Circle).size(), c.dots) << "radius " << c.radius;
    }
}

// Counts what reaches the surface without keeping it: extreme scales put up to
// millions of dots on the centre.
class CheckingSurface : public platform::Surface {
  public:
    size_t lines = 0, circles = 0, nonFinite = 0;
    Rgb BackColor() const override { return 0; }

  protected:
    void DoLine(double x1, double y1, double x2, double y2, Rgb) override {
        ++lines;
        Check({x1, y1, x2, y2});
    }
    void DoRectangle(double, double, double, double, Rgb, bool) override {}
    void DoCircle(double x, double y, double r, Rgb) override {
        ++circles;
        Check({x, y, r});
    }
    void DoPrint(const std::string&) override {}

  private:
    void Check(std::initializer_list<double> values) {
        for (double v : values)
            if (!std::isfinite(v)) ++nonFinite;
    }
};

TEST(DrawRealLattice, ExtremeInputFinishesWithFiniteCoordinates) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    struct Case {
        const char* name;
        double scale, t1x, t1y, t2x, t2y, radius;
    };
    const Case cases[] = {
        {"parallel vectors, d = 0", 1160, 1, 0, 2, 0, 45},
        {"zero vector", 1160, 0, 0, 0, 1, 45},
        {"scale zero", 0, 1, 0, 0, 1, 45},
        {"scale tiny", 1e-300, 1, 0, 0, 1, 45},
        {"scale huge", 1e300, 1, 0, 0, 1, 45},
        {"scale negative", -1160, 1, 0, 0, 1, 45},
        {"scale NaN", nan, 1, 0, 0, 1, 45},
        {"scale inf", inf, 1, 0, 0, 1, 45},
        {"vectors huge", 1160, 1e300, 0, 0, 1e300, 45},
        {"vectors tiny", 1160, 1e-300, 0, 0, 1e-300, 45},
        {"vector inf", 1160, inf, 0, 0, 1, 45},
        {"vector NaN", 1160, nan, 0, 0, 1, 45},
        {"radius -inf", 1160, 1, 0, 0, 1, -inf},
        {"radius NaN", 1160, 1, 0, 0, 1, nan},
    };
    for (const Case& c : cases) {
        for (model::Long kind : {1, 2}) {
            Module1 m = DefaultBox();
            m.LatScale = c.scale;
            CheckingSurface s;
            DrawRealLattice(m, s, c.t1x, c.t1y, c.t2x, c.t2y, kGreen, c.radius, kind);
            EXPECT_EQ(s.nonFinite, 0u) << c.name << ", kind " << kind;
            EXPECT_EQ(s.State().lineWidth, 1) << c.name;
            EXPECT_EQ(s.State().fillStyle, testing::FillStyle::Solid) << c.name;
            EXPECT_EQ(s.State().fillColor, kGreen) << c.name;
        }
    }
}

TEST(DrawRealLattice, DegenerateRowCountsAreBounded) {
    // Parallel vectors make d = 0 and the counts infinite: every line of the
    // net then runs along the row through the centre, and lines that clip to
    // the same pixels are drawn once. A vanishing scale puts the dots closer
    // than a pixel: one dot per pixel of the box, minus a radius at each
    // edge. A zero vector makes the counts NaN and draws no net at all.
    Module1 m = DefaultBox();
    RecordingSurface net;
    DrawRealLattice(m, net, 1, 0, 2, 0, kGreen, 45, 1);
    const auto lines = Tail(net.Of(DrawCall::Kind::Line), 2);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_DOUBLE_EQ(lines[0].y1, 6420);
    EXPECT_DOUBLE_EQ(lines[0].y2, 6420);
    EXPECT_DOUBLE_EQ(std::min(lines[0].x1, lines[0].x2), 240);
    EXPECT_DOUBLE_EQ(std::max(lines[0].x1, lines[0].x2), 3720);

    m.LatScale = 1e-300;
    CheckingSurface dots;
    DrawRealLattice(m, dots, 1, 0, 0, 1, kBlack, 45, 2);
    // Centres strictly between 285 and 3675 twips: pixels 19..245 each way.
    EXPECT_EQ(dots.circles, 227u * 227u);
    EXPECT_EQ(dots.nonFinite, 0u);

    m.LatScale = 1160;
    CheckingSurface none;
    DrawRealLattice(m, none, 0, 0, 0, 1, kGreen, 45, 1);
    EXPECT_EQ(none.lines, 2u);  // the basis vectors only, t1 of length 0
}

TEST(ShowSuperlatticeTooLarge, BlanksBothBoxesAndPrintsInRed) {
    Module1 m;
    model::FillTables(m);
    m.LatBoxLeft = 100, m.LatBoxTop = 200, m.LatBoxWidth = 300, m.LatBoxHeight = 400;
    m.PatBoxLeft = 1000, m.PatBoxTop = 2000, m.PatBoxWidth = 500, m.PatBoxHeight = 600;
    RecordingSurface s;
    ShowSuperlatticeTooLarge(m, s);
    ASSERT_EQ(s.calls.size(), 11u);
    using K = DrawCall::Kind;
    const struct {
        K kind;
        Seg at;
        Rgb color;
    } expected[] = {
        {K::FilledRectangle, {100, 200, 400, 600}, kWhite},
        {K::Line, {100, 200, 100, 600}, kBlack},
        {K::Line, {100, 600, 400, 600}, kBlack},
        {K::Line, {400, 600, 400, 200}, kBlack},
        {K::Line, {400, 200, 100, 200}, kBlack},
        {K::Print, {100, 200, 0, 0}, RGB(255, 0, 0)},
        {K::FilledRectangle, {1000, 2000, 1500, 2600}, kBlack},
        {K::Line, {1000, 2000, 1000, 2600}, kWhite},
        {K::Line, {1000, 2600, 1500, 2600}, kWhite},
        {K::Line, {1500, 2600, 1500, 2000}, kWhite},
        {K::Line, {1500, 2000, 1000, 2000}, kWhite},
    };
    for (size_t i = 0; i < s.calls.size(); ++i) {
        const DrawCall& c = s.calls[i];
        EXPECT_EQ(c.kind, expected[i].kind) << "call " << i;
        EXPECT_EQ(c.x1, expected[i].at.x1) << "call " << i;
        EXPECT_EQ(c.y1, expected[i].at.y1) << "call " << i;
        EXPECT_EQ(c.x2, expected[i].at.x2) << "call " << i;
        EXPECT_EQ(c.y2, expected[i].at.y2) << "call " << i;
        EXPECT_EQ(c.color, expected[i].color) << "call " << i;
    }
    EXPECT_EQ(s.calls[5].text, "Superlattice too large");
    EXPECT_EQ(s.State().textColor, RGB(255, 0, 0));
}

}  // namespace
}  // namespace quorvex::render
