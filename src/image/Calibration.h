// Where the LEED screen lies in a measured image. A beam leaving at polar
// angle theta along the in-plane direction of g lies on the screen at
// u = g / k (|u| = sin theta, y up); the image shows it at
//     p = centre + L u      (image pixels, y down),
// where L is a scale times a rotation times the flip of y, or, with a tilted
// camera, any 2 x 2 matrix. The scale is the image distance of a beam at
// sin theta = 1: fixed for a camera, whatever the energy.
#pragma once

#include <QPointF>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "model/Basics.h"

namespace quorvex::image {

struct Calibration {
    QPointF centre;
    // L, row by row.
    double l11 = 1, l12 = 0, l21 = 0, l22 = -1;

    // Centre, scale (pixels per unit of sin theta) and rotation (degrees,
    // counter-clockwise as the picture shows it), without distortion.
    static Calibration Similar(QPointF centre, double scale, double rotationDegrees);
    // The screen of this acceptance (degrees) filling an image of this size.
    static Calibration Fitting(QSize image, double acceptanceDegrees);

    QPointF ImagePoint(model::Vec2 u) const {
        return {centre.x() + l11 * u.x + l12 * u.y, centre.y() + l21 * u.x + l22 * u.y};
    }
    // The screen point shown at an image point; nothing when L is singular.
    std::optional<model::Vec2> ScreenPoint(QPointF p) const;

    double Determinant() const { return l11 * l22 - l12 * l21; }
    // sqrt |det L|: the mean scale.
    double Scale() const;
    // The rotation of the similarity nearest to L, in degrees.
    double RotationDegrees() const;
    // Whether L is more than a scale and rotation (a tilted camera).
    bool Distorted() const;
    // Every number finite and L far from singular.
    bool Valid() const;

    bool operator==(const Calibration&) const = default;
};

// One marked spot: where the user found it in the image, and which beam it is
// (g in 1/angstrom at the settings of the fit, display frame).
struct Mark {
    QPointF image;
    model::Vec2 g;
};

// What a fit may change besides the centre and the rotation.
enum class FreeScale {
    Scale,            // the calibration's scale; energy and lattice constant as set
    Energy,           // the energy; the calibration's scale kept
    LatticeConstant,  // the lattice constant; the calibration's scale kept
};

struct FitRequest {
    std::vector<Mark> marks;
    bool affine = false;  // a full 2 x 2 L (needs four marks)
    FreeScale free = FreeScale::Scale;
    double energy = 100;          // eV, as set
    double latticeConstant = 1;   // angstrom, as set (the marks' g were computed with it)
    Calibration current;          // its scale is kept when energy or lattice constant is fitted
};

struct FitResult {
    std::optional<Calibration> calibration;  // nothing when the fit is refused
    QString error;                           // why, when refused
    double energy = 0;                       // eV, fitted or as set
    double latticeConstant = 0;              // angstrom, fitted or as set
    std::vector<double> residuals;           // image pixels, one per mark
    double rms = 0;                          // image pixels
};

constexpr int kLeastMarksSimilar = 2, kLeastMarksAffine = 4;

// Least squares over the marks. Refused, with a message, for too few marks,
// marks on one line (affine) or at one spot, a singular mapping, or a fitted
// energy or lattice constant outside the ranges the screen accepts.
FitResult FitCalibration(const FitRequest& request);

// The residual of every mark under a calibration at this wave number, and their rms.
std::vector<double> Residuals(const std::vector<Mark>& marks, const Calibration& calibration,
                              double k);
double Rms(const std::vector<double>& residuals);

}  // namespace quorvex::image
