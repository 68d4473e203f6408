// The LEED screen window beside the main window: where its spots lie, which
// spots it lists, what the read-out says, and how it takes typed settings
// and kept structures.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "WindowFixture.h"
#include "model/DomainColours.h"

namespace quorvex::testing {
namespace {

using model::Vec2;
constexpr double kTwoPi = 2 * 3.14159265358979323846;

// sin(theta) of a beam |g| (1/angstrom) at E (eV), from k = sqrt(2 m E) / hbar.
double SinExit(double g, double eV) {
    return g / (std::sqrt(2 * 9.1093837015e-31 * 1.602176634e-19 * eV) / 1.054571817e-34 * 1e-10);
}

// The dual basis of a1, a2: a_i . r_j = delta_ij.
std::pair<Vec2, Vec2> Dual(Vec2 a1, Vec2 a2) {
    const double d = model::Cross(a1, a2);
    return {{a2.y / d, -a2.x / d}, {-a1.y / d, a1.x / d}};
}

class ScreenWindowTest : public MainWindowTest {
  protected:
    void ShowScreen() {
        main->showScreen();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Scr()));
    }
    // Where the spot (h k) of the current structure lies in the view.
    QPointF ViewPoint(double h, double k) {
        const window::ScreenLayer layer = Scr().layers().front();
        const auto [r1, r2] = Dual(layer.vectors.a1, layer.vectors.a2);
        const Vec2 g{h * r1.x + k * r2.x, h * r1.y + k * r2.y};
        const model::ScreenScale scale = model::MakeScreenScale(layer.structure, Scr().settings());
        return Scr().view->geometry().ToImage(g, scale) / Scr().view->devicePixelRatioF();
    }
    QString ReadoutOf(double h, double k) {
        return Scr().readoutAt(ViewPoint(h, k)).value_or("none");
    }
    void SetEnergy(double eV) {
        model::ScreenSettings settings = Scr().settings();
        settings.energy = eV;
        Scr().setSettings(settings);
    }
};

// The green-weighted centre of the light within `reach` pixels of `near`.
QPointF Centroid(const QImage& image, QPointF near, int reach) {
    double sum = 0, x = 0, y = 0;
    for (int py = int(near.y()) - reach; py <= int(near.y()) + reach; ++py)
        for (int px = int(near.x()) - reach; px <= int(near.x()) + reach; ++px) {
            const double w = std::max(0, qGreen(image.pixel(px, py)) - 60);
            sum += w, x += w * (px + 0.5), y += w * (py + 0.5);
        }
    return sum > 0 ? QPointF(x / sum, y / sum) : QPointF(-1, -1);
}

window::ScreenLayer LayerOf(model::SuperlatticeMatrix matrix, bool include1x1,
                            window::ScreenLayer::Marker marker) {
    window::ScreenLayer layer;
    layer.structure.matrix = matrix;
    layer.structure.options.include1x1 = include1x1;
    layer.vectors = model::Rotated(model::ComputeCellVectors(layer.structure), {}, matrix);
    layer.pattern = model::ComputePattern(layer.vectors, layer.structure, {}, {});
    layer.marker = marker;
    return layer;
}

// A kept structure is drawn with its own marker and colours, whatever the
// structure before it in the list drew: here a filled square at each (1/2 0)
// spot of a p(2x2) after a p(1x1) whose first lattice is the substrate's ring.
TEST(ScreenPicture, EachLayerKeepsItsOwnMarkerAndColour) {
    using Marker = window::ScreenLayer::Marker;
    const std::vector<window::ScreenLayer> layers = {LayerOf({1, 0, 0, 1}, true, Marker::Disc),
                                                     LayerOf({2, 0, 0, 2}, false, Marker::Square)};
    model::ScreenSettings settings;
    settings.gunShown = false, settings.energy = 200;
    const model::Rgb colour = model::SubpatternColour(1, false);
    const QRgb rgb = qRgb(model::RedOf(colour), model::GreenOf(colour), model::BlueOf(colour));
    for (int size : {300, 1200}) {  // drawn on one thread and on two
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        const window::ScreenGeometry geometry = window::ScreenGeometry::Fitting(image.size());
        window::PaintScreen(image, layers, settings, geometry);
        const model::ScreenScale scale = model::MakeScreenScale(layers[1].structure, settings);
        for (Vec2 g : {Vec2{0.5, 0}, Vec2{0, -0.5}, Vec2{-1.5, 0.5}}) {
            const QPoint at = geometry.ToImage(g, scale).toPoint();
            // The colour, whatever the alpha.
            EXPECT_EQ(image.pixel(at) | 0xff000000u, rgb) << size << " at " << g.x << " " << g.y;
        }
    }
}

// Seen along the normal, a beam at theta lies at R sin(theta) / sin(theta_max)
// of the screen's radius: 1/sqrt(E) from the centre, whatever the image size.
TEST(ScreenPicture, SpotDistanceFollowsTheExitAngle) {
    // p4mm p(1x1), its spots as discs of the superlattice.
    const window::ScreenLayer layer = LayerOf({}, false, window::ScreenLayer::Marker::Disc);
    model::ScreenSettings settings;
    settings.photoLook = true, settings.gunShown = false;  // a gaussian spot, nothing in front
    const double g10 = kTwoPi / settings.latticeConstant;
    for (QSize size : {QSize(401, 401), QSize(900, 640)}) {
        const window::ScreenGeometry geometry = window::ScreenGeometry::Fitting(size);
        for (double eV : {60.0, 240.0}) {
            settings.energy = eV;
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            ASSERT_GT(window::PaintScreen(image, {layer}, settings, geometry), 4);
            const double fraction = SinExit(g10, eV) / std::sin(55 * kTwoPi / 360);
            const QPointF expected = geometry.centre + QPointF(geometry.radius * fraction, 0);
            const QPointF seen = Centroid(image, expected, 8);
            EXPECT_NEAR(seen.x(), expected.x(), 0.35) << eV << " eV, " << size.width();
            EXPECT_NEAR(seen.y(), expected.y(), 0.35) << eV << " eV, " << size.width();
        }
        // The (1 1) beam of a 180 degree screen at 500 eV, on both sizes alike.
        settings.energy = 500, settings.acceptanceDegrees = 180;
        const model::ScreenScale scale = model::MakeScreenScale(layer.structure, settings);
        const QPointF at = geometry.ToImage({1, 1}, scale) - geometry.centre;
        EXPECT_NEAR(std::hypot(at.x(), at.y()) / geometry.radius,
                    SinExit(g10 * std::sqrt(2.0), 500), 1e-5);
        EXPECT_NEAR(at.x(), -at.y(), 1e-9);  // up the screen, as the pattern box draws it
        settings.acceptanceDegrees = 110;
    }
}

// (H, K) over |det|, the lattice (0: substrate, i: subpattern i) and whether a glide loses it.
using Entry = std::tuple<long long, long long, int, bool>;
struct Expected {
    std::set<Entry> entries;
    int drawable = 0, borderline = 0;  // borderline: within rounding of the rim
};

// Every point n1 p + n2 q of each lattice of the layer within gMax, by brute
// force over an index box that holds the disc.
Expected LatticePoints(const window::ScreenLayer& layer, double gMax, long long det) {
    Expected out;
    auto enumerate = [&](Vec2 p, Vec2 q, model::Glides glides, int lattice) {
        const double area = std::abs(model::Cross(p, q));
        const double longer = std::max(std::hypot(p.x, p.y), std::hypot(q.x, q.y));
        const long long n = std::llround(gMax * longer / area) + 2;
        for (long long n1 = -n; n1 <= n; ++n1)
            for (long long n2 = -n; n2 <= n; ++n2) {
                const Vec2 g{n1 * p.x + n2 * q.x, n1 * p.y + n2 * q.y};
                const double length = std::hypot(g.x, g.y);
                if (length > gMax * (1 + 1e-9)) continue;
                if (length > gMax * (1 - 1e-9)) {
                    ++out.borderline;
                    continue;
                }
                const double h = model::Dot(g, layer.vectors.a1) * det;
                const double k = model::Dot(g, layer.vectors.a2) * det;
                // Multiples of 1/|det|, up to the rounding of the cell's angle.
                EXPECT_NEAR(h, std::round(h), 1e-3);
                EXPECT_NEAR(k, std::round(k), 1e-3);
                const bool extinct = (glides.alongFirst && n2 == 0 && n1 % 2 != 0) ||
                                     (glides.alongSecond && n1 == 0 && n2 % 2 != 0);
                out.drawable += !extinct;
                out.entries.insert({std::llround(h), std::llround(k), lattice, extinct});
            }
    };
    const auto [ra1, ra2] = Dual(layer.vectors.a1, layer.vectors.a2);
    enumerate(ra1, ra2, layer.pattern.substrateGlides, 0);
    for (std::size_t i = 0; i < layer.pattern.subpatterns.size(); ++i)
        enumerate(layer.pattern.subpatterns[i].p, layer.pattern.subpatterns[i].q,
                  layer.pattern.superGlides, int(i) + 1);
    return out;
}

std::set<Entry> Listed(const window::ScreenLayer& layer, double gMax, long long det) {
    model::SpotListOptions options;
    options.gMax = gMax, options.indexDenominator = det;
    std::set<Entry> listed;
    for (const model::ListedSpot& s : model::ListSpots(layer.pattern, layer.vectors, options)) {
        EXPECT_LE(s.length, gMax * (1 + 1e-9));
        if (s.length > gMax * (1 - 1e-9)) continue;
        const long long h = s.h.numerator * (det / s.h.denominator);
        const long long k = s.k.numerator * (det / s.k.denominator);
        if (s.substrate) listed.insert({h, k, 0, false});
        if (s.substrateExtinct) listed.insert({h, k, 0, true});
        for (int i = 0; i < 32; ++i) {
            if (s.domains >> i & 1) listed.insert({h, k, i + 1, false});
            if (s.extinctDomains >> i & 1) listed.insert({h, k, i + 1, true});
        }
    }
    return listed;
}

// For every common name on p4mm and p6mm with domains, the screen lists and
// draws exactly the lattice points within reach.
TEST_F(ScreenWindowTest, ListedSpotsAreTheLatticePointsWithinReach) {
    model::ScreenSettings wide;
    wide.energy = 1000, wide.acceptanceDegrees = 180;
    Scr().setSettings(wide);
    QImage image(300, 300, QImage::Format_ARGB32_Premultiplied);
    for (const char* basic : {"p4mm (p4m)", "p6mm (p6m)"}) {
        Choose(F().basicGroupList, basic);
        F().includeDomainsBox->setChecked(true);
        F().paintDomainsBox->setChecked(true);
        for (int row = 0; row < model::kCommonNameCount; ++row) {
            Choose(F().commonNameList, row);
            // The first glide group the superlattice admits, so extinctions count too.
            for (model::Int32 g : {model::kP4gm, model::kP2gg, model::kP2mg, model::kP2mgTurned})
                if (F().document().derived.allowedGroups.Allows(g)) {
                    Choose(F().superGroupList, g - 1);
                    break;
                }
            const window::ScreenLayer layer = Scr().layers().front();
            SCOPED_TRACE(std::string(basic) + " " + layer.name.toStdString());
            const double gMax = model::MakeScreenScale(layer.structure, wide).GMaxDocument();
            const long long det = std::llabs(layer.structure.matrix.Determinant());
            const Expected expected = LatticePoints(layer, gMax, det);
            const std::set<Entry> listed = Listed(layer, gMax, det);
            EXPECT_TRUE(listed == expected.entries)
                << listed.size() << " listed, " << expected.entries.size() << " lattice points";
            const int drawn = window::PaintScreen(image, {layer}, wide,
                                                  window::ScreenGeometry::Fitting(image.size()));
            EXPECT_GE(drawn, expected.drawable);
            EXPECT_LE(drawn, expected.drawable + expected.borderline);
            EXPECT_EQ(Scr().domainCountLabel->text(), F().domainCountLabel->text());
        }
    }
}

TEST_F(ScreenWindowTest, ReadoutNamesIndicesDomainsAndExtinctions) {
    ShowScreen();
    Choose(F().commonNameList, "c(2x2)");
    // (1/2 1/2) of a 2.55 A square cell: |g| = 2 pi / a / sqrt 2; at 100 eV theta = 19.9 deg.
    const double g = kTwoPi / 2.55 / std::sqrt(2.0);
    const QString half = ReadoutOf(0.5, 0.5);
    EXPECT_TRUE(half.startsWith("(1/2 1/2)")) << half.toStdString();
    EXPECT_TRUE(half.contains(QString::number(g, 'f', 4))) << half.toStdString();
    const double theta = std::asin(SinExit(g, 100)) * 360 / kTwoPi;
    EXPECT_TRUE(half.contains(QString::number(theta, 'f', 1))) << half.toStdString();
    EXPECT_FALSE(Scr().readoutAt(ViewPoint(0.25, 0.25)).has_value());  // between spots

    // {basic group, common name, h, k, indices shown, domains}: (r3xr3)R30 alone,
    // then p(2x1) with its two domains, doubling the cell along a1 and along a2.
    const std::tuple<const char*, const char*, double, double, const char*, const char*> spots[] = {
        {"p6mm (p6m)", "(r3xr3)R30", -1 / 3.0, -1 / 3.0, "(-1/3 -1/3)", "1"},
        {"p4mm (p4m)", "p(2x1)", 0.5, 0, "(1/2 0)", "1"},
        {"p4mm (p4m)", "p(2x1)", 0, 0.5, "(0 1/2)", "2"},
        {"p4mm (p4m)", "p(2x1)", 1, 0, "(1 0)", "1 2"}};
    // The domains of a read-out spot: the numbers after "domain" or "domains".
    const QRegularExpression numbers(QStringLiteral("domains?((?: \\d+)+)"));
    for (const auto& [basic, name, h, k, text, domains] : spots) {
        Choose(F().basicGroupList, basic);
        Choose(F().commonNameList, name);
        F().includeDomainsBox->setChecked(QString(name) == "p(2x1)");
        const QString readout = ReadoutOf(h, k);
        EXPECT_TRUE(readout.startsWith(text)) << readout.toStdString();
        EXPECT_EQ(numbers.match(readout).captured(1).trimmed(), domains) << text;
    }

    // p2mg (2x1) keeping the substrate's glide along a2: (0 k) with odd k is gone.
    Choose(F().basicGroupList, "p2mg (pmg)");
    F().lengthAField->setText("1.5");
    F().onFieldCommitted(F().lengthAField);
    Choose(F().commonNameList, "p(2x1)");
    Choose(F().superGroupList, model::kP2mg - 1);
    ASSERT_EQ(F().document().structure.superGroup, model::kP2mg);
    SetEnergy(1000);  // (0 3) on the screen
    for (auto [h, k] : {std::pair{0.0, 1.0}, {0.0, -3.0}})
        EXPECT_TRUE(ReadoutOf(h, k).contains("glide-extinct")) << ReadoutOf(h, k).toStdString();
    for (auto [h, k] : {std::pair{0.0, 2.0}, {0.5, 0.0}, {1.0, 0.0}})
        EXPECT_FALSE(ReadoutOf(h, k).contains("extinct")) << ReadoutOf(h, k).toStdString();
}

TEST_F(ScreenWindowTest, RefusedSettingsKeepThePreviousValueAndPicture) {
    ShowScreen();
    window::ScreenWindow& s = Scr();
    // {field, words of its message, range ends, value before, typed outside the range}
    using Field =
        std::tuple<QLineEdit*, const char*, QString, QString, QString, std::vector<QString>>;
    // clang-format off
    const Field fields[] = {
        {s.latticeConstantField, "lattice constant", "0.1", "1000", "3.2",
         {"0", "0.0999", "1000.01"}},
        {s.energyField, "energy", "10", "1000", "123.5", {"9.99", "1000.5"}},
        {s.acceptanceField, "acceptance", "20", "180", "100", {"19", "181", "19.99"}}};
    // clang-format on
    for (const auto& [field, words, low, high, previous, outside] : fields) {
        Type(field, previous);
        ASSERT_TRUE(messages.empty()) << messages.front().toStdString();
        const model::ScreenSettings settings = s.settings();
        s.view->repaint();
        const QImage picture = s.view->picture().copy();
        ASSERT_GT(s.view->spotsDrawn(), 4);
        std::vector<QString> typed = {"", "abc", "0", "-5", "nan", "inf", "1e400"};
        typed.insert(typed.end(), outside.begin(), outside.end());
        for (const QString& text : typed) {
            messages.clear();
            Type(field, text);
            ASSERT_EQ(messages.size(), 1u) << words << " '" << text.toStdString() << "'";
            EXPECT_TRUE(messages[0].contains(words, Qt::CaseInsensitive) &&
                        messages[0].contains(low) && messages[0].contains(high))
                << messages[0].toStdString();
            EXPECT_EQ(field->text().toDouble(), previous.toDouble()) << text.toStdString();
            EXPECT_EQ(s.settings(), settings) << text.toStdString();
        }
        s.view->repaint();
        EXPECT_TRUE(s.view->picture() == picture) << words;
        // The range's own ends are taken, and redraw the picture.
        messages.clear();
        for (const QString& end : {high, low}) {
            Type(field, end);
            EXPECT_EQ(field->text(), end);
        }
        EXPECT_TRUE(messages.empty());
        s.view->repaint();
        EXPECT_FALSE(s.view->picture() == picture) << words;
        Type(field, previous);
    }
}

// The screen keeps at most four structures besides the current one: the
// structure file holds no more.
TEST_F(ScreenWindowTest, KeepsAtMostFourStructures) {
    window::ScreenWindow& s = Scr();
    for (const char* name : {"p(2x1)", "p(2x2)", "c(2x2)", "p(3x1)"}) {
        Choose(F().commonNameList, name);
        s.keepButton->click();
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(s.keepButton->isEnabled());
    s.keepCurrent();  // a fifth: refused; the layers count the current one too
    EXPECT_EQ(std::tuple(messages.size(), s.keptList->count(), s.layers().size()),
              std::tuple(1u, 4, 5u));
}

}  // namespace
}  // namespace quorvex::testing
