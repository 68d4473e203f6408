// Synthetic LEED photographs for tests and for trying the measured-image
// tools by hand: the spots of a superstructure on a square substrate as
// gaussians, placed by the electron's own physics (not by the program's
// screen code), with a phosphor glow, noise and the electron gun's shadow.
#pragma once

#include <QImage>
#include <QPointF>
#include <QString>
#include <vector>

namespace quorvex::synthetic {

struct Beam {
    double h = 0, k = 0;  // in the substrate's reciprocal basis
};

struct LeedPhoto {
    int width = 640, height = 600;
    QPointF centre{331.3, 287.6};  // where the (0 0) beam would land, image pixels
    double scale = 300;            // pixels from the centre to a beam at sin(theta) = 1
    double rotationDegrees = 0;    // counter-clockwise as seen
    // A tilted camera: the image offsets are multiplied by [1 + stretch, shear; 0, 1 - stretch].
    double stretch = 0, shear = 0;
    double energy = 100;           // eV
    double latticeConstant = 2.55; // angstrom, square substrate cell
    double acceptanceDegrees = 110;
    std::vector<Beam> beams;
    double sigma = 2.2;            // spot width, pixels
    double noise = 0.01;           // standard deviation, fraction of full scale
    bool gunShadow = true;
    unsigned seed = 7;
};

// The beams of a square substrate with the named superstructure ("p(1x1)",
// "p(2x2)", "c(2x2)") that leave the surface inside the acceptance.
std::vector<Beam> SquareBeams(const QString& superstructure, const LeedPhoto& photo);

// sin(theta) of a beam, from k = sqrt(2 m E) / hbar.
double SinExit(const LeedPhoto& photo, Beam beam);
// Where a beam's spot centre lies in the image.
QPointF SpotCentre(const LeedPhoto& photo, Beam beam);
// Whether the gun hides a point.
bool InGunShadow(const LeedPhoto& photo, QPointF at);

// The photograph: bits 8 or 16, grey or colour (a green phosphor).
QImage Render(const LeedPhoto& photo, int bits, bool colour);

}  // namespace quorvex::synthetic
