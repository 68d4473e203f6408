#include "model/LeedScreen.h"

#include <cmath>
#include <cstdio>

namespace quorvex::model {

namespace {

std::string Plain(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

}  // namespace

SettingCheck CheckSetting(const std::string& fieldName, const std::string& unit, double value,
                          Range range) {
    if (std::isfinite(value) && range.Contains(value)) return {value, {}};
    return {std::nullopt, fieldName + " must be a number from " + Plain(range.low) + " to " +
                              Plain(range.high) + " " + unit + "."};
}

double WaveNumber(double energyEv) { return kWaveNumberPerSqrtEv * std::sqrt(energyEv); }

double ScreenScale::ThetaDegrees(double gDocument) const {
    const double s = gDocument * perUnit / k;
    if (!(s <= 1)) return 90;
    return std::asin(s) * 180 / kPi;
}

ScreenScale MakeScreenScale(const Structure& structure, const ScreenSettings& settings) {
    ScreenScale scale;
    // Angstrom per length unit of the document: a is what the user typed.
    const double angstromPerUnit = settings.latticeConstant / structure.a;
    scale.perUnit = 2 * kPi / angstromPerUnit;
    scale.k = WaveNumber(settings.energy);
    scale.sinAcceptance = std::sin(settings.acceptanceDegrees / 2 * kPi / 180);
    return scale;
}

double ThresholdEnergy(double gPerAngstrom, double acceptanceDegrees) {
    const double s = std::sin(acceptanceDegrees / 2 * kPi / 180);
    const double root = gPerAngstrom / (kWaveNumberPerSqrtEv * s);
    return root * root;
}

}  // namespace quorvex::model
