// Where a beam energy puts the spots on a LEED screen. An electron of energy
// E has the wave number k = 0.512317 sqrt(E / eV) per angstrom; a beam g
// leaves the surface at the polar angle theta with sin theta = |g| / k and
// reaches the screen when theta is within half the optics' acceptance. Seen
// along the surface normal, a hemispherical screen of radius R shows it at
// R sin theta.
#pragma once

#include <optional>
#include <string>

#include "model/Structure.h"

namespace quorvex::model {

constexpr double kWaveNumberPerSqrtEv = 0.512317;  // 1/angstrom
constexpr double kPi = 3.14159265358979323846;

struct ScreenSettings {
    double latticeConstant = 2.55;    // angstrom: the basic cell's length a
    double energy = 100;              // eV
    double acceptanceDegrees = 110;   // full angle of the optics
    bool gunShown = true;             // the electron gun hides the (0 0) beam
    bool photoLook = false;           // green gaussian spots instead of discs
    bool indexLabels = false;
    bool extinctRings = false;        // glide-extinct spots as faint rings

    bool operator==(const ScreenSettings&) const = default;
};

// The ranges each setting accepts.
struct Range {
    double low, high;
    bool Contains(double v) const { return v >= low && v <= high; }
};
constexpr Range kLatticeConstantRange{0.1, 1000};  // angstrom
constexpr Range kEnergyRange{10, 1000};            // eV
constexpr Range kAcceptanceRange{20, 180};         // degrees

// A typed value for one of the settings: the value, or the message that
// names the field and its range.
struct SettingCheck {
    std::optional<double> value;
    std::string message;
};
SettingCheck CheckSetting(const std::string& fieldName, const std::string& unit, double value,
                          Range range);

// k in 1/angstrom.
double WaveNumber(double energyEv);

// Reciprocal vectors in the document are in 1/(length unit) without the
// factor 2 pi; these turn them into 1/angstrom once the basic cell's a is
// known in angstrom.
struct ScreenScale {
    double perUnit = 0;  // 1/angstrom per reciprocal length unit of the document
    double k = 0;        // 1/angstrom
    double sinAcceptance = 1;  // sin of half the acceptance angle

    // The largest |g| (document units) that reaches the screen.
    double GMaxDocument() const { return k * sinAcceptance / perUnit; }
    // The exit angle in degrees of a beam of |g| (document units).
    double ThetaDegrees(double gDocument) const;
    // Its distance from the centre as a fraction of the shown disc's radius
    // (the disc of the acceptance angle): 1 at the rim.
    double RadiusFraction(double gDocument) const { return gDocument * perUnit / (k * sinAcceptance); }
};
ScreenScale MakeScreenScale(const Structure& structure, const ScreenSettings& settings);

// The energy (eV) at which a beam of |g| (1/angstrom) first reaches the
// screen of the given acceptance.
double ThresholdEnergy(double gPerAngstrom, double acceptanceDegrees);

}  // namespace quorvex::model
