// The fast drawing against the straightforward one, pixel for pixel: the
// canvas's batched circles and lines against the painter's one by one, and
// whole window pictures with the loops that skip what cannot be seen against
// the loops over every index.
#include <QImage>
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

// Circles and lines drawn in one call and one by one, on two canvases over a
// busy background (so that the merge pen shows what it ORs onto), in every
// drawing state: radii from none to beyond the image, touching, repeated and
// edge centres, random lines and a single pixel.
TEST(FastPicture, CirclesAndLinesInOneCallMatchTheShapesOneByOne) {
    std::mt19937 random(99);
    std::uniform_real_distribution<double> place(-400, 3400);
    const model::Rgb colour = RGB(200, 40, 90);
    for (double radius : {-1.0, 0.0, 7.0, 8.0, 22.5, 45.0, 80.0, 185.0, 3600.0})
        for (int width : {1, 3})
            for (int variant = 0; variant < 32; ++variant) {
                ImageSurface batch(3000, 3000, RGB(240, 240, 240));
                batch.FilledRectangle(0, 0, 1500, 3000, RGB(12, 200, 7));
                batch.FilledRectangle(1500, 0, 3000, 3000, RGB(0, 0, 0));
                batch.FilledRectangle(600, 600, 2400, 1200, RGB(140, 30, 255));
                batch.SetRetained(variant & 4);
                batch.SetLineWidth(width);
                batch.SetLineStyle(variant & 16 ? LineStyle::Dotted : LineStyle::Solid);
                batch.SetFillStyle(variant & 1 ? FillStyle::Solid : FillStyle::Transparent);
                batch.SetFillColor(variant & 8 ? colour : RGB(10, 220, 30));
                batch.SetPenMode(variant & 2 ? PenMode::Merge : PenMode::Copy);
                ImageSurface single = batch;  // the same background and drawing state
                std::vector<platform::Point> centres;
                std::vector<platform::Segment> lines{{1000, 1000, 1003, 1004}};
                for (int i = 0; i < 40; ++i) centres.push_back({place(random), place(random)});
                for (int i = 0; i < 12; ++i) centres.push_back({900.0 + 15 * i, 1650});
                centres.insert(centres.end(), {{900, 1650}, {0, 1500}});
                if (radius < 0) {  // lines instead of circles
                    for (int i = 0; i < 60; ++i)
                        lines.push_back(
                            {place(random), place(random), place(random), place(random)});
                    batch.Lines(lines, RGB(0, 90, 255));
                    for (const platform::Segment& l : lines)
                        single.Line(l.x1, l.y1, l.x2, l.y2, RGB(0, 90, 255));
                } else {
                    batch.Circles(centres, radius, colour);
                    for (const platform::Point& c : centres)
                        single.Circle(c.x, c.y, radius, colour);
                }
                const std::string name = std::to_string(radius) + " w" + std::to_string(width) +
                                         " variant " + std::to_string(variant);
                EXPECT_EQ(Difference(batch.Image(), single.Image()), "") << name;
                EXPECT_EQ(Difference(batch.Overlay(), single.Overlay()), "") << name;
                EXPECT_EQ(batch.State().currentX, single.State().currentX) << name;
            }
}

// Whole window pictures: the update (or another redraw) drawn with the fast
// loops, then with the straightforward ones.
class FastPictureTest : public WindowTest {
  protected:
    void ExpectSamePicture(const std::string& name, std::function<void()> draw = {}) {
        if (!draw) draw = [this] { Update(); };
        draw();
        const QImage fast = W().canvas().Image().copy();
        render::UseStraightforwardLoops(true);
        draw();
        render::UseStraightforwardLoops(false);
        EXPECT_EQ(Difference(fast, W().canvas().Image()), "") << name;
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
    ExpectSamePicture("c(8x2) domains and bases");
    // A legend click rings one subpattern over the redrawn picture.
    ExpectSamePicture("legend click", [this] { W().onMouseReleased(8400, 5000); });
    Choose("basicGroupList", "p6mm");
    Choose("commonNameList", "(2r3x2r3)R30");
    PaintDomains();
    ExpectSamePicture("(2r3x2r3)R30 domains");
    ZoomOut(30, 28);  // dots and spots a pixel or less apart
    ExpectSamePicture("(2r3x2r3)R30, 30 and 28 clicks of mag -");
}

}  // namespace
}  // namespace quorvex::testing
