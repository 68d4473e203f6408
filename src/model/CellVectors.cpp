#include "model/CellVectors.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/FormLayout.h"

namespace quorvex::model {

void ApplyMatrix(const SuperlatticeMatrix& m, CellVectors& v) {
    const double m11 = m.m11, m12 = m.m12, m21 = m.m21, m22 = m.m22;
    v.b1 = {m11 * v.a1.x + m12 * v.a2.x, m11 * v.a1.y + m12 * v.a2.y};
    v.b2 = {m21 * v.a1.x + m22 * v.a2.x, m21 * v.a1.y + m22 * v.a2.y};
}

CellVectors ComputeCellVectors(const Structure& s) {
    CellVectors v;
    if (IsCentredBasicGroup(s.basicGroup)) {
        v.a1 = {s.a / 2, -s.b / 2};
        v.a2 = {s.a / 2, s.b / 2};
    } else {
        const double alpha = s.alpha * kDegToRad;
        v.a1 = {s.a, 0};
        v.a2 = {s.b * std::cos(alpha), s.b * std::sin(alpha)};
    }
    ApplyMatrix(s.matrix, v);
    return v;
}

bool SuperlatticeTooLarge(const CellVectors& v) {
    const double l0 = std::max(std::hypot(v.a1.x, v.a1.y), std::hypot(v.a2.x, v.a2.y));
    const double l1 = std::max(std::hypot(v.b1.x, v.b1.y), std::hypot(v.b2.x, v.b2.y));
    const double ratio = l1 / l0;
    // Zero or overflowing lengths cannot be drawn either.
    return !std::isfinite(ratio) || ratio > 20.0;
}

CellVectors Rotated(const CellVectors& v, const ViewSettings& view,
                    const SuperlatticeMatrix& matrix) {
    const double c = view.rotationCos, s = view.rotationSin;
    CellVectors r;
    r.a1 = {c * v.a1.x + s * v.a1.y, c * v.a1.y - s * v.a1.x};
    r.a2 = {c * v.a2.x + s * v.a2.y, c * v.a2.y - s * v.a2.x};
    ApplyMatrix(matrix, r);
    return r;
}

double LatticeScale(const CellVectors& rotated, double latticeZoom) {
    const double longest =
        std::max(std::hypot(rotated.b1.x, rotated.b1.y), std::hypot(rotated.b2.x, rotated.b2.y));
    return kLatticeBox.width / (latticeZoom * 3.0 * longest);
}

bool RoundToInt32(double x, Int32& out) {
    const double r = std::floor(x + 0.5);
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<Int32>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int32>::max()))
        return false;
    out = static_cast<Int32>(r);
    return true;
}

}  // namespace quorvex::model
