// Mouse editing through the window: dragging b1, b2 in the lattice box and
// b1*, b2* in the pattern, the legend click and the trail.
#include <QPointF>
#include <cmath>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;
using model::RGB;
using model::Rgb;

namespace {

// The default square lattice: the longer reciprocal basis vector (length 1)
// spans 3480 / 2.5 twips of the pattern box.
constexpr double kPatScale = 3480 / 2.5;
constexpr double kPatCentreX = 6300, kPatCentreY = 6420;

const Rgb kRed = RGB(255, 0, 0);
const Rgb kWhite = RGB(255, 255, 255);
const Rgb kSubpattern1 = RGB(138, 138, 255);
const Rgb kSubpattern2 = RGB(255, 106, 106);

struct Matrix {
    int m11, m12, m21, m22;
    bool operator==(const Matrix&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Matrix& m) {
    return os << "(" << m.m11 << ", " << m.m12 << "; " << m.m21 << ", " << m.m22 << ")";
}

class MouseEditTest : public FormTest {
  protected:
    Matrix Mat() { return {M().M11, M().M12, M().M21, M().M22}; }
    Matrix Fields() {
        return {F().Text6->text().toInt(), F().Text8->text().toInt(), F().Text7->text().toInt(),
                F().Text9->text().toInt()};
    }

    // Twip position of the lattice point i·a1 + j·a2 as the lattice box draws it.
    QPointF LatticePoint(double i, double j) {
        const model::Module1& m = M();
        return {(j * m.A2X + i * m.A1X) * m.LatScale + m.LatBoxCenterX,
                m.LatBoxCenterY - (i * m.A1Y + j * m.A2Y) * m.LatScale};
    }
    // Twip position of a reciprocal vector (in reciprocal units) in the pattern.
    static QPointF PatternPoint(double x, double y) {
        return {kPatCentreX + kPatScale * x, kPatCentreY - kPatScale * y};
    }

    void Down(QPointF p) { F().Form_MouseDown(float(p.x()), float(p.y())); }
    void Move(QPointF p) { F().Form_MouseMove(float(p.x()), float(p.y())); }
    void Up(QPointF p) { F().Form_MouseUp(float(p.x()), float(p.y())); }
    void Drag(QPointF from, QPointF to) {
        Down(from);
        Move((from + to) / 2);
        Move(to);
        Up(to);
    }

    // The persistent picture alone, without what was drawn off the record.
    Rgb KeptPixel(QPointF twips) {
        const QImage& image = F().Canvas().Image();
        const qreal dpr = image.devicePixelRatio();
        const QColor c = image.pixelColor(int(std::lround(twips.x() / 15) * dpr),
                                          int(std::lround(twips.y() / 15) * dpr));
        return platform::FromQColor(c);
    }

    // Pixels of colour c in the ring 4..7 pixels around a spot centre (the
    // spot disc itself has a radius of 3 pixels, the highlight ring 5).
    int RingPixels(QPointF centre, Rgb c) {
        int n = 0;
        for (int dx = -7; dx <= 7; ++dx)
            for (int dy = -7; dy <= 7; ++dy)
                if (dx * dx + dy * dy >= 16 && dx * dx + dy * dy <= 49 &&
                    Pixel(centre.x() + 15 * dx, centre.y() + 15 * dy) == c)
                    ++n;
        return n;
    }
};

TEST_F(MouseEditTest, DraggingB1OntoALatticePointSetsItsMatrixRow) {
    F().Command4_Click();  // mag - twice, so that (2, -1) lies inside the box
    F().Command4_Click();
    ASSERT_NEAR(M().LatScale, 3480 / (1.44 * 3), 1e-9);
    Choose(F().Combo2, 10);  // p4mm, allowed for the (1x1)
    ASSERT_EQ(M().SuperGroup, 11);
    const int patterns = F().PatternRuns();

    Drag(LatticePoint(1, 0), LatticePoint(2, -1));

    EXPECT_EQ(Mat(), (Matrix{2, -1, 0, 1}));
    EXPECT_EQ(Fields(), (Matrix{2, -1, 0, 1}));
    EXPECT_EQ(Text(F().Text8), "-1");
    EXPECT_EQ(M().LatMag, 1.0);
    EXPECT_NEAR(M().LatScale, 3480 / (3 * std::sqrt(5.0)), 1e-4);  // |b1| = √5
    EXPECT_EQ(F().Combo3->currentIndex(), 0);
    EXPECT_EQ(Text(F().Combo3), Padded("None", 30));
    EXPECT_EQ(M().CommonNameIndex, 1);  // only the list's text changes
    EXPECT_EQ(M().SuperGroup, 1);       // a matrix edit resets the group
    EXPECT_EQ(F().PatternRuns(), patterns + 1);
    EXPECT_FALSE(M().Dragging);
    EXPECT_TRUE(F().Canvas().State().retained);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MouseEditTest, DropInLineWithTheOtherVectorIsRefused) {
    F().Command4_Click();  // LatMag 1.2: a refusal keeps it
    struct Case {
        double fromI, fromJ, toI, toJ;
    };
    const Case cases[] = {
        {1, 0, 0, 1},   // b1 onto b2
        {1, 0, 0, -1},  // b1 onto -b2
        {0, 1, -1, 0},  // b2 onto -b1
        {0, 1, 1, 0},   // b2 onto b1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.fromI << "," << c.fromJ << " -> " << c.toI << "," << c.toJ);
        messages.clear();
        const int updates = F().UpdateRuns(), patterns = F().PatternRuns();
        Drag(LatticePoint(c.fromI, c.fromJ), LatticePoint(c.toI, c.toJ));
        EXPECT_EQ(messages, std::vector<std::string>{"Superlattice matrix inconsistent"});
        EXPECT_EQ(Mat(), (Matrix{1, 0, 0, 1}));
        EXPECT_EQ(Fields(), (Matrix{1, 0, 0, 1}));
        EXPECT_EQ(M().LatMag, 1.2);
        // Redrawn without the pattern.
        EXPECT_EQ(F().UpdateRuns(), updates + 1);
        EXPECT_EQ(F().PatternRuns(), patterns);
    }
}

TEST_F(MouseEditTest, PressesAndReleasesOffTheTipsChangeNothing) {
    struct Case {
        const char* what;
        double fromI, fromJ, toI, toJ;
    };
    const Case cases[] = {
        {"press on a lattice point that is no tip", 1, 1, -1, 0},
        {"press 0.25 beside the tip of b1", 1.25, 0, 1, 1},
        {"press 0.21 beside the tip of b1", 1, 0.21, 1, 1},
        {"release 0.21 beside a lattice point", 1, 0, 1, 1.21},
        {"release between lattice points", 1, 0, 0.5, 1},
        {"release where it was taken", 1, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int updates = F().UpdateRuns();
        Drag(LatticePoint(c.fromI, c.fromJ), LatticePoint(c.toI, c.toJ));
        EXPECT_EQ(Mat(), (Matrix{1, 0, 0, 1}));
        EXPECT_EQ(F().UpdateRuns(), updates);
        EXPECT_EQ(F().Combo3->currentIndex(), 1);
        EXPECT_FALSE(M().Dragging);
    }
    // Just within 0.2 of the tip still grabs it.
    Drag(LatticePoint(1.19, 0.19), LatticePoint(1, 1));
    EXPECT_EQ(Mat(), (Matrix{1, 1, 0, 1}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(MouseEditTest, BoxEdgesAreOutside) {
    F().Check4->setChecked(true);  // the pattern box takes presses only with the bases shown
    struct Case {
        double x, y;
        bool inside;
    };
    const Case cases[] = {
        // Lattice box 240..3720 x 4680..8160.
        {240, 6420, false},
        {241, 6420, true},
        {3720, 6420, false},
        {3719, 6420, true},
        {1980, 4680, false},
        {1980, 4681, true},
        {1980, 8160, false},
        {1980, 8159, true},
        // Pattern box 4560..8040 x 4680..8160.
        {4560, 6420, false},
        {4561, 6420, true},
        {8040, 6420, false},
        {8039, 6420, true},
        {6300, 4680, false},
        {6300, 4681, true},
        {6300, 8160, false},
        {6300, 8159, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        F().Form_MouseDown(float(c.x), float(c.y));
        // A press inside either box switches retained drawing off until the release.
        EXPECT_EQ(F().Canvas().State().retained, !c.inside);
        F().Form_MouseUp(100, 100);
        EXPECT_TRUE(F().Canvas().State().retained);
    }

    // The tip of b1 exactly on the right edge cannot be grabbed there.
    M().LatMag = 2.0 / 3.0;
    F().UpdateAll(0, 0);
    ASSERT_NEAR(LatticePoint(1, 0).x(), 3720, 1e-9);
    F().Form_MouseDown(3720, 6420);
    EXPECT_FALSE(M().Dragging);
    F().Form_MouseUp(100, 100);
    F().Form_MouseDown(3719.5f, 6420);
    EXPECT_TRUE(M().Dragging);
    F().Form_MouseUp(100, 100);
}

TEST_F(MouseEditTest, PatternPressesNeedTheBasesShown) {
    const QPointF tip = PatternPoint(1, 0), half = PatternPoint(0.5, 0);
    const int updates = F().UpdateRuns();
    Drag(tip, half);
    EXPECT_EQ(M().DragMode, 0);
    EXPECT_EQ(Mat(), (Matrix{1, 0, 0, 1}));
    EXPECT_EQ(F().UpdateRuns(), updates);

    F().Check4->setChecked(true);
    Down(tip);
    EXPECT_EQ(M().DragMode, 1);
    EXPECT_TRUE(M().Dragging);
    EXPECT_FALSE(F().Canvas().State().retained);
    Up(tip);
}

TEST_F(MouseEditTest, PatternDropsRecomputeTheMatrix) {
    F().Check4->setChecked(true);
    struct Case {
        QPointF from, to;
        Matrix expected;
    };
    const Case cases[] = {
        // b1* at half its length doubles b1.
        {PatternPoint(1, 0), PatternPoint(0.5, 0), {2, 0, 0, 1}},
        {PatternPoint(0, 1), PatternPoint(0, 0.5), {1, 0, 0, 2}},
        // b1* = (0.5, 0.5) with b2* = (0, 1): b1 = (2, 0), b2 = (-1, 1).
        {PatternPoint(1, 0), PatternPoint(0.5, 0.5), {2, 0, -1, 1}},
        // Within a tenth of the length of b1* from its tip still grabs it.
        {PatternPoint(1.09, 0), PatternPoint(0.5, 0), {2, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.expected);
        Choose(F().Combo3, 1);  // back to p(1x1)
        F().Command4_Click();   // LatMag 1.2: a pattern edit keeps it
        const int patterns = F().PatternRuns();
        Drag(c.from, c.to);
        EXPECT_EQ(Mat(), c.expected);
        EXPECT_EQ(Fields(), c.expected);
        EXPECT_EQ(F().Combo3->currentIndex(), 0);
        EXPECT_EQ(M().LatMag, 1.2);
        EXPECT_EQ(F().PatternRuns(), patterns + 1);
        EXPECT_TRUE(M().PatternValid);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MouseEditTest, PatternDropsWithoutALatticeAreRefused) {
    F().Check4->setChecked(true);
    struct Case {
        const char* what;
        QPointF from, to;
    };
    const Case cases[] = {
        {"b1* on the centre", PatternPoint(1, 0), PatternPoint(0, 0)},
        {"b2* on the centre", PatternPoint(0, 1), PatternPoint(0, 0)},
        {"b1* parallel to b2*", PatternPoint(1, 0), PatternPoint(0, 0.5)},
        {"b1* released outside the box", PatternPoint(1, 0), QPointF(8100, 6420)},
        {"b2* released on the lattice box", PatternPoint(0, 1), QPointF(1980, 6420)},
    };
    const model::Module1 before = M();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int updates = F().UpdateRuns();
        Drag(c.from, c.to);
        EXPECT_NE(M().DragMode, 0);  // the tip was grabbed
        EXPECT_EQ(Mat(), (Matrix{1, 0, 0, 1}));
        EXPECT_EQ(Fields(), (Matrix{1, 0, 0, 1}));
        EXPECT_EQ(M().RB1X, before.RB1X);
        EXPECT_EQ(M().RB2Y, before.RB2Y);
        EXPECT_EQ(M().B1X, before.B1X);
        EXPECT_EQ(M().B2Y, before.B2Y);
        EXPECT_FALSE(M().ResetSuperGroup);
        EXPECT_EQ(F().Combo3->currentIndex(), 1);
        EXPECT_EQ(F().UpdateRuns(), updates);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MouseEditTest, PatternDropWhoseMatrixLeaves32BitsIsRefused) {
    F().Check4->setChecked(true);
    Down(PatternPoint(1, 0));
    ASSERT_EQ(M().DragMode, 1);
    // As if the pattern were magnified some 1e12 times: one twip beside the
    // centre b1* is then so short that b1 needs about 1e15 lattice steps.
    M().PatScale *= 1e12;
    const int updates = F().UpdateRuns();
    F().Form_MouseUp(float(kPatCentreX + 1), float(kPatCentreY));
    EXPECT_EQ(Mat(), (Matrix{1, 0, 0, 1}));
    EXPECT_EQ(Fields(), (Matrix{1, 0, 0, 1}));
    EXPECT_EQ(M().RB1X, 1.0);
    EXPECT_EQ(F().UpdateRuns(), updates);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MouseEditTest, LegendClickRingsOneSubpattern) {
    Choose(F().Combo3, 3);  // p(2x1) on p4mm: the (2x1) and the (1x2)
    F().Check3->setChecked(true);
    F().Check2->setChecked(true);
    ASSERT_EQ(M().SubpatternCount, 2);
    ASSERT_EQ(Text(F().Label19), "8 domain(s),  2 unique subpattern(s)");
    // (0.5, 0) belongs to the (2x1) only, (0, 0.5) to the (1x2) only.
    const QPointF spot1 = PatternPoint(0.5, 0), spot2 = PatternPoint(0, 0.5);
    ASSERT_EQ(RingPixels(spot1, kSubpattern1), 0);
    ASSERT_EQ(RingPixels(spot2, kSubpattern2), 0);

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
        EXPECT_EQ(RingPixels(spot1, kSubpattern1) > 0, c.box == 1);
        EXPECT_EQ(RingPixels(spot2, kSubpattern2) > 0, c.box == 2);
    }

    // Without "Paint domains" or "Include domains" the legend takes no clicks.
    for (QCheckBox* box : {F().Check2, F().Check3}) {
        SCOPED_TRACE(box->objectName().toStdString());
        F().Check2->setChecked(true);
        F().Check3->setChecked(true);
        box->setChecked(false);
        const int updates = F().UpdateRuns();
        F().Form_MouseDown(8400, 5000);
        F().Form_MouseUp(8400, 5000);
        EXPECT_EQ(F().UpdateRuns(), updates);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MouseEditTest, TrailIsShownUntilTheNextRedraw) {
    const QPointF tip = LatticePoint(1, 0);  // (3140, 6420)
    const QPointF to(3140, 6000), onLine(3140, 6200), onCircle(3140 + 30, 6000);
    ASSERT_NE(Pixel(onLine.x(), onLine.y()), kRed);
    Down(tip);
    ASSERT_TRUE(M().Dragging);
    EXPECT_FALSE(F().Canvas().State().retained);
    Move(to);
    // A red line from the tip and a circle of 1.5 pixels around the pointer,
    // on the screen only: the kept picture has neither.
    EXPECT_EQ(Pixel(onLine.x(), onLine.y()), kRed);
    EXPECT_EQ(Pixel(onCircle.x(), onCircle.y()), kRed);
    EXPECT_TRUE(F().Canvas().HasOverlay());
    EXPECT_NE(KeptPixel(onLine), kRed);
    EXPECT_NE(KeptPixel(onCircle), kRed);
    // The release misses every lattice point: nothing changes, the trail stays.
    Up(to);
    EXPECT_EQ(Mat(), (Matrix{1, 0, 0, 1}));
    EXPECT_EQ(Pixel(onLine.x(), onLine.y()), kRed);
    F().Command1_Click();
    EXPECT_NE(Pixel(onLine.x(), onLine.y()), kRed);
    EXPECT_NE(Pixel(onCircle.x(), onCircle.y()), kRed);
    EXPECT_FALSE(F().Canvas().HasOverlay());

    // In the pattern box the trail is a white line.
    F().Check4->setChecked(true);
    const QPointF from = PatternPoint(1, 0), mid(from.x(), 6000);
    Down(from);
    Move(mid);
    const QPointF halfway = (from + mid) / 2;
    EXPECT_EQ(Pixel(halfway.x(), halfway.y()), kWhite);
    Up(QPointF(8100, 6000));  // outside: nothing changes
    F().Command1_Click();
    EXPECT_NE(Pixel(halfway.x(), halfway.y()), kWhite);
}

TEST_F(MouseEditTest, RealMouseEventsInPixels) {
    ShowActive();
    QTest::mouseClick(F().Command4, Qt::LeftButton);  // mag - twice
    QTest::mouseClick(F().Command4, Qt::LeftButton);
    ASSERT_EQ(M().LatMag, 1.2 * 1.2);
    // 15 twips to the pixel. The tip of b1 at (2785.6, 6420) twips is pixel
    // (186, 428); the lattice point (2, -1) at (3591.1, 7225.6) is (239, 482).
    QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(186, 428));
    EXPECT_TRUE(M().Dragging);
    QTest::mouseMove(form.get(), QPoint(220, 470));
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(239, 482));
    EXPECT_EQ(Mat(), (Matrix{2, -1, 0, 1}));
    EXPECT_EQ(M().LatMag, 1.0);

    // Any button drags. Now LatScale = 3480 / (3·√5) = 518.8: the tip of b2 at
    // (1980, 5901.2) is pixel (132, 393), the point (1, 1) is (167, 393).
    QTest::mousePress(form.get(), Qt::RightButton, {}, QPoint(132, 393));
    QTest::mouseRelease(form.get(), Qt::RightButton, {}, QPoint(167, 393));
    EXPECT_EQ(Mat(), (Matrix{2, -1, 1, 1}));
    EXPECT_EQ(Fields(), (Matrix{2, -1, 1, 1}));

    // A legend click at pixel 564 is x = 8460 twips exactly: the second box.
    Choose(F().Combo3, 3);
    F().Check3->setChecked(true);
    F().Check2->setChecked(true);
    QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(564, 334));
    EXPECT_GT(RingPixels(PatternPoint(0, 0.5), kSubpattern2), 0);
    EXPECT_EQ(RingPixels(PatternPoint(0.5, 0), kSubpattern1), 0);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
