// The simulated pattern over a measured image: where each spot of a screen
// layer lands in the image under a calibration, and the drawing of those
// spots (hollow, so the measured spot shows through), the screen's rim, the
// calibration's handles and the user's marks.
#pragma once

#include <QPainter>
#include <QString>
#include <QTransform>
#include <optional>
#include <vector>

#include "image/Calibration.h"
#include "model/LeedScreen.h"
#include "model/Spots.h"
#include "window/ScreenPicture.h"

namespace quorvex::window {

struct SpotOnImage {
    model::ListedSpot spot;
    QPointF at;  // image pixels
};

// The shown spots of a layer that leave the surface within the acceptance,
// with their image positions; the (0 0) beam too. At most `limit` spots.
std::vector<SpotOnImage> SpotsOnImage(const ScreenLayer& layer, const model::ScreenSettings& settings,
                                      const image::Calibration& calibration,
                                      std::size_t limit = 20000);

// The beam (1/angstrom, display frame) of the substrate indices (h k) of a layer.
model::Vec2 BeamOf(const ScreenLayer& layer, const model::ScreenSettings& settings, double h,
                   double k);

struct OverlayMark {
    QPointF at;          // image pixels
    QString label;       // "(1 0)"
    std::optional<QPointF> fitted;  // where the calibration puts its spot
};

struct ImageOverlay {
    image::Calibration calibration;
    std::vector<OverlayMark> marks;
    std::optional<QPointF> pending;  // a marked point still waiting for its indices
    std::vector<QPointF> unexplained;  // strong maxima no simulated spot lies near
};

// Image point of the ring handle: on the rim, along the screen's +x.
QPointF RingHandle(const image::Calibration& calibration, const model::ScreenSettings& settings);

// Draws through `imageToDevice` (image pixels to the view's device pixels).
void PaintImageOverlay(QPainter& painter, const QTransform& imageToDevice,
                       const std::vector<ScreenLayer>& layers, const model::ScreenSettings& settings,
                       const ImageOverlay& overlay, double spotRadius);

}  // namespace quorvex::window
