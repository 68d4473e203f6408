// Spots found in synthetic photographs and the screen's mapping fitted to
// them: the photographs place their spots by the electron's physics with a
// known centre, scale, rotation and tilt; the fit must find those again from
// a few rough clicks.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "image/Calibration.h"
#include "image/Peaks.h"
#include "model/LeedScreen.h"
#include "synthetic/SyntheticLeed.h"

namespace quorvex::testing {
namespace {

constexpr double kPi = 3.14159265358979323846;
using synthetic::Beam;

// Clicks a user makes: up to 3 pixels off the spot, in all directions.
const QPointF kClickOffsets[] = {{2.1, -1.9}, {-3, 0}, {0.4, 2.9}, {-1.5, -2.5}, {2.9, 0.6}, {-2, 2}};

// g in 1/angstrom of a beam of the square substrate (a1 along x, a2 up).
model::Vec2 BeamG(const synthetic::LeedPhoto& photo, Beam b) {
    return {2 * kPi / photo.latticeConstant * b.h, 2 * kPi / photo.latticeConstant * b.k};
}

// A p(2x2) photograph of the default camera, turned by this many degrees.
synthetic::LeedPhoto P2x2Photo(double rotationDegrees, double energy = 100) {
    synthetic::LeedPhoto photo;
    photo.rotationDegrees = rotationDegrees;
    photo.energy = energy;
    photo.beams = synthetic::SquareBeams(QStringLiteral("p(2x2)"), photo);
    return photo;
}

image::MeasuredImage Saved(const synthetic::LeedPhoto& photo, int bits, const char* format) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.") + QString::fromLatin1(format).toLower());
    EXPECT_TRUE(synthetic::Render(photo, bits, false).save(path, format));
    image::LoadedImage loaded = image::LoadMeasuredImage(path);
    EXPECT_TRUE(loaded.image) << loaded.error.toStdString();
    return loaded.image ? *loaded.image : image::MeasuredImage{};
}

std::vector<image::Mark> Marked(const image::MeasuredImage& m, const synthetic::LeedPhoto& photo,
                                const std::vector<Beam>& beams) {
    std::vector<image::Mark> marks;
    for (std::size_t i = 0; i < beams.size(); ++i) {
        const QPointF click = synthetic::SpotCentre(photo, beams[i]) + kClickOffsets[i % 6];
        const std::optional<QPointF> snapped = image::SnapToSpot(m, click, image::SnapRadius(m));
        EXPECT_TRUE(snapped);
        marks.push_back({snapped.value_or(click), BeamG(photo, beams[i])});
    }
    return marks;
}

// A fit of rough clicks on these beams, at the photograph's own energy and cell.
image::FitRequest Request(const image::MeasuredImage& m, const synthetic::LeedPhoto& photo,
                          const std::vector<Beam>& beams) {
    image::FitRequest request;
    request.marks = Marked(m, photo, beams);
    request.energy = photo.energy;
    request.latticeConstant = photo.latticeConstant;
    return request;
}

TEST(Snapping, LandsOnTheGaussianCentre) {
    const synthetic::LeedPhoto photo = P2x2Photo(13.7);
    const image::MeasuredImage m = Saved(photo, 16, "PNG");
    double worst = 0;
    int tried = 0;
    for (const Beam& b : photo.beams) {
        const QPointF truth = synthetic::SpotCentre(photo, b);
        if (synthetic::InGunShadow(photo, truth) || b.h * b.h + b.k * b.k > 4) continue;
        for (QPointF offset : kClickOffsets) {
            const std::optional<QPointF> at = image::SnapToSpot(m, truth + offset, image::SnapRadius(m));
            ASSERT_TRUE(at);
            worst = std::max(worst, std::hypot(at->x() - truth.x(), at->y() - truth.y()));
            ++tried;
        }
    }
    EXPECT_GT(tried, 60);
    EXPECT_LT(worst, 0.2);
    // Outside the image, nothing to snap to.
    EXPECT_FALSE(image::SnapToSpot(m, {-50, -50}, 5));
}

struct FitCase {
    const char* name;
    int bits;
    const char* format;
    double rotation;
    std::vector<Beam> marked;
};

class FitRecovers : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitRecovers, CentreScaleAndRotationFromRoughClicks) {
    const FitCase c = GetParam();
    const synthetic::LeedPhoto photo = P2x2Photo(c.rotation);
    const image::MeasuredImage m = Saved(photo, c.bits, c.format);
    image::FitRequest request = Request(m, photo, c.marked);
    request.current = image::Calibration::Fitting(m.Size(), 110);
    const image::FitResult fit = image::FitCalibration(request);
    ASSERT_TRUE(fit.calibration) << fit.error.toStdString();
    const image::Calibration& cal = *fit.calibration;
    EXPECT_NEAR(cal.centre.x(), photo.centre.x(), 0.3) << c.name;
    EXPECT_NEAR(cal.centre.y(), photo.centre.y(), 0.3) << c.name;
    EXPECT_NEAR(cal.RotationDegrees(), c.rotation, 0.1) << c.name;
    EXPECT_NEAR(cal.Scale() / photo.scale, 1, 0.002) << c.name;
    EXPECT_FALSE(cal.Distorted());
    ASSERT_EQ(fit.residuals.size(), c.marked.size());
    EXPECT_LT(fit.rms, 0.3);
    // Every other spot of the photograph lies where the calibration puts it.
    const double k = std::sqrt(2 * 9.1093837015e-31 * 1.602176634e-19 * photo.energy) / 1.054571817e-34 * 1e-10;
    for (const Beam& b : photo.beams) {
        const model::Vec2 g = BeamG(photo, b);
        const QPointF at = cal.ImagePoint({g.x / k, g.y / k});
        const QPointF truth = synthetic::SpotCentre(photo, b);
        EXPECT_NEAR(at.x(), truth.x(), 0.6) << b.h << " " << b.k;
        EXPECT_NEAR(at.y(), truth.y(), 0.6) << b.h << " " << b.k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Photos, FitRecovers,
    ::testing::Values(FitCase{"png8_three", 8, "PNG", 7.3, {{1, 0}, {0, 1}, {-1, -1}}},
                      FitCase{"png16_three", 16, "PNG", -21, {{1, 1}, {-1, 0}, {0.5, -1}}},
                      FitCase{"tif8_four", 8, "TIFF", 0, {{1, 0}, {0, 1}, {-1, 0}, {0, -1}}},
                      FitCase{"tif16_six", 16, "TIFF", 44.2,
                              {{1, 0}, {0, 1}, {-1, 0.5}, {0.5, -1}, {1, 1}, {-1.5, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Energy or lattice constant in the place of the scale: the camera's scale
// is known from an earlier calibration, the beam moved with the energy.
TEST(FitRecovers, EnergyOrLatticeConstantWithTheScaleKept) {
    const synthetic::LeedPhoto photo = P2x2Photo(3, 137);
    const image::MeasuredImage m = Saved(photo, 16, "TIFF");
    image::FitRequest request = Request(m, photo, {{1, 0}, {0, 1}, {-1, -1}, {0.5, 0.5}});
    request.current = image::Calibration::Similar({300, 300}, photo.scale, 0);
    request.free = image::FreeScale::Energy;
    request.energy = 100;  // as set: wrong
    image::FitResult fit = image::FitCalibration(request);
    ASSERT_TRUE(fit.calibration) << fit.error.toStdString();
    EXPECT_NEAR(fit.energy / photo.energy, 1, 0.01);
    EXPECT_NEAR(fit.calibration->Scale(), photo.scale, 1e-9);  // kept
    EXPECT_NEAR(fit.calibration->centre.x(), photo.centre.x(), 0.3);
    EXPECT_LT(fit.rms, 0.3);

    // The same photograph read as the right energy but an unknown cell: the
    // marks' beams computed with a = 2.4 angstrom fit a = 2.55 at 137 eV.
    request.free = image::FreeScale::LatticeConstant;
    request.energy = 137;
    request.latticeConstant = 2.4;
    for (image::Mark& mark : request.marks) {
        mark.g.x *= photo.latticeConstant / 2.4;
        mark.g.y *= photo.latticeConstant / 2.4;
    }
    fit = image::FitCalibration(request);
    ASSERT_TRUE(fit.calibration) << fit.error.toStdString();
    EXPECT_NEAR(fit.latticeConstant / photo.latticeConstant, 1, 0.005);
    EXPECT_EQ(fit.energy, 137);
    EXPECT_LT(fit.rms, 0.3);
}

// A tilted camera: the affine fit takes the tilt in, the similar one cannot.
TEST(FitRecovers, TiltWithTheAffineFit) {
    synthetic::LeedPhoto photo = P2x2Photo(11);
    photo.stretch = 0.05;
    photo.shear = 0.04;
    const image::MeasuredImage m = Saved(photo, 16, "PNG");
    image::FitRequest request = Request(m, photo, {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 1}});
    request.affine = true;
    const image::FitResult affine = image::FitCalibration(request);
    ASSERT_TRUE(affine.calibration) << affine.error.toStdString();
    EXPECT_TRUE(affine.calibration->Distorted());
    EXPECT_NEAR(affine.calibration->centre.x(), photo.centre.x(), 0.3);
    EXPECT_NEAR(affine.calibration->centre.y(), photo.centre.y(), 0.3);
    EXPECT_LT(affine.rms, 0.3);
    request.affine = false;
    const image::FitResult similar = image::FitCalibration(request);
    ASSERT_TRUE(similar.calibration);
    EXPECT_GT(similar.rms, 5 * affine.rms + 1);
}

// Fits that cannot be made: a message, no calibration.
TEST(FitRefuses, TooFewMarksOneSpotOneLineOrOnePoint) {
    const model::Vec2 g10{2.46, 0}, g01{0, 2.46}, g11{2.46, 2.46}, g20{4.92, 0};
    struct Bad {
        std::vector<image::Mark> marks;
        bool affine;
        image::FreeScale free;
        const char* says;
    };
    const Bad cases[] = {
        {{}, false, image::FreeScale::Scale, "at least 2"},
        {{{{10, 10}, g10}}, false, image::FreeScale::Scale, "1 is marked"},
        {{{{10, 10}, g10}, {{20, 20}, g01}, {{30, 10}, g11}}, true, image::FreeScale::Scale, "at least 4"},
        {{{{10, 10}, g10}, {{12, 12}, g10}}, false, image::FreeScale::Scale, "same spot"},
        {{{{10, 10}, g10}, {{10, 10}, g01}}, false, image::FreeScale::Scale, "one point"},
        {{{{10, 0}, {-2.46, 0}}, {{20, 0}, g10}, {{30, 0}, g20}, {{0, 0}, {-4.92, 0}}},
         true, image::FreeScale::Scale, "one line"},
        {{{{100, 100}, g10}, {{100.001, 100}, g01}}, false, image::FreeScale::Energy, "energy"},
    };
    for (const Bad& bad : cases) {
        image::FitRequest request;
        request.marks = bad.marks;
        request.affine = bad.affine;
        request.free = bad.free;
        request.energy = 100;
        request.latticeConstant = 2.55;
        request.current = image::Calibration::Similar({0, 0}, 300, 0);
        const image::FitResult fit = image::FitCalibration(request);
        EXPECT_FALSE(fit.calibration) << bad.says;
        EXPECT_TRUE(fit.error.contains(QString::fromLatin1(bad.says))) << fit.error.toStdString();
    }
}

// A calibration maps screen points to image points and back.
TEST(Calibration, ScreenPointUndoesImagePoint) {
    image::Calibration cal = image::Calibration::Similar({120, 80}, 250, 30);
    cal.l12 += 9;  // a little tilt
    for (model::Vec2 u : {model::Vec2{0, 0}, model::Vec2{0.3, -0.7}, model::Vec2{-0.8, 0.1}}) {
        const std::optional<model::Vec2> back = cal.ScreenPoint(cal.ImagePoint(u));
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->x, u.x, 1e-12);
        EXPECT_NEAR(back->y, u.y, 1e-12);
    }
    // Turned counter-clockwise as seen: the beam along +x climbs the image.
    const QPointF up = image::Calibration::Similar({0, 0}, 100, 30).ImagePoint({1, 0});
    EXPECT_NEAR(up.x(), 86.6025, 1e-3);
    EXPECT_NEAR(up.y(), -50, 1e-9);
    EXPECT_FALSE(image::Calibration::Similar({0, 0}, 0, 0).Valid());
}

// On a p(2x2) photograph every visible spot is a strong maximum; the p(2x2)
// spots explain them all, the c(2x2) spots leave the (1/2 0) family unexplained.
TEST(Score, TellsP2x2FromC2x2) {
    const synthetic::LeedPhoto photo = P2x2Photo(5);
    const image::MeasuredImage m = Saved(photo, 16, "PNG");
    const image::Histogram histogram(m.grey);
    const double radius = image::SnapRadius(m);
    const std::vector<QPointF> maxima = image::StrongMaxima(m, histogram, radius);
    auto positions = [&](const char* name) {
        std::vector<QPointF> at;
        for (const Beam& b : synthetic::SquareBeams(QString::fromLatin1(name), photo))
            if (b.h != 0 || b.k != 0) at.push_back(synthetic::SpotCentre(photo, b));
        return at;
    };
    // Every spot outside the gun's shadow and inside the image is found.
    int visible = 0;
    for (const Beam& b : photo.beams) {
        const QPointF at = synthetic::SpotCentre(photo, b);
        if (!synthetic::InGunShadow(photo, at) && QRectF(4, 4, m.width - 8, m.height - 8).contains(at)) ++visible;
    }
    EXPECT_GE(static_cast<int>(maxima.size()), visible);
    const image::SpotScore p2x2 = image::ScoreSpots(maxima, positions("p(2x2)"), m.Size(), radius);
    EXPECT_TRUE(p2x2.unexplained.empty()) << p2x2.unexplained.size();
    EXPECT_GE(p2x2.matched, visible);
    const image::SpotScore c2x2 = image::ScoreSpots(maxima, positions("c(2x2)"), m.Size(), radius);
    // Left over: the (1/2 0) family, which c(2x2) lacks.
    EXPECT_GE(c2x2.unexplained.size(), 4u);
}

}  // namespace
}  // namespace quorvex::testing
