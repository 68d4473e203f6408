// The picture of a LEED screen: the spots a beam energy puts inside the
// optics' acceptance, drawn from the same pattern values as the pattern box.
// Raster drawing straight into an image for the window (antialiased stamps,
// fast enough to follow the energy slider), and the same picture through a
// QPainter for vector output.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <vector>

#include "model/LeedScreen.h"
#include "model/Pattern.h"

namespace quorvex::window {

// One structure on the screen: the current one, or one kept there.
struct ScreenLayer {
    model::Structure structure;
    model::CellVectors vectors;  // turned by the display rotation
    model::Pattern pattern;
    enum class Marker { Disc, Square, Triangle, Diamond, Cross };
    Marker marker = Marker::Disc;
    bool visible = true;
    QString name;  // Wood's name or matrix
};

// Where the screen lies in an image: the disc of the acceptance angle.
struct ScreenGeometry {
    QPointF centre;
    double radius = 1;  // device pixels

    // The disc filling an image of this size, with a small margin.
    static ScreenGeometry Fitting(QSize size);
    // A reciprocal vector (document units) to image coordinates, and back.
    QPointF ToImage(model::Vec2 g, const model::ScreenScale& scale) const;
    model::Vec2 ToReciprocal(QPointF p, const model::ScreenScale& scale) const;
};

// The radius of a spot in device pixels for a screen of this radius, and
// for these layers (smaller where their spots crowd).
double SpotRadiusOn(const ScreenGeometry& geometry);
double SpotRadiusOn(const ScreenGeometry& geometry, const std::vector<ScreenLayer>& layers,
                    const model::ScreenSettings& settings);

// Draws the whole screen into `image` (ARGB32 premultiplied, its size the
// device pixels of the view). Returns how many spots were drawn.
int PaintScreen(QImage& image, const std::vector<ScreenLayer>& layers,
                const model::ScreenSettings& settings, const ScreenGeometry& geometry);

// The same picture through a painter (SVG, PDF): spots as circles, labels as
// text; as the window shows it, or as a plot for a white background.
enum class ScreenColours { AsShown, OnWhite };
void PaintScreen(QPainter& painter, const std::vector<ScreenLayer>& layers,
                 const model::ScreenSettings& settings, const ScreenGeometry& geometry,
                 ScreenColours colours = ScreenColours::AsShown);

}  // namespace quorvex::window
