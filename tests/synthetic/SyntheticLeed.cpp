#include "synthetic/SyntheticLeed.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace quorvex::synthetic {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kElectronMass = 9.1093837015e-31;  // kg
constexpr double kElectronVolt = 1.602176634e-19;   // J
constexpr double kHbar = 1.054571817e-34;           // J s

double WaveNumberPerAngstrom(double eV) {
    return std::sqrt(2 * kElectronMass * kElectronVolt * eV) / kHbar * 1e-10;
}

}  // namespace

double SinExit(const LeedPhoto& photo, Beam beam) {
    const double g = 2 * kPi / photo.latticeConstant * std::hypot(beam.h, beam.k);
    return g / WaveNumberPerAngstrom(photo.energy);
}

QPointF SpotCentre(const LeedPhoto& photo, Beam beam) {
    const double k = WaveNumberPerAngstrom(photo.energy);
    const double ux = 2 * kPi / photo.latticeConstant * beam.h / k;
    const double uy = 2 * kPi / photo.latticeConstant * beam.k / k;
    const double t = photo.rotationDegrees * kPi / 180;
    // Turned counter-clockwise as seen (y up), then y pointing down the image.
    const double dx = photo.scale * (std::cos(t) * ux - std::sin(t) * uy);
    const double dy = -photo.scale * (std::sin(t) * ux + std::cos(t) * uy);
    return photo.centre +
           QPointF((1 + photo.stretch) * dx + photo.shear * dy, (1 - photo.stretch) * dy);
}

bool InGunShadow(const LeedPhoto& photo, QPointF at) {
    const double r = 0.06 * photo.scale;
    const QPointF d = at - photo.centre;
    if (std::hypot(d.x(), d.y()) <= r) return true;
    return d.y() >= 0 && std::abs(d.x()) <= 0.35 * r;  // the arm, down to the edge
}

std::vector<Beam> SquareBeams(const QString& superstructure, const LeedPhoto& photo) {
    const int n = superstructure == QStringLiteral("p(1x1)") ? 1 : 2;
    const double rim = std::sin(photo.acceptanceDegrees / 2 * kPi / 180);
    std::vector<Beam> beams;
    for (int i = -40; i <= 40; ++i)
        for (int j = -40; j <= 40; ++j) {
            const bool integer = i % n == 0 && j % n == 0;
            if (superstructure == QStringLiteral("c(2x2)") && !integer && (i + j) % 2 != 0)
                continue;
            const Beam beam{static_cast<double>(i) / n, static_cast<double>(j) / n};
            if (SinExit(photo, beam) <= rim) beams.push_back(beam);
        }
    return beams;
}

QImage Render(const LeedPhoto& photo, int bits, bool colour) {
    const int w = photo.width, h = photo.height;
    std::vector<double> light(static_cast<std::size_t>(w * h), 0.0);
    const auto at = [w](int x, int y) { return static_cast<std::size_t>(y * w + x); };
    const double rimPixels = photo.scale * std::sin(photo.acceptanceDegrees / 2 * kPi / 180);
    // The phosphor's faint glow over the screen.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double r =
                std::hypot(x + 0.5 - photo.centre.x(), y + 0.5 - photo.centre.y()) / rimPixels;
            light[at(x, y)] = r < 1 ? 0.06 + 0.06 * (1 - r * r) : 0.03;
        }
    const int reach = static_cast<int>(std::ceil(5 * photo.sigma));
    for (const Beam& beam : photo.beams) {
        const QPointF c = SpotCentre(photo, beam);
        // Fractional-order spots a little weaker, as in most photographs.
        const bool integer = beam.h == std::round(beam.h) && beam.k == std::round(beam.k);
        const double peak = integer ? 0.8 : 0.6;
        const int cx = static_cast<int>(c.x()), cy = static_cast<int>(c.y());
        for (int y = std::max(0, cy - reach); y <= std::min(h - 1, cy + reach); ++y)
            for (int x = std::max(0, cx - reach); x <= std::min(w - 1, cx + reach); ++x) {
                const QPointF d = (QPointF(x + 0.5, y + 0.5) - c) / photo.sigma;
                light[at(x, y)] += peak * std::exp(-0.5 * QPointF::dotProduct(d, d));
            }
    }
    std::mt19937 random(photo.seed);
    std::normal_distribution<double> noise(0, photo.noise);
    const int top = bits == 16 ? 65535 : 255;
    QImage image(w, h,
                 colour ? (bits == 16 ? QImage::Format_RGBX64 : QImage::Format_RGB32)
                        : (bits == 16 ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double v = light[at(x, y)];
            if (photo.gunShadow && InGunShadow(photo, QPointF(x + 0.5, y + 0.5))) v *= 0.03;
            v += noise(random);
            const int level = static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * top));
            if (!colour && bits == 16) {
                reinterpret_cast<quint16*>(image.scanLine(y))[x] = static_cast<quint16>(level);
            } else if (!colour) {
                image.scanLine(y)[x] = static_cast<uchar>(level);
            } else if (bits == 16) {
                // A green phosphor: green carries the light, red and blue a quarter of it.
                const auto g = static_cast<quint16>(level), rb = static_cast<quint16>(level / 4);
                reinterpret_cast<QRgba64*>(image.scanLine(y))[x] =
                    QRgba64::fromRgba64(rb, g, rb, 65535);
            } else {
                reinterpret_cast<QRgb*>(image.scanLine(y))[x] = qRgb(level / 4, level, level / 4);
            }
        }
    return image;
}

}  // namespace quorvex::synthetic
