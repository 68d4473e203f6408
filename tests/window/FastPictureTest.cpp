// The fast drawing against the straightforward one, pixel for pixel: the
// canvas's batched circles and lines against the painter's one by one, and
// whole window pictures with the loops that skip what cannot be seen against
// the loops over every index. With QUORVEX_SHOTS naming a folder, each window
// picture compared is saved there to be looked at.
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <random>

#include "WindowFixture.h"
#include "platform/ImageSurface.h"
#include "render/PixelLattice.h"

namespace quorvex::testing {
namespace {

using model::RGB;
using platform::FillStyle;
using platform::ImageSurface;
using platform::LineStyle;
using platform::PenMode;

// "" when equal, else how many pixels differ and where the first one is.
std::string Difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    long count = 0;
    std::string first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0)
                first = " first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return count == 0 ? "" : std::to_string(count) + " pixels differ," + first;
}

// A busy background, so that the merge pen shows what it ORs onto.
void Background(ImageSurface& s) {
    s.FilledRectangle(0, 0, 1500, 3000, RGB(12, 200, 7));
    s.FilledRectangle(1500, 0, 3000, 3000, RGB(0, 0, 0));
    s.FilledRectangle(600, 600, 2400, 1200, RGB(140, 30, 255));
}

TEST(FastPicture, CirclesInOneCallMatchTheCirclesOneByOne) {
    std::mt19937 random(99);
    std::uniform_real_distribution<double> place(-400, 3400);
    for (double radius : {0.0, 7.0, 8.0, 22.5, 45.0, 80.0, 185.0, 3600.0})
        for (int width : {1, 3})
            for (int variant = 0; variant < 16; ++variant) {
                const bool solid = variant & 1, merge = variant & 2, retained = variant & 4,
                           matching = variant & 8;
                ImageSurface batch(3000, 3000, RGB(240, 240, 240));
                ImageSurface single(3000, 3000, RGB(240, 240, 240));
                const model::Rgb colour = RGB(200, 40, 90);
                std::vector<platform::Point> centres;
                for (int i = 0; i < 40; ++i) centres.push_back({place(random), place(random)});
                // Touching and repeated centres, and one on the image's edge.
                for (int i = 0; i < 12; ++i) centres.push_back({900.0 + 15 * i, 1650});
                centres.push_back({900, 1650});
                centres.push_back({0, 1500});
                for (ImageSurface* s : {&batch, &single}) {
                    Background(*s);
                    s->SetRetained(retained);
                    s->SetLineWidth(width);
                    s->SetFillStyle(solid ? FillStyle::Solid : FillStyle::Transparent);
                    s->SetFillColor(matching ? colour : RGB(10, 220, 30));
                    s->SetPenMode(merge ? PenMode::Merge : PenMode::Copy);
                }
                batch.Circles(centres, radius, colour);
                for (const platform::Point& c : centres) single.Circle(c.x, c.y, radius, colour);
                const std::string name = std::to_string(radius) + " w" + std::to_string(width) +
                                         " variant " + std::to_string(variant);
                EXPECT_EQ(Difference(batch.Image(), single.Image()), "") << name;
                EXPECT_EQ(Difference(batch.Overlay(), single.Overlay()), "") << name;
                EXPECT_EQ(batch.State().currentX, single.State().currentX) << name;
            }
}

TEST(FastPicture, LinesInOneCallMatchTheLinesOneByOne) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> place(-400, 3400);
    for (int width : {1, 3})
        for (LineStyle style : {LineStyle::Solid, LineStyle::Dotted})
            for (PenMode pen : {PenMode::Copy, PenMode::Merge}) {
                ImageSurface batch(3000, 3000, RGB(240, 240, 240));
                ImageSurface single(3000, 3000, RGB(240, 240, 240));
                std::vector<platform::Segment> lines;
                for (int i = 0; i < 60; ++i)
                    lines.push_back({place(random), place(random), place(random), place(random)});
                lines.push_back({1000, 1000, 1003, 1004});  // a single pixel
                for (ImageSurface* s : {&batch, &single}) {
                    Background(*s);
                    s->SetLineWidth(width);
                    s->SetLineStyle(style);
                    s->SetPenMode(pen);
                }
                batch.Lines(lines, RGB(0, 90, 255));
                for (const platform::Segment& l : lines)
                    single.Line(l.x1, l.y1, l.x2, l.y2, RGB(0, 90, 255));
                EXPECT_EQ(Difference(batch.Image(), single.Image()), "")
                    << width << " " << int(style) << " " << int(pen);
            }
}

// Whole window pictures: the update drawn with the fast loops, then with the
// straightforward ones.
class FastPictureTest : public WindowTest {
  protected:
    void ExpectSamePicture(const std::string& name, const std::function<void()>& draw) {
        draw();
        const QImage fast = W().canvas().Image().copy();
        render::UseStraightforwardLoops(true);
        draw();
        render::UseStraightforwardLoops(false);
        EXPECT_EQ(Difference(fast, W().canvas().Image()), "") << name;
        const QString folder = QString::fromUtf8(qgetenv("QUORVEX_SHOTS"));
        const QString file = QString::fromStdString(name).replace(QRegularExpression("\\W+"), "-");
        if (!folder.isEmpty()) {
            EXPECT_TRUE(QDir().mkpath(folder) && W().grab().save(folder + "/" + file + ".png"));
        }
    }
    void TypeMatrix(const Matrix& m) {
        for (int i = 0; i < 4; ++i) Type(kMatrixFields[i], QString::number(m[i]));
    }
    // Clicks of "mag -" on each box, without a redraw for each.
    void ZoomOut(int lattice, int pattern) {
        V().latticeZoom *= std::pow(1.2, lattice);
        V().patternZoom *= std::pow(1.2, pattern);
    }
    void PaintDomains() {
        Tick("includeDomainsBox", true);
        Tick("paintDomainsBox", true);
    }
};

TEST_F(FastPictureTest, DefaultZoomAndZoomedOut) {
    Choose("commonNameList", "c(8x2)");
    PaintDomains();
    Tick("includeBasesBox", true);
    ExpectSamePicture("c(8x2) domains and bases", [this] { Update(); });
    // A legend click rings one subpattern over the redrawn picture.
    ExpectSamePicture("legend click", [this] { W().onMouseReleased(8400, 5000); });
    Choose("basicGroupList", "p6mm");
    Choose("commonNameList", "(2r3x2r3)R30");
    PaintDomains();
    ExpectSamePicture("(2r3x2r3)R30 domains", [this] { Update(); });
    ZoomOut(30, 28);  // dots and spots a pixel or less apart
    ExpectSamePicture("(2r3x2r3)R30, 30 and 28 clicks of mag -", [this] { Update(); });
}

TEST_F(FastPictureTest, FineNetTurned) {
    // The substrate net half a twip apart, turned 20 degrees, under a (20x20).
    TypeMatrix({20, 0, 0, 20});
    Click("rotateRightButton");
    Click("rotateRightButton");
    ZoomOut(26, 0);
    ExpectSamePicture("(20x20) turned, 26 clicks", [this] { Update(); });
}

TEST_F(FastPictureTest, NeedleAndSkewedCells) {
    Choose("basicGroupList", "p2gg");
    Type("lengthAField", "30");
    Type("lengthBField", "0.01");
    PaintDomains();
    ExpectSamePicture("p2gg a = 30, b = 0.01", [this] { Update(); });
    // The basic lattice itself, by a basis of long nearly parallel vectors.
    Choose("basicGroupList", "p2 ");
    TypeMatrix({18, 1, 19, 1});
    Click("rotateRightButton");
    ExpectSamePicture("p2 (18 1 / 19 1) turned", [this] { Update(); });
    EXPECT_TRUE(messages.empty());
}

// The canvas itself: dotted lines and coordinates far off.
TEST(ImageSurface, DottedLinesLeaveGaps) {
    ImageSurface s(3000, 3000, RGB(240, 240, 240));
    s.SetLineStyle(LineStyle::Dotted);
    s.Line(0, 150, 3000, 150, RGB(0, 0, 255));
    int on = 0, off = 0;
    for (int x = 15; x < 2985; x += 15) (s.PixelAt(x, 150) == RGB(0, 0, 255) ? on : off)++;
    EXPECT_GT(on, 50);
    EXPECT_GT(off, 50);
}

TEST(ImageSurface, FarOffCoordinatesAreHarmless) {
    ImageSurface s(3000, 3000, RGB(240, 240, 240));
    s.Line(-1e300, 150, 1e300, 150, RGB(255, 0, 0));
    s.Circle(std::nan(""), 1e308, 1e308, RGB(255, 0, 0));
    EXPECT_EQ(s.PixelAt(1500, 150), RGB(255, 0, 0));
}

}  // namespace
}  // namespace quorvex::testing
