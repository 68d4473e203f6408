// Mouse editing through the window: dragging b1, b2 in the lattice box and
// b1*, b2* in the pattern, the legend click and the trail.
#include "WindowFixture.h"
#include "platform/ImageSurface.h"

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

TEST_F(MouseEditTest, LatticeDrags) {
    enum Result { kNothing, kRefused, kAccepted };
    struct Case {
        double fromI, fromJ, toI, toJ;
        Result result;
        Matrix after = kIdentity;
    };
    const Case cases[] = {
        {1, 0, 2, -1, kAccepted, {2, -1, 0, 1}},
        {0, 1, 1, 1, kAccepted, {1, 0, 1, 1}},
        {1.19, 0.19, 1, 1, kAccepted, {1, 1, 0, 1}},  // just within 0.2 of the tip
        {1, 0, 0, 1, kRefused},  // in line with the other vector: b1 onto b2, -b2
        {1, 0, 0, -1, kRefused},
        {0, 1, -1, 0, kRefused},  // b2 onto -b1, b1
        {0, 1, 1, 0, kRefused},
        {1, 1, -1, 0, kNothing},    // a lattice point that is no tip
        {1.25, 0, 1, 1, kNothing},  // presses and releases 0.2 or more beside a point
        {1, 0.21, 1, 1, kNothing},
        {1, 0, 1, 1.21, kNothing},
        {1, 0, 0.5, 1, kNothing},
        {1, 0, 1, 0, kNothing},  // dropped where it was taken
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.fromI << "," << c.fromJ << " -> " << c.toI << "," << c.toJ);
        Choose("commonNameList", 1);    // p(1x1), magnification 1
        Choose("superGroupList", 10);   // p4mm, which a new matrix resets
        Click("latticeZoomOutButton");  // twice, so that (2, -1) lies inside the box
        Click("latticeZoomOutButton");
        messages.clear();
        const int updates = W().updateRuns(), patterns = W().patternRuns();
        Drag(LatticePoint(c.fromI, c.fromJ), LatticePoint(c.toI, c.toJ));
        const bool accepted = c.result == kAccepted;
        EXPECT_EQ(Mat(), c.after);
        EXPECT_EQ(Fields(), Mat());
        EXPECT_EQ(messages.size(), c.result == kRefused ? 1u : 0u);
        EXPECT_TRUE(messages.empty() || messages[0] == "Superlattice matrix inconsistent");
        // A refusal redraws without the pattern.
        EXPECT_EQ(W().updateRuns(), updates + (c.result == kNothing ? 0 : 1));
        EXPECT_EQ(W().patternRuns(), patterns + (accepted ? 1 : 0));
        EXPECT_EQ(V().latticeZoom, accepted ? 1.0 : 1.2 * 1.2);
        EXPECT_EQ(S().superGroup, accepted ? model::kP1 : model::kP4mm);
        EXPECT_EQ(Text("commonNameList"), Padded(accepted ? "None" : "p(1x1)", 30));
    }
}

TEST_F(MouseEditTest, PatternDrops) {
    struct Case {
        const char* what;
        QPointF from, to;
        Matrix result;  // the identity: refused
    };
    const Case cases[] = {
        {"b1* at half length", Spot(1, 0), Spot(0.5, 0), {2, 0, 0, 1}},
        {"b2* at half length", Spot(0, 1), Spot(0, 0.5), {1, 0, 0, 2}},
        // b1* = (0.5, 0.5) with b2* = (0, 1): b1 = (2, 0), b2 = (-1, 1).
        {"b1* askew", Spot(1, 0), Spot(0.5, 0.5), {2, 0, -1, 1}},
        {"within a tenth of b1*", Spot(1.09, 0), Spot(0.5, 0), {2, 0, 0, 1}},
        {"b1* on the centre", Spot(1, 0), Spot(0, 0), kIdentity},
        {"b2* on the centre", Spot(0, 1), Spot(0, 0), kIdentity},
        {"b1* parallel to b2*", Spot(1, 0), Spot(0, 0.5), kIdentity},
        {"outside the box", Spot(1, 0), QPointF(8100, 6420), kIdentity},
        {"on the lattice box", Spot(0, 1), QPointF(1980, 6420), kIdentity},
    };
    Tick("includeBasesBox", true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Choose("commonNameList", 1);    // back to p(1x1)
        Click("latticeZoomOutButton");  // a pattern edit keeps the lattice zoom
        const int updates = W().updateRuns();
        const model::Vec2 rb1 = Derived().pattern.rb1, rb2 = Derived().pattern.rb2;
        EXPECT_TRUE(Drag(c.from, c.to));
        const bool accepted = c.result != kIdentity;
        EXPECT_EQ(Mat(), c.result);
        EXPECT_EQ(Fields(), c.result);
        EXPECT_EQ(Row("commonNameList"), accepted ? 0 : 1);
        EXPECT_EQ(W().updateRuns(), updates + (accepted ? 1 : 0));
        EXPECT_EQ(V().latticeZoom, 1.2);
        EXPECT_TRUE(accepted || (Derived().pattern.rb1 == rb1 && Derived().pattern.rb2 == rb2));
    }
    // A drop whose matrix leaves 32 bits: as if the pattern were magnified 1e12 times,
    // b1 one twip beside the centre needs some 1e15 lattice steps.
    Down(Spot(1, 0));
    ASSERT_TRUE(W().dragging());
    const model::Vec2 rb1 = Derived().pattern.rb1;
    Derived().pattern.scale *= 1e12;
    Up(Spot(0, 0) + QPointF(1, 0));
    EXPECT_EQ(Mat(), kIdentity);
    EXPECT_EQ(Derived().pattern.rb1, rb1);
    EXPECT_TRUE(messages.empty());
    // With the bases hidden a press on a tip starts nothing.
    Tick("includeBasesBox", false);
    const int updates = W().updateRuns();
    EXPECT_FALSE(Drag(Spot(1, 0), Spot(0.5, 0)));
    EXPECT_EQ(W().updateRuns(), updates);
}

TEST_F(MouseEditTest, PaintedDomainsAndTheLegendClick) {
    Choose("commonNameList", 3);  // p(2x1) on p4mm: the (2x1) and the (1x2)
    Tick("includeDomainsBox", true);
    Tick("paintDomainsBox", true);
    // (0.5, 0) belongs to the (2x1) only, (0, 0.5) to the (1x2) only, (1, 0) to both.
    const QPointF spot1 = Spot(0.5, 0), spot2 = Spot(0, 0.5);
    const Rgb colour1 = RGB(138, 138, 255), colour2 = RGB(255, 106, 106);
    EXPECT_EQ(At(spot1), colour1);
    EXPECT_EQ(At(spot2), colour2);
    EXPECT_EQ(At(Spot(1, 0)), RGB(255, 234, 255));  // the OR of the two
    // The legend boxes after "Domain colors :", in subpattern order.
    EXPECT_EQ(Pixel(8280 + 90, 4920 + 112), colour1);
    EXPECT_EQ(Pixel(8280 + 270, 4920 + 112), colour2);
    // The legend starts at (8280, 4920); u = 45, boxes 4u wide and 5u high. 0: no box hit.
    const std::tuple<float, float, int> cases[] = {
        {8459.9f, 5000, 1}, {8460, 5000, 2}, {8281, 4921, 1}, {8639, 5144, 2},
        {8280, 5000, 0},    {8400, 4920, 0}, {8400, 5145, 0}, {8641, 5000, 0},
    };
    for (const auto& [x, y, box] : cases) {
        SCOPED_TRACE(::testing::Message() << x << "," << y);
        Click("refreshButton");  // a fresh pattern without rings
        const int updates = W().updateRuns();
        W().onMousePressed(x, y);
        W().onMouseReleased(x, y);
        EXPECT_EQ(W().updateRuns(), updates + (box != 0 ? 1 : 0));
        EXPECT_EQ(Ringed(spot1, colour1), box == 1);
        EXPECT_EQ(Ringed(spot2, colour2), box == 2);
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

TEST_F(MouseEditTest, TrailIsShownUntilTheNextRedraw) {
    const QPointF to(3140, 6000), onLine(3140, 6200), onCircle(3140 + 30, 6000);
    Down(LatticePoint(1, 0));  // (3140, 6420)
    W().onMouseMoved(float(to.x()), float(to.y()));
    // A red line from the tip and a circle around the pointer, on the screen only.
    EXPECT_EQ(At(onLine), RGB(255, 0, 0));
    EXPECT_EQ(At(onCircle), RGB(255, 0, 0));
    const QImage& kept = W().canvas().Image();
    const QPoint pixel = onLine.toPoint() / 15 * kept.devicePixelRatio();
    EXPECT_NE(platform::FromQColor(kept.pixelColor(pixel)), RGB(255, 0, 0));
    Up(to);  // misses every lattice point: the trail stays
    EXPECT_EQ(At(onLine), RGB(255, 0, 0));
    Click("refreshButton");
    EXPECT_NE(At(onLine), RGB(255, 0, 0));
    EXPECT_NE(At(onCircle), RGB(255, 0, 0));
}

TEST_F(MouseEditTest, RealMouseEventsInPixels) {
    ShowActive();
    MouseClick("latticeZoomOutButton");  // mag - twice
    MouseClick("latticeZoomOutButton");
    // 15 twips to the pixel: the tip of b1 at (2785.6, 6420) twips is pixel (186, 428),
    // the lattice point (2, -1) at (3591.1, 7225.6) is (239, 482).
    QTest::mousePress(&W(), Qt::LeftButton, {}, QPoint(186, 428));
    QTest::mouseMove(&W(), QPoint(220, 470));
    QTest::mouseRelease(&W(), Qt::LeftButton, {}, QPoint(239, 482));
    EXPECT_EQ(Mat(), (Matrix{2, -1, 0, 1}));
    // Any button drags. The lattice scale is now 3480 / (3 sqrt 5) = 518.8: the tip of b2 at
    // (1980, 5901.2) is pixel (132, 393), the point (1, 1) is (167, 393).
    QTest::mousePress(&W(), Qt::RightButton, {}, QPoint(132, 393));
    QTest::mouseRelease(&W(), Qt::RightButton, {}, QPoint(167, 393));
    EXPECT_EQ(Mat(), (Matrix{2, -1, 1, 1}));
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace quorvex::testing
