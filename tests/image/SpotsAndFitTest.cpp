// Spots found in synthetic photographs and the screen's mapping fitted to
// them: the photographs place their spots by the electron's physics with a
// known centre, scale, rotation and tilt; the fit must find those again from
// a few rough clicks.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "image/Calibration.h"
#include "image/Peaks.h"
#include "synthetic/SyntheticLeed.h"

namespace quorvex::testing {
namespace {

constexpr double kPi = 3.14159265358979323846;
using synthetic::Beam;

// Clicks a user makes: up to 3 pixels off the spot, in all directions.
const QPointF kClickOffsets[] = {{2.1, -1.9},  {-3, 0},    {0.4, 2.9},
                                 {-1.5, -2.5}, {2.9, 0.6}, {-2, 2}};

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
    const QString path =
        dir.filePath(QStringLiteral("photo.") + QString::fromLatin1(format).toLower());
    EXPECT_TRUE(synthetic::Render(photo, bits, false).save(path, format));
    image::LoadedImage loaded = image::LoadMeasuredImage(path);
    EXPECT_TRUE(loaded.image) << loaded.error.toStdString();
    return loaded.image ? *loaded.image : image::MeasuredImage{};
}

// A fit of rough clicks on these beams, at the photograph's own energy and cell.
// Each click snaps to within 0.2 pixels of the gaussian's true centre unless
// the gun's shadow hides the spot.
image::FitRequest Request(const image::MeasuredImage& m, const synthetic::LeedPhoto& photo,
                          const std::vector<Beam>& beams) {
    image::FitRequest request;
    for (std::size_t i = 0; i < beams.size(); ++i) {
        const QPointF truth = synthetic::SpotCentre(photo, beams[i]);
        const std::optional<QPointF> snapped =
            image::SnapToSpot(m, truth + kClickOffsets[i % 6], image::SnapRadius(m));
        EXPECT_TRUE(snapped);
        const QPointF at = snapped.value_or(truth + kClickOffsets[i % 6]);
        const double off = std::hypot(at.x() - truth.x(), at.y() - truth.y());
        EXPECT_TRUE(off < 0.2 || synthetic::InGunShadow(photo, truth)) << off;
        request.marks.push_back({at, BeamG(photo, beams[i])});
    }
    request.energy = photo.energy;
    request.latticeConstant = photo.latticeConstant;
    return request;
}

TEST(FitRecovers, CentreScaleAndRotationFromRoughClicks) {
    struct FitCase {
        int bits;
        const char* format;
        double rotation;
        std::vector<Beam> marked;
    };
    const FitCase cases[] = {
        {16, "PNG", -21, {{1, 1}, {-1, 0}, {0.5, -1}}},
        {8, "TIFF", 0, {{1, 0}, {0, 1}, {-1, 0}, {0, -1}}},
        {16, "TIFF", 44.2, {{1, 0}, {0, 1}, {-1, 0.5}, {0.5, -1}, {1, 1}, {-1.5, 0}}}};
    for (const FitCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.bits << "-bit " << c.format << " at " << c.rotation);
        const synthetic::LeedPhoto photo = P2x2Photo(c.rotation);
        const image::MeasuredImage m = Saved(photo, c.bits, c.format);
        EXPECT_FALSE(image::SnapToSpot(m, {-50, -50}, 5));  // outside the image: nothing to snap to
        image::FitRequest request = Request(m, photo, c.marked);
        request.current = image::Calibration::Fitting(m.Size(), 110);
        const image::FitResult fit = image::FitCalibration(request);
        ASSERT_TRUE(fit.calibration) << fit.error.toStdString();
        const image::Calibration& cal = *fit.calibration;
        EXPECT_NEAR(cal.centre.x(), photo.centre.x(), 0.3);
        EXPECT_NEAR(cal.centre.y(), photo.centre.y(), 0.3);
        EXPECT_NEAR(cal.RotationDegrees(), c.rotation, 0.1);
        EXPECT_NEAR(cal.Scale() / photo.scale, 1, 0.002);
        EXPECT_FALSE(cal.Distorted());
        ASSERT_EQ(fit.residuals.size(), c.marked.size());
        EXPECT_LT(fit.rms, 0.3);
        // Every other spot of the photograph lies where the calibration puts it.
        const double k = std::sqrt(2 * 9.1093837015e-31 * 1.602176634e-19 * photo.energy) /
                         1.054571817e-34 * 1e-10;
        for (const Beam& b : photo.beams) {
            const model::Vec2 g = BeamG(photo, b);
            const QPointF at = cal.ImagePoint({g.x / k, g.y / k});
            const QPointF truth = synthetic::SpotCentre(photo, b);
            EXPECT_NEAR(at.x(), truth.x(), 0.6) << b.h << " " << b.k;
            EXPECT_NEAR(at.y(), truth.y(), 0.6) << b.h << " " << b.k;
        }
    }
}

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
    const double f = photo.latticeConstant / 2.4;
    for (image::Mark& mark : request.marks) mark.g = {mark.g.x * f, mark.g.y * f};
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
        const char* says;
        std::vector<image::Mark> marks;
        bool affine = false;
        image::FreeScale free = image::FreeScale::Scale;
    };
    const Bad cases[] = {
        {"at least 2", {}},
        {"at least 4", {{{10, 10}, g10}, {{20, 20}, g01}, {{30, 10}, g11}}, true},
        {"same spot", {{{10, 10}, g10}, {{12, 12}, g10}}},
        {"one point", {{{10, 10}, g10}, {{10, 10}, g01}}},
        {"one line",
         {{{10, 0}, {-2.46, 0}}, {{20, 0}, g10}, {{30, 0}, g20}, {{0, 0}, {-4.92, 0}}},
         true},
        {"energy", {{{100, 100}, g10}, {{100.001, 100}, g01}}, false, image::FreeScale::Energy},
    };
    const image::Calibration current = image::Calibration::Similar({0, 0}, 300, 0);
    for (const Bad& bad : cases) {
        const image::FitRequest request{bad.marks, bad.affine, bad.free, 100, 2.55, current};
        const image::FitResult fit = image::FitCalibration(request);
        EXPECT_FALSE(fit.calibration) << bad.says;
        EXPECT_TRUE(fit.error.contains(QString::fromLatin1(bad.says))) << fit.error.toStdString();
    }
}

// Turned counter-clockwise as seen: the beam along +x climbs the image. (The
// window's marks map clicks back through the inverse.)
TEST(Calibration, TurnsCounterClockwiseAsSeen) {
    const QPointF up = image::Calibration::Similar({0, 0}, 100, 30).ImagePoint({1, 0});
    EXPECT_NEAR(up.x(), 86.6025, 1e-3);
    EXPECT_NEAR(up.y(), -50, 1e-9);
    EXPECT_FALSE(image::Calibration::Similar({0, 0}, 0, 0).Valid());
}

}  // namespace
}  // namespace quorvex::testing
