#include "model/Vectors.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvex::model {

long long Determinant(const Module1& m) {
    return static_cast<long long>(m.M11) * m.M22 - static_cast<long long>(m.M12) * m.M21;
}

bool MatrixSingular(const Module1& m) { return Determinant(m) == 0; }

void ComputeBasicVectors(Module1& m) {
    if (m.BasicGroup == 5 || m.BasicGroup == 9) {
        m.A1X = m.LatticeA / 2;
        m.A1Y = -m.LatticeB / 2;
        m.A2X = m.LatticeA / 2;
        m.A2Y = m.LatticeB / 2;
    } else {
        const double alpha = m.LatticeAlpha * m.DegToRad;
        m.A1X = m.LatticeA;
        m.A1Y = 0;
        m.A2X = m.LatticeB * std::cos(alpha);
        m.A2Y = m.LatticeB * std::sin(alpha);
    }
}

void ComputeSuperVectors(Module1& m) {
    const double m11 = m.M11, m12 = m.M12, m21 = m.M21, m22 = m.M22;
    m.B1X = m11 * m.A1X + m12 * m.A2X;
    m.B1Y = m11 * m.A1Y + m12 * m.A2Y;
    m.B2X = m21 * m.A1X + m22 * m.A2X;
    m.B2Y = m21 * m.A1Y + m22 * m.A2Y;
}

bool SuperlatticeTooLarge(const Module1& m) {
    const double l0 = std::max(std::hypot(m.A1X, m.A1Y), std::hypot(m.A2X, m.A2Y));
    const double l1 = std::max(std::hypot(m.B1X, m.B1Y), std::hypot(m.B2X, m.B2Y));
    const double ratio = l1 / l0;
    // A ratio that is not a finite number (zero or overflowing lengths) cannot be drawn either.
    return !std::isfinite(ratio) || ratio > 20.0;
}

void RotateVectors(Module1& m) {
    const double c = m.RotCos, s = m.RotSin;
    const double a1x = c * m.A1X + s * m.A1Y, a1y = c * m.A1Y - s * m.A1X;
    const double a2x = c * m.A2X + s * m.A2Y, a2y = c * m.A2Y - s * m.A2X;
    m.A1X = a1x;
    m.A1Y = a1y;
    m.A2X = a2x;
    m.A2Y = a2y;
    ComputeSuperVectors(m);
}

void ComputeLatScale(Module1& m) {
    const double longest = std::max(std::hypot(m.B1X, m.B1Y), std::hypot(m.B2X, m.B2Y));
    m.LatScale = m.LatBoxWidth / (m.LatMag * 3.0 * longest);
}

bool RoundToLong(double x, Long& out) {
    const double r = std::floor(x + 0.5);
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<Long>::min()) ||
        r > static_cast<double>(std::numeric_limits<Long>::max()))
        return false;
    out = static_cast<Long>(r);
    return true;
}

}  // namespace quorvex::model
