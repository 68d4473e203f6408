// The fast drawing against the straightforward one, pixel for pixel: the
// canvas's batched circles and lines against the painter's one by one, and
// whole window pictures with the loops that skip what cannot be seen against
// the loops over every index.
#include <QImage>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "FormFixture.h"
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
class FastPictureTest : public FormTest {
  protected:
    void ExpectSamePicture(const std::string& name, const std::function<void()>& draw) {
        draw();
        const QImage fast = F().Canvas().Image().copy();
        render::UseStraightforwardLoops(true);
        draw();
        render::UseStraightforwardLoops(false);
        EXPECT_EQ(Difference(fast, F().Canvas().Image()), "") << name;
    }

    void Update() { F().UpdateAll(1, 0); }

    void ChooseRow(QComboBox* list, const QString& text, void (window::PatternForm::*click)()) {
        const int row = list->findText(text, Qt::MatchContains);
        ASSERT_GE(row, 0) << text.toStdString();
        list->setCurrentIndex(row);
        (F().*click)();
    }

    void Matrix(int m11, int m12, int m21, int m22) {
        Type(F().Text6, QString::number(m11));
        Type(F().Text8, QString::number(m12));
        Type(F().Text7, QString::number(m21));
        Type(F().Text9, QString::number(m22));
    }

    void ZoomOut(int lattice, int pattern) {
        M().LatMag *= std::pow(1.2, lattice);
        M().PatMag *= std::pow(1.2, pattern);
    }

    void PaintDomains() {
        F().Check3->setChecked(true);
        F().Check2->setChecked(true);
    }
};

TEST_F(FastPictureTest, DefaultZoomAndZoomedOut) {
    ChooseRow(F().Combo3, "c(8x2)", &window::PatternForm::Combo3_Click);
    PaintDomains();
    F().Check4->setChecked(true);
    ExpectSamePicture("c(8x2) domains and bases", [this] { Update(); });
    // A legend click rings one subpattern over the redrawn picture.
    ExpectSamePicture("legend click", [this] { F().Form_MouseUp(8400, 5000); });

    ChooseRow(F().Combo1, "p6mm", &window::PatternForm::Combo1_Click);
    ChooseRow(F().Combo3, "(2r3x2r3)R30", &window::PatternForm::Combo3_Click);
    PaintDomains();
    ExpectSamePicture("(2r3x2r3)R30 domains", [this] { Update(); });
    // Dots and spots a pixel or less apart.
    ZoomOut(30, 28);
    ExpectSamePicture("(2r3x2r3)R30, 30 and 28 clicks of mag -", [this] { Update(); });
}

TEST_F(FastPictureTest, FineNetTurned) {
    // The substrate net half a twip apart, turned 20 degrees, under a (20x20).
    Matrix(20, 0, 0, 20);
    F().Command8_Click();
    F().Command8_Click();
    ZoomOut(26, 0);
    ExpectSamePicture("(20x20) turned, 26 clicks", [this] { Update(); });
}

TEST_F(FastPictureTest, NeedleAndSkewedCells) {
    ChooseRow(F().Combo1, "p2gg", &window::PatternForm::Combo1_Click);
    Type(F().Text1, "30");
    Type(F().Text2, "0.01");
    PaintDomains();
    ExpectSamePicture("p2gg a = 30, b = 0.01", [this] { Update(); });
    // The basic lattice itself, by a basis of long nearly parallel vectors.
    ChooseRow(F().Combo1, "p2 ", &window::PatternForm::Combo1_Click);
    Matrix(18, 1, 19, 1);
    F().Command8_Click();
    ExpectSamePicture("p2 (18 1 / 19 1) turned", [this] { Update(); });
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace quorvex::testing
