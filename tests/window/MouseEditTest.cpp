// Mouse editing through the window: dragging b1, b2 in the lattice box and
// b1*, b2* in the pattern, and the legend click.
#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

using model::RGB;
using model::Rgb;

class MouseEditTest : public WindowTest {
  protected:
    // Twip position of a reciprocal vector in the pattern of the default square lattice.
    static QPointF Spot(double x, double y) { return {6300 + 1392 * x, 6420 - 1392 * y}; }
    void Down(QPointF p) { W().onMousePressed(float(p.x()), float(p.y())); }
    void Up(QPointF p) { W().onMouseReleased(float(p.x()), float(p.y())); }
    // Returns whether the press took a tip.
    bool Drag(QPointF from, QPointF to) {
        Down(from);
        const bool took = W().dragging();
        W().onMouseMoved(float(to.x() + from.x()) / 2, float(to.y() + from.y()) / 2);
        W().onMouseMoved(float(to.x()), float(to.y()));
        Up(to);
        return took;
    }
    Rgb At(QPointF p) { return Pixel(p.x(), p.y()); }
    // Whether a ring of colour c is drawn 4..7 pixels around a spot centre (the spot
    // itself has a radius of 3 pixels, the highlight ring 5).
    bool Ringed(QPointF centre, Rgb c) {
        for (int dx = -7; dx <= 7; ++dx)
            for (int dy = -7; dy <= 7; ++dy)
                if (dx * dx + dy * dy >= 16 && dx * dx + dy * dy <= 49 &&
                    At(centre + QPointF(15 * dx, 15 * dy)) == c)
                    return true;
        return false;
    }
};

// From lattice point (i, j) to (k, l): a tip dropped on a lattice point not in
// line with the other vector is taken, in line it is refused, anything else
// does nothing.
TEST_F(MouseEditTest, LatticeDrags) {
    enum Result { kNothing, kRefused, kAccepted };
    // clang-format off
    const std::tuple<std::array<double, 4>, Result, Matrix> cases[] = {
        {{1, 0, 2, -1}, kAccepted, {2, -1, 0, 1}}, {{0, 1, 1, 1}, kAccepted, {1, 0, 1, 1}},
        {{1.19, 0.19, 1, 1}, kAccepted, {1, 1, 0, 1}},  // just within 0.2 of the tip
        // In line with the other vector: b1 onto -b2, and b2 onto b1.
        {{1, 0, 0, -1}, kRefused, kIdentity}, {{0, 1, 1, 0}, kRefused, kIdentity},
        {{1, 1, -1, 0}, kNothing, kIdentity},  // a lattice point that is no tip
        // Presses and releases 0.2 or more beside a point.
        {{1, 0.21, 1, 1}, kNothing, kIdentity}, {{1, 0, 1, 1.21}, kNothing, kIdentity},
        {{1, 0, 1, 0}, kNothing, kIdentity}};  // dropped where it was taken
    // clang-format on
    for (const auto& [p, result, after] : cases) {
        SCOPED_TRACE(::testing::PrintToString(p));
        Choose("commonNameList", 1);    // p(1x1), magnification 1
        Choose("superGroupList", 10);   // p4mm, which a new matrix resets
        Click("latticeZoomOutButton");  // twice, so that (2, -1) lies inside the box
        Click("latticeZoomOutButton");
        messages.clear();
        const int updates = W().updateRuns(), patterns = W().patternRuns();
        Drag(LatticePoint(p[0], p[1]), LatticePoint(p[2], p[3]));
        const bool accepted = result == kAccepted;
        // A refusal redraws without the pattern.
        EXPECT_EQ(std::tuple(Mat(), Fields(), W().updateRuns() - updates,
                             W().patternRuns() - patterns, V().latticeZoom, S().superGroup),
                  std::tuple(after, after, result == kNothing ? 0 : 1, accepted ? 1 : 0,
                             accepted ? 1.0 : 1.2 * 1.2, accepted ? model::kP1 : model::kP4mm));
        EXPECT_EQ(messages,
                  std::vector<std::string>(result == kRefused, "Superlattice matrix inconsistent"));
        EXPECT_EQ(Text("commonNameList"), Padded(accepted ? "None" : "p(1x1)", 30));
    }
}

TEST_F(MouseEditTest, PatternDrops) {
    const std::tuple<const char*, QPointF, QPointF, Matrix> cases[] = {
        // the identity: refused
        {"b1* at half length", Spot(1, 0), Spot(0.5, 0), {2, 0, 0, 1}},
        {"b2* at half length", Spot(0, 1), Spot(0, 0.5), {1, 0, 0, 2}},
        // b1* = (0.5, 0.5) with b2* = (0, 1): b1 = (2, 0), b2 = (-1, 1).
        {"b1* askew", Spot(1, 0), Spot(0.5, 0.5), {2, 0, -1, 1}},
        {"within a tenth of b1*", Spot(1.09, 0), Spot(0.5, 0), {2, 0, 0, 1}},
        {"b2* on the centre", Spot(0, 1), Spot(0, 0), kIdentity},
        {"b1* parallel to b2*", Spot(1, 0), Spot(0, 0.5), kIdentity},
        {"outside the box", Spot(1, 0), QPointF(8100, 6420), kIdentity},
        {"on the lattice box", Spot(0, 1), QPointF(1980, 6420), kIdentity},
    };
    Tick("includeBasesBox", true);
    for (const auto& [what, from, to, result] : cases) {
        SCOPED_TRACE(what);
        Choose("commonNameList", 1);    // back to p(1x1)
        Click("latticeZoomOutButton");  // a pattern edit keeps the lattice zoom
        const int updates = W().updateRuns();
        const model::Pattern before = Derived().pattern;
        EXPECT_TRUE(Drag(from, to));
        const bool accepted = result != kIdentity;
        EXPECT_EQ(std::tuple(Mat(), Fields(), Row("commonNameList"), W().updateRuns() - updates,
                             V().latticeZoom),
                  std::tuple(result, result, accepted ? 0 : 1, accepted ? 1 : 0, 1.2));
        EXPECT_TRUE(accepted ||
                    (Derived().pattern.rb1 == before.rb1 && Derived().pattern.rb2 == before.rb2));
    }
    // A drop whose matrix leaves 32 bits: as if the pattern were magnified 1e12 times,
    // b1 one twip beside the centre needs some 1e15 lattice steps.
    Down(Spot(1, 0));
    ASSERT_TRUE(W().dragging());
    const model::Vec2 rb1 = Derived().pattern.rb1;
    Derived().pattern.scale *= 1e12;
    Up(Spot(0, 0) + QPointF(1, 0));
    EXPECT_EQ(std::tuple(Mat(), Derived().pattern.rb1, messages.size()),
              std::tuple(kIdentity, rb1, 0u));
    // With the bases hidden a press on a tip starts nothing.
    Tick("includeBasesBox", false);
    const int updates = W().updateRuns();
    EXPECT_FALSE(Drag(Spot(1, 0), Spot(0.5, 0)));
    EXPECT_EQ(W().updateRuns(), updates);
}

// p(2x1) on p4mm: (0.5, 0) belongs to the (2x1) only, (0, 0.5) to the (1x2) only,
// (1, 0) to both and is painted in the OR of their colours; the white centre spot
// is drawn over all. A click on a legend box rings its subpattern.
TEST_F(MouseEditTest, PaintedDomainsAndTheLegendClick) {
    Choose("commonNameList", 3);
    Tick("includeDomainsBox", true);
    Tick("paintDomainsBox", true);
    const QPointF spot1 = Spot(0.5, 0), spot2 = Spot(0, 0.5);
    const Rgb colour1 = RGB(138, 138, 255), colour2 = RGB(255, 106, 106);
    // The legend boxes after "Domain colors :", in subpattern order, from (8280, 4920).
    EXPECT_EQ(
        (std::vector{At(spot1), At(spot2), At(Spot(1, 0)), At(Spot(0, 0)),
                     Pixel(8280 + 90, 4920 + 112), Pixel(8280 + 270, 4920 + 112)}),
        (std::vector{colour1, colour2, RGB(255, 234, 255), RGB(255, 255, 255), colour1, colour2}));
    // u = 45, boxes 4u wide and 5u high. 0: no box hit. The left and top edges and the
    // boundary between boxes; the right and bottom edges are LegendEntryAt's table in
    // the render tests.
    const std::tuple<float, float, int> cases[] = {
        {8459.9f, 5000, 1}, {8460, 5000, 2}, {8281, 4921, 1}, {8280, 5000, 0}, {8400, 4920, 0}};
    for (const auto& [x, y, box] : cases) {
        SCOPED_TRACE(::testing::Message() << x << "," << y);
        Click("refreshButton");  // a fresh pattern without rings
        const int updates = W().updateRuns();
        Up(QPointF(x, y));
        EXPECT_EQ(W().updateRuns(), updates + (box != 0 ? 1 : 0));
        EXPECT_EQ(std::pair(Ringed(spot1, colour1), Ringed(spot2, colour2)),
                  std::pair(box == 1, box == 2));
    }
    // Without "Paint domains" or "Include domains" the legend takes no clicks.
    for (const char* box : {"paintDomainsBox", "includeDomainsBox"}) {
        Tick(box, false);
        const int updates = W().updateRuns();
        Up(QPointF(8400, 5000));
        EXPECT_EQ(W().updateRuns(), updates) << box;
        Tick(box, true);
    }
    Tick("paintDomainsBox", false);
    EXPECT_EQ(At(spot1), RGB(255, 255, 255));  // unpainted: white
}

// Real events in pixels, 15 twips each, with any button.
TEST_F(MouseEditTest, RealMouseEventsInPixels) {
    ShowActive();
    MouseClick("latticeZoomOutButton");  // mag - twice
    MouseClick("latticeZoomOutButton");
    // The tip of b1 at (2785.6, 6420) twips is pixel (186, 428), the lattice point
    // (2, -1) at (3591.1, 7225.6) is (239, 482). Then the lattice scale is
    // 3480 / (3 sqrt 5) = 518.8: the tip of b2 at (1980, 5901.2) is pixel (132, 393),
    // the point (1, 1) is (167, 393).
    const std::tuple<Qt::MouseButton, QPoint, QPoint, Matrix> drags[] = {
        {Qt::LeftButton, {186, 428}, {239, 482}, {2, -1, 0, 1}},
        {Qt::RightButton, {132, 393}, {167, 393}, {2, -1, 1, 1}}};
    for (const auto& [button, from, to, matrix] : drags) {
        QTest::mousePress(&W(), button, {}, from);
        QTest::mouseMove(&W(), (from + to) / 2);
        QTest::mouseRelease(&W(), button, {}, to);
        EXPECT_EQ(Mat(), matrix);
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace quorvex::testing
