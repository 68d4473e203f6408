#include "image/Calibration.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "model/LeedScreen.h"

namespace quorvex::image {

namespace {

constexpr double kDegrees = 180 / model::kPi;
// Below this ratio of the smallest to the largest spread, points count as on a line.
constexpr double kFlatness = 1e-6;

// The spread of points about their mean: the eigenvalues of their 2 x 2
// scatter matrix, smaller first.
std::pair<double, double> Spread(const std::vector<Eigen::Vector2d>& points) {
    Eigen::Vector2d mean = Eigen::Vector2d::Zero();
    for (const auto& p : points) mean += p;
    mean /= static_cast<double>(points.size());
    Eigen::Matrix2d scatter = Eigen::Matrix2d::Zero();
    for (const auto& p : points) scatter += (p - mean) * (p - mean).transpose();
    const Eigen::SelfAdjointEigenSolver<Eigen::Matrix2d> solver(scatter, Eigen::EigenvaluesOnly);
    return {solver.eigenvalues()(0), solver.eigenvalues()(1)};
}

FitResult Refused(const QString& why) {
    FitResult r;
    r.error = why;
    return r;
}

}  // namespace

Calibration Calibration::Similar(QPointF centre, double scale, double rotationDegrees) {
    const double c = std::cos(rotationDegrees / kDegrees), s = std::sin(rotationDegrees / kDegrees);
    Calibration cal;
    cal.centre = centre;
    cal.l11 = scale * c;
    cal.l12 = -scale * s;
    cal.l21 = -scale * s;
    cal.l22 = -scale * c;
    return cal;
}

Calibration Calibration::Fitting(QSize image, double acceptanceDegrees) {
    const double rim = std::sin(std::clamp(acceptanceDegrees, 1.0, 180.0) / 2 / kDegrees);
    const double radius = std::max(1, std::min(image.width(), image.height())) * 0.45;
    return Similar(QPointF(image.width() / 2.0, image.height() / 2.0), radius / rim, 0);
}

std::optional<model::Vec2> Calibration::ScreenPoint(QPointF p) const {
    const double det = Determinant();
    if (!Valid()) return std::nullopt;
    const double dx = p.x() - centre.x(), dy = p.y() - centre.y();
    return model::Vec2{(l22 * dx - l12 * dy) / det, (-l21 * dx + l11 * dy) / det};
}

double Calibration::Scale() const { return std::sqrt(std::abs(Determinant())); }

double Calibration::RotationDegrees() const {
    return std::atan2(-(l12 + l21) / 2, (l11 - l22) / 2) * kDegrees;
}

bool Calibration::Distorted() const {
    const double a = (l11 - l22) / 2, b = -(l12 + l21) / 2;
    const double off = std::abs(l11 - a) + std::abs(l22 + a) + std::abs(l12 + b) + std::abs(l21 + b);
    return off > 1e-9 * std::max(1.0, Scale());
}

bool Calibration::Valid() const {
    for (double v : {centre.x(), centre.y(), l11, l12, l21, l22})
        if (!std::isfinite(v)) return false;
    const double norm = std::abs(l11) + std::abs(l12) + std::abs(l21) + std::abs(l22);
    return norm > 0 && std::abs(Determinant()) > 1e-9 * norm * norm;
}

std::vector<double> Residuals(const std::vector<Mark>& marks, const Calibration& calibration,
                              double k) {
    std::vector<double> out;
    out.reserve(marks.size());
    for (const Mark& m : marks) {
        const QPointF at = calibration.ImagePoint({m.g.x / k, m.g.y / k});
        out.push_back(std::hypot(at.x() - m.image.x(), at.y() - m.image.y()));
    }
    return out;
}

double Rms(const std::vector<double>& residuals) {
    if (residuals.empty()) return 0;
    double sum = 0;
    for (double r : residuals) sum += r * r;
    return std::sqrt(sum / static_cast<double>(residuals.size()));
}

FitResult FitCalibration(const FitRequest& request) {
    const std::vector<Mark>& marks = request.marks;
    const int least = request.affine ? kLeastMarksAffine : kLeastMarksSimilar;
    const auto n = static_cast<int>(marks.size());
    if (n < least)
        return Refused(QStringLiteral("A fit %1needs at least %2 marked spots; %3 %4 marked.")
                           .arg(request.affine ? QStringLiteral("with distortion ") : QString())
                           .arg(least)
                           .arg(n)
                           .arg(n == 1 ? QStringLiteral("is") : QStringLiteral("are")));
    std::vector<Eigen::Vector2d> beams, points;
    for (const Mark& m : marks) {
        if (!std::isfinite(m.g.x) || !std::isfinite(m.g.y) || !std::isfinite(m.image.x()) ||
            !std::isfinite(m.image.y()))
            return Refused(QStringLiteral("A marked spot has no finite position."));
        beams.emplace_back(m.g.x, m.g.y);
        points.emplace_back(m.image.x(), m.image.y());
    }
    double gMax = 0, pMax = 0;
    for (int i = 0; i < n; ++i) {
        gMax = std::max(gMax, beams[static_cast<std::size_t>(i)].norm());
        pMax = std::max(pMax, points[static_cast<std::size_t>(i)].norm());
    }
    const auto [gLow, gHigh] = Spread(beams);
    const auto [pLow, pHigh] = Spread(points);
    if (!(gHigh > kFlatness * kFlatness * std::max(1.0, gMax * gMax)))
        return Refused(QStringLiteral("The marks all name the same spot; mark different spots."));
    if (!(pHigh > kFlatness * kFlatness * std::max(1.0, pMax * pMax)))
        return Refused(QStringLiteral("The marks all lie at one point of the image; the mapping "
                                      "would be singular."));
    if (request.affine && (!(gLow > kFlatness * gHigh) || !(pLow > kFlatness * pHigh)))
        return Refused(QStringLiteral("The marks lie on one line; a fit with distortion needs "
                                      "marks off that line."));

    // p = c + M g, unknowns (cx, cy, then M's parameters).
    const int unknowns = request.affine ? 6 : 4;
    Eigen::MatrixXd a = Eigen::MatrixXd::Zero(2 * n, unknowns);
    Eigen::VectorXd b(2 * n);
    for (int i = 0; i < n; ++i) {
        const Eigen::Vector2d& g = beams[static_cast<std::size_t>(i)];
        const Eigen::Vector2d& p = points[static_cast<std::size_t>(i)];
        a(2 * i, 0) = 1;
        a(2 * i + 1, 1) = 1;
        if (request.affine) {
            // M = [m0 m1; m2 m3]
            a(2 * i, 2) = g.x();
            a(2 * i, 3) = g.y();
            a(2 * i + 1, 4) = g.x();
            a(2 * i + 1, 5) = g.y();
        } else {
            // M = [alpha -beta; -beta -alpha]: a scaled rotation and the flip of y.
            a(2 * i, 2) = g.x();
            a(2 * i, 3) = -g.y();
            a(2 * i + 1, 2) = -g.y();
            a(2 * i + 1, 3) = -g.x();
        }
        b(2 * i) = p.x();
        b(2 * i + 1) = p.y();
    }
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(a);
    if (qr.rank() < unknowns)
        return Refused(QStringLiteral("The marks make the mapping singular; mark spots in "
                                      "different directions from the centre."));
    const Eigen::VectorXd x = qr.solve(b);
    double m11, m12, m21, m22;
    if (request.affine) {
        m11 = x(2), m12 = x(3), m21 = x(4), m22 = x(5);
    } else {
        m11 = x(2), m12 = -x(3), m21 = -x(3), m22 = -x(2);
    }
    const double detM = m11 * m22 - m12 * m21;
    const double normM = std::abs(m11) + std::abs(m12) + std::abs(m21) + std::abs(m22);
    if (!std::isfinite(detM) || !(std::abs(detM) > 1e-9 * normM * normM))
        return Refused(QStringLiteral("The marks make the mapping singular; mark spots in "
                                      "different directions from the centre."));
    const double sizeM = std::sqrt(std::abs(detM));  // image pixels per 1/angstrom

    FitResult result;
    result.energy = request.energy;
    result.latticeConstant = request.latticeConstant;
    double k = model::WaveNumber(request.energy);
    double toL = k;  // L = M * toL
    switch (request.free) {
        case FreeScale::Scale:
            break;
        case FreeScale::Energy: {
            k = request.current.Scale() / sizeM;
            result.energy = std::pow(k / model::kWaveNumberPerSqrtEv, 2);
            if (!model::kEnergyRange.Contains(result.energy))
                return Refused(QStringLiteral("The fitted energy, %1 eV, is outside %2 to %3 eV; "
                                              "check the marks and the screen's scale.")
                                   .arg(result.energy, 0, 'g', 4)
                                   .arg(model::kEnergyRange.low)
                                   .arg(model::kEnergyRange.high));
            toL = k;
            break;
        }
        case FreeScale::LatticeConstant: {
            // g scales as 1/a: M = L a_set / (k a_fit).
            result.latticeConstant = request.current.Scale() * request.latticeConstant / (k * sizeM);
            if (!model::kLatticeConstantRange.Contains(result.latticeConstant))
                return Refused(QStringLiteral("The fitted lattice constant, %1 \u00C5, is outside "
                                              "%2 to %3 \u00C5; check the marks.")
                                   .arg(result.latticeConstant, 0, 'g', 4)
                                   .arg(model::kLatticeConstantRange.low)
                                   .arg(model::kLatticeConstantRange.high));
            toL = k * result.latticeConstant / request.latticeConstant;
            break;
        }
    }
    Calibration fitted;
    fitted.centre = QPointF(x(0), x(1));
    fitted.l11 = m11 * toL;
    fitted.l12 = m12 * toL;
    fitted.l21 = m21 * toL;
    fitted.l22 = m22 * toL;
    if (!fitted.Valid())
        return Refused(QStringLiteral("The marks make the mapping singular; mark spots in "
                                      "different directions from the centre."));
    // Residuals with the beams as the fitted energy and lattice constant place them.
    const double gScale = request.latticeConstant / result.latticeConstant;
    for (int i = 0; i < n; ++i) {
        const Mark& m = marks[static_cast<std::size_t>(i)];
        const QPointF at = fitted.ImagePoint({m.g.x * gScale / k, m.g.y * gScale / k});
        result.residuals.push_back(std::hypot(at.x() - m.image.x(), at.y() - m.image.y()));
    }
    result.rms = Rms(result.residuals);
    result.calibration = fitted;
    return result;
}

}  // namespace quorvex::image
