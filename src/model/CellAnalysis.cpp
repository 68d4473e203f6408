#include "model/CellAnalysis.h"

#include <algorithm>
#include <cmath>

#include "model/NumberText.h"

namespace quorvex::model {

namespace {

std::string TrimRight(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// The angle in degrees from its cosine, by the arc tangent form of the arc
// cosine. At |cos| = 1 the square root would see a zero or (after rounding) a
// negative residue, so the two ends are given directly.
double PhiDegrees(double cosPhi) {
    const double c = std::clamp(cosPhi, -1.0, 1.0);
    const double residue = 1.0 - c * c;
    if (residue <= 0.0) return c > 0.0 ? 0.0 : 180.0;
    return (std::atan(-c / std::sqrt(residue)) + 2.0 * std::atan(1.0)) / kDegToRad;
}

}  // namespace

Int32 ClassifyCell(double p, double q, double absCos, double tolerance, Int32* centredAxis) {
    if (centredAxis != nullptr) *centredAxis = 0;
    // A cell whose lengths or angle are not numbers has no symmetry to find.
    if (!std::isfinite(p) || !std::isfinite(q) || !std::isfinite(absCos)) return kOblique;
    if (std::abs(p - q) < tolerance) {
        if (absCos < tolerance) return kSquare;
        if (std::abs(absCos - 0.5) < tolerance) return kHexagonal;
        return kCentredRectangular;  // rhombic: centred without a centring axis
    }
    if (absCos < tolerance) return kPrimitiveRectangular;
    if (std::abs(std::sqrt(p / q) * absCos - 0.5) < tolerance) {
        if (centredAxis != nullptr) *centredAxis = 1;
        return kCentredRectangular;
    }
    if (std::abs(std::sqrt(q / p) * absCos - 0.5) < tolerance) {
        if (centredAxis != nullptr) *centredAxis = 2;
        return kCentredRectangular;
    }
    return kOblique;
}

HigherSymmetryHint CheckHigherSymmetry(const Structure& s) {
    const double a2 = s.a * s.a, b2 = s.b * s.b;
    double p = a2, q = b2, cosPhi = 0.0;
    if (IsCentredBasicGroup(s.basicGroup)) {
        p = q = (a2 + b2) / 4;
        cosPhi = (a2 - b2) * 0.25 / p;
    } else {
        cosPhi = std::cos(s.alpha * kDegToRad);
    }
    const Int32 type = ClassifyCell(p, q, std::abs(cosPhi), kTolerance, nullptr);
    HigherSymmetryHint hint;
    if (IsGroup(s.basicGroup) && type > LatticeTypeOf(s.basicGroup)) {
        hint.visible = true;
        hint.caption = "Higher symmetry (" + TrimRight(kLatticeTypeNames[type]) + ") possible";
    }
    return hint;
}

SuperlatticeAnalysis AnalyzeSuperlattice(Vec2 b1, Vec2 b2) {
    const double p = Dot(b1, b1), q = Dot(b2, b2);
    const double dot = b1.x * b2.x + b1.y * b2.y;
    const double norm = std::sqrt(p * q);
    SuperlatticeAnalysis result;
    result.rightHanded = b2.y * b1.x - b2.x * b1.y >= 0;
    double phi = 0.0;
    if (norm > 0.0 && std::isfinite(norm) && std::isfinite(dot)) {
        // Rounding can push the quotient just past +-1.
        const double cosPhi = std::clamp(dot / norm, -1.0, 1.0);
        phi = PhiDegrees(cosPhi);
        result.latticeType = ClassifyCell(p, q, std::abs(cosPhi), kTolerance, &result.centredAxis);
    } else {
        result.latticeType = kOblique;
    }
    result.caption = "a = " + FormatNumber(std::sqrt(p), "###0.0000") +
                     "   b = " + FormatNumber(std::sqrt(q), "###0.0000") +
                     "   phi = " + FormatNumber(phi, "###0.0");
    return result;
}

}  // namespace quorvex::model
