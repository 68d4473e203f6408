// Mouse editing through the window: dragging b1, b2 in the lattice box and
// b1*, b2* in the pattern, the legend click and the trail.
#include <QPointF>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;
using model::RGB;
using model::Rgb;

namespace {

const Rgb kRed = RGB(255, 0, 0);
const std::array<int, 4> kIdentity{1, 0, 0, 1};

class MouseEditTest : public FormTest {
  protected:
    // Twip position of the lattice point i·a1 + j·a2 as the lattice box draws it.
    QPointF LatticePoint(double i, double j) {
        const model::Module1& m = M();
        return {(j * m.A2X + i * m.A1X) * m.LatScale + m.LatBoxCenterX,
                m.LatBoxCenterY - (i * m.A1Y + j * m.A2Y) * m.LatScale};
    }
    // Twip position of a reciprocal vector in the pattern of the default square lattice.
    static QPointF PatternPoint(double x, double y) { return {6300 + 1392 * x, 6420 - 1392 * y}; }

    void Down(QPointF p) { F().Form_MouseDown(float(p.x()), float(p.y())); }
    void Move(QPointF p) { F().Form_MouseMove(float(p.x()), float(p.y())); }
    void Up(QPointF p) { F().Form_MouseUp(float(p.x()), float(p.y())); }
    void Drag(QPointF from, QPointF to) {
        Down(from);
        Move((from + to) / 2);
        Move(to);
        Up(to);
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
    const std::vector<std::string> kInconsistent{"Superlattice matrix inconsistent"};
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
        Choose(F().Combo3, 1);   // p(1x1), magnification 1
        Choose(F().Combo2, 10);  // p4mm, which a new matrix resets
        F().Command4_Click();    // mag - twice, so that (2, -1) lies inside the box
        F().Command4_Click();
        messages.clear();
        const int updates = F().UpdateRuns(), patterns = F().PatternRuns();
        Drag(LatticePoint(c.fromI, c.fromJ), LatticePoint(c.toI, c.toJ));
        const bool accepted = c.result == kAccepted;
        EXPECT_EQ(Mat(), c.after);
        EXPECT_EQ(Fields(), Mat());
        EXPECT_EQ(messages, c.result == kRefused ? kInconsistent : std::vector<std::string>{});
        // A refusal redraws without the pattern.
        EXPECT_EQ(F().UpdateRuns(), updates + (c.result == kNothing ? 0 : 1));
        EXPECT_EQ(F().PatternRuns(), patterns + (accepted ? 1 : 0));
        EXPECT_EQ(M().LatMag, accepted ? 1.0 : 1.2 * 1.2);
        EXPECT_EQ(M().SuperGroup, accepted ? 1 : 11);
        EXPECT_EQ(F().Combo3->currentIndex(), accepted ? 0 : 1);  // "None" shown
    }
}

TEST_F(MouseEditTest, BoxEdgesAreOutside) {
    F().Check4->setChecked(true);  // the pattern box takes presses only with the bases shown
    struct Case {
        double x, y;
        bool inside;
    };
    // Lattice box 240..3720 x 4680..8160, pattern box 4560..8040 x 4680..8160.
    const Case cases[] = {
        {240, 6420, false},  {241, 6420, true},   {3720, 6420, false}, {3719, 6420, true},
        {1980, 4680, false}, {1980, 8160, false}, {4560, 6420, false}, {4561, 6420, true},
        {8040, 6420, false}, {6300, 4680, false}, {6300, 8160, false}, {6300, 8159, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        F().Form_MouseDown(float(c.x), float(c.y));
        // A press inside either box switches retained drawing off until the release.
        EXPECT_EQ(F().Canvas().State().retained, !c.inside);
        F().Form_MouseUp(100, 100);
        EXPECT_TRUE(F().Canvas().State().retained);
    }
}

TEST_F(MouseEditTest, PatternDrops) {
    struct Case {
        const char* what;
        QPointF from, to;
        Matrix result;  // the identity: refused
    };
    const Case cases[] = {
        {"b1* at half length", PatternPoint(1, 0), PatternPoint(0.5, 0), {2, 0, 0, 1}},
        {"b2* at half length", PatternPoint(0, 1), PatternPoint(0, 0.5), {1, 0, 0, 2}},
        // b1* = (0.5, 0.5) with b2* = (0, 1): b1 = (2, 0), b2 = (-1, 1).
        {"b1* askew", PatternPoint(1, 0), PatternPoint(0.5, 0.5), {2, 0, -1, 1}},
        {"within a tenth of b1*", PatternPoint(1.09, 0), PatternPoint(0.5, 0), {2, 0, 0, 1}},
        {"b1* on the centre", PatternPoint(1, 0), PatternPoint(0, 0), kIdentity},
        {"b2* on the centre", PatternPoint(0, 1), PatternPoint(0, 0), kIdentity},
        {"b1* parallel to b2*", PatternPoint(1, 0), PatternPoint(0, 0.5), kIdentity},
        {"outside the box", PatternPoint(1, 0), QPointF(8100, 6420), kIdentity},
        {"on the lattice box", PatternPoint(0, 1), QPointF(1980, 6420), kIdentity},
    };
    F().Check4->setChecked(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Choose(F().Combo3, 1);  // back to p(1x1)
        F().Command4_Click();   // LatMag 1.2: a pattern edit keeps it
        const int updates = F().UpdateRuns();
        const double rb1x = M().RB1X, b2y = M().B2Y;
        Drag(c.from, c.to);
        const bool accepted = c.result != kIdentity;
        EXPECT_NE(M().DragMode, 0);  // the tip was grabbed
        EXPECT_EQ(Mat(), c.result);
        EXPECT_EQ(Fields(), c.result);
        EXPECT_EQ(F().Combo3->currentIndex(), accepted ? 0 : 1);
        EXPECT_EQ(F().UpdateRuns(), updates + (accepted ? 1 : 0));
        EXPECT_EQ(M().LatMag, 1.2);
        EXPECT_TRUE(accepted || (M().RB1X == rb1x && M().B2Y == b2y));  // vectors kept
    }
    // A drop whose matrix leaves 32 bits: as if the pattern were magnified 1e12 times,
    // b1 one twip beside the centre needs some 1e15 lattice steps.
    Down(PatternPoint(1, 0));
    ASSERT_EQ(M().DragMode, 1);
    const double rb1x = M().RB1X;
    M().PatScale *= 1e12;
    F().Form_MouseUp(6300 + 1, 6420);
    EXPECT_EQ(Mat(), kIdentity);
    EXPECT_EQ(M().RB1X, rb1x);
    EXPECT_TRUE(messages.empty());
    // With the bases hidden a press on a tip starts nothing.
    F().Check4->setChecked(false);
    const int updates = F().UpdateRuns();
    Drag(PatternPoint(1, 0), PatternPoint(0.5, 0));
    EXPECT_EQ(M().DragMode, 0);
    EXPECT_EQ(F().UpdateRuns(), updates);
}

TEST_F(MouseEditTest, PaintedDomainsAndTheLegendClick) {
    Choose(F().Combo3, 3);  // p(2x1) on p4mm: the (2x1) and the (1x2)
    F().Check3->setChecked(true);
    F().Check2->setChecked(true);
    // (0.5, 0) belongs to the (2x1) only, (0, 0.5) to the (1x2) only, (1, 0) to both.
    const QPointF spot1 = PatternPoint(0.5, 0), spot2 = PatternPoint(0, 0.5);
    const Rgb colour1 = RGB(138, 138, 255), colour2 = RGB(255, 106, 106);
    EXPECT_EQ(At(spot1), colour1);
    EXPECT_EQ(At(spot2), colour2);
    EXPECT_EQ(At(PatternPoint(1, 0)), RGB(255, 234, 255));  // the OR of the two
    // The legend boxes after "Domain colors :", in subpattern order.
    EXPECT_EQ(Pixel(8280 + 90, 4920 + 112), colour1);
    EXPECT_EQ(Pixel(8280 + 270, 4920 + 112), colour2);
    struct Case {
        float x, y;
        int box;  // 0: no box hit
    };
    // Line14 starts at (8280, 4920); u = 45, boxes 4u wide and 5u high.
    const Case cases[] = {
        {8459.9f, 5000, 1}, {8460, 5000, 2}, {8281, 4921, 1}, {8639, 5144, 2},
        {8280, 5000, 0},    {8400, 4920, 0}, {8400, 5145, 0}, {8641, 5000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        F().Command1_Click();  // a fresh pattern without rings
        const int updates = F().UpdateRuns();
        F().Form_MouseDown(c.x, c.y);
        F().Form_MouseUp(c.x, c.y);
        EXPECT_EQ(F().UpdateRuns(), updates + (c.box != 0 ? 1 : 0));
        EXPECT_EQ(Ringed(spot1, colour1), c.box == 1);
        EXPECT_EQ(Ringed(spot2, colour2), c.box == 2);
    }
    // Without "Paint domains" or "Include domains" the legend takes no clicks.
    for (QCheckBox* box : {F().Check2, F().Check3}) {
        box->setChecked(false);
        const int updates = F().UpdateRuns();
        F().Form_MouseDown(8400, 5000);
        F().Form_MouseUp(8400, 5000);
        EXPECT_EQ(F().UpdateRuns(), updates) << box->objectName().toStdString();
        EXPECT_TRUE(box != F().Check2 || At(spot1) == RGB(255, 255, 255));  // unpainted: white
        box->setChecked(true);
    }
}

TEST_F(MouseEditTest, TrailIsShownUntilTheNextRedraw) {
    const QPointF to(3140, 6000), onLine(3140, 6200), onCircle(3140 + 30, 6000);
    Down(LatticePoint(1, 0));  // (3140, 6420)
    Move(to);
    // A red line from the tip and a circle around the pointer, on the screen only.
    EXPECT_EQ(At(onLine), kRed);
    EXPECT_EQ(At(onCircle), kRed);
    const QImage& kept = F().Canvas().Image();
    EXPECT_NE(
        platform::FromQColor(kept.pixelColor(onLine.toPoint() / 15 * kept.devicePixelRatio())),
        kRed);
    Up(to);  // misses every lattice point: the trail stays
    EXPECT_EQ(At(onLine), kRed);
    F().Command1_Click();
    EXPECT_NE(At(onLine), kRed);
    EXPECT_NE(At(onCircle), kRed);
}

TEST_F(MouseEditTest, RealMouseEventsInPixels) {
    ShowActive();
    QTest::mouseClick(F().Command4, Qt::LeftButton);  // mag - twice
    QTest::mouseClick(F().Command4, Qt::LeftButton);
    // 15 twips to the pixel: the tip of b1 at (2785.6, 6420) twips is pixel (186, 428),
    // the lattice point (2, -1) at (3591.1, 7225.6) is (239, 482).
    QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(186, 428));
    QTest::mouseMove(form.get(), QPoint(220, 470));
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(239, 482));
    EXPECT_EQ(Mat(), (Matrix{2, -1, 0, 1}));
    // Any button drags. LatScale is now 3480 / (3·√5) = 518.8: the tip of b2 at
    // (1980, 5901.2) is pixel (132, 393), the point (1, 1) is (167, 393).
    QTest::mousePress(form.get(), Qt::RightButton, {}, QPoint(132, 393));
    QTest::mouseRelease(form.get(), Qt::RightButton, {}, QPoint(167, 393));
    EXPECT_EQ(Mat(), (Matrix{2, -1, 1, 1}));
    EXPECT_TRUE(messages.empty());
}

}  // namespace
