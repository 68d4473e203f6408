#include "window/ImageOverlay.h"

#include <QPainterPath>
#include <cmath>

#include "model/DomainColours.h"

namespace quorvex::window {

namespace {

// Over a photograph's white spots the plain spots are drawn in colours that stand out.
const QColor kSubstrateOverImage(0, 220, 255);
const QColor kSpotOverImage(255, 70, 110);

QColor ColourOf(const model::ListedSpot& spot, const ScreenLayer& layer) {
    const bool painted = layer.structure.options.paintDomains && layer.structure.options.includeDomains;
    if (spot.domains == 0) return kSubstrateOverImage;  // the substrate's own spot
    if (!painted) return kSpotOverImage;
    int first = 0;
    while (!(spot.domains & (1u << first))) ++first;
    const model::Rgb c = model::SubpatternColour(first + 1, painted);
    return QColor(model::RedOf(c), model::GreenOf(c), model::BlueOf(c));
}

void HollowMarker(QPainter& p, ScreenLayer::Marker marker, QPointF at, double r) {
    switch (marker) {
        case ScreenLayer::Marker::Square:
            p.drawRect(QRectF(at.x() - r * 0.85, at.y() - r * 0.85, r * 1.7, r * 1.7));
            break;
        case ScreenLayer::Marker::Diamond: {
            const double d = r * 1.15;
            p.drawPolygon(QPolygonF({at + QPointF(0, -d), at + QPointF(d, 0), at + QPointF(0, d),
                                     at + QPointF(-d, 0)}));
            break;
        }
        case ScreenLayer::Marker::Triangle:
            p.drawPolygon(QPolygonF({at + QPointF(0, -r), at + QPointF(r, r * 0.7),
                                     at + QPointF(-r, r * 0.7)}));
            break;
        case ScreenLayer::Marker::Cross:
            p.drawLine(at + QPointF(-r, 0), at + QPointF(r, 0));
            p.drawLine(at + QPointF(0, -r), at + QPointF(0, r));
            break;
        case ScreenLayer::Marker::Disc:
            p.drawEllipse(at, r, r);
            break;
    }
}

}  // namespace

std::vector<SpotOnImage> SpotsOnImage(const ScreenLayer& layer, const model::ScreenSettings& settings,
                                      const image::Calibration& calibration, std::size_t limit) {
    const model::ScreenScale scale = model::MakeScreenScale(layer.structure, settings);
    model::SpotListOptions options;
    options.gMax = scale.GMaxDocument();
    options.include1x1 = layer.structure.options.include1x1;
    options.indexDenominator = std::llabs(layer.structure.matrix.Determinant());
    options.limit = limit;
    std::vector<SpotOnImage> out;
    if (!std::isfinite(options.gMax) || !calibration.Valid()) return out;
    const double toScreen = scale.perUnit / scale.k;  // document units to sin(theta)
    for (const model::ListedSpot& spot : model::ListSpots(layer.pattern, layer.vectors, options)) {
        if (!spot.Shown()) continue;
        out.push_back({spot, calibration.ImagePoint({spot.g.x * toScreen, spot.g.y * toScreen})});
    }
    return out;
}

model::Vec2 BeamOf(const ScreenLayer& layer, const model::ScreenSettings& settings, double h, double k) {
    const double perUnit = model::MakeScreenScale(layer.structure, settings).perUnit;
    const model::Vec2 r1 = layer.pattern.ra1, r2 = layer.pattern.ra2;
    return {(h * r1.x + k * r2.x) * perUnit, (h * r1.y + k * r2.y) * perUnit};
}

QPointF RingHandle(const image::Calibration& calibration, const model::ScreenSettings& settings) {
    const double rim = std::sin(settings.acceptanceDegrees / 2 * model::kPi / 180);
    return calibration.ImagePoint({rim, 0});
}

void PaintImageOverlay(QPainter& p, const QTransform& toDevice, const std::vector<ScreenLayer>& layers,
                       const model::ScreenSettings& settings, const ImageOverlay& overlay,
                       double r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const image::Calibration& cal = overlay.calibration;
    // The rim of the acceptance: a circle on the screen, an ellipse under a tilt.
    const double rim = std::sin(settings.acceptanceDegrees / 2 * model::kPi / 180);
    const QTransform screenToImage(cal.l11, cal.l21, cal.l12, cal.l22, cal.centre.x(), cal.centre.y());
    QPainterPath rimPath;
    rimPath.addEllipse(QPointF(0, 0), rim, rim);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 170, 255, 160), 1.0));
    p.drawPath((screenToImage * toDevice).map(rimPath));

    for (std::size_t i = 0; i < layers.size(); ++i) {
        const ScreenLayer& layer = layers[i];
        if (!layer.visible) continue;
        const bool labels = settings.indexLabels && i == 0;
        QFont font = p.font();
        font.setPixelSize(std::max(9, static_cast<int>(r * 1.6)));
        p.setFont(font);
        for (const SpotOnImage& s : SpotsOnImage(layer, settings, cal)) {
            const bool extinctEverywhere = !s.spot.substrate && s.spot.domains == 0;
            if (extinctEverywhere) continue;
            const QPointF at = toDevice.map(s.at);
            const QColor colour = ColourOf(s.spot, layer);
            p.setPen(QPen(colour, s.spot.substrate && s.spot.domains == 0 ? 1.0 : 1.6));
            if (s.spot.substrate && s.spot.domains == 0)
                p.drawEllipse(at, r * 1.4, r * 1.4);
            else
                HollowMarker(p, layer.marker, at, r);
            if (labels)
                p.drawText(at + QPointF(r + 2, -r - 2), QString::fromStdString(s.spot.IndexText()));
        }
    }
    // Maxima the structure leaves unexplained: small orange crosses beside them.
    p.setPen(QPen(QColor(255, 150, 0), 1.5));
    for (QPointF maximum : overlay.unexplained) {
        const QPointF at = toDevice.map(maximum);
        const double d = r * 0.9;
        p.drawLine(at + QPointF(r + 2, -r - 2) + QPointF(-d, -d) / 2, at + QPointF(r + 2, -r - 2) + QPointF(d, d) / 2);
        p.drawLine(at + QPointF(r + 2, -r - 2) + QPointF(-d, d) / 2, at + QPointF(r + 2, -r - 2) + QPointF(d, -d) / 2);
    }
    // The handles: the centre, and the ring handle that scales and turns.
    const QPointF centre = toDevice.map(cal.centre);
    p.setPen(QPen(QColor(0, 170, 255), 1.5));
    p.drawLine(centre + QPointF(-8, 0), centre + QPointF(8, 0));
    p.drawLine(centre + QPointF(0, -8), centre + QPointF(0, 8));
    const QPointF handle = toDevice.map(RingHandle(cal, settings));
    p.setBrush(QColor(0, 170, 255));
    p.drawRect(QRectF(handle - QPointF(4, 4), QSizeF(8, 8)));
    // The marks: yellow circles, a line to where the fit puts the spot.
    p.setBrush(Qt::NoBrush);
    for (const OverlayMark& m : overlay.marks) {
        const QPointF at = toDevice.map(m.at);
        p.setPen(QPen(QColor(255, 220, 0), 1.5));
        p.drawEllipse(at, r * 1.9, r * 1.9);
        p.drawText(at + QPointF(r * 2, r * 2 + 10), m.label);
        if (m.fitted) {
            p.setPen(QPen(QColor(255, 80, 80), 1.0));
            p.drawLine(at, toDevice.map(*m.fitted));
        }
    }
    if (overlay.pending) {
        const QPointF at = toDevice.map(*overlay.pending);
        p.setPen(QPen(QColor(255, 220, 0), 2.0));
        p.drawLine(at + QPointF(-10, 0), at + QPointF(10, 0));
        p.drawLine(at + QPointF(0, -10), at + QPointF(0, 10));
    }
    p.restore();
}

}  // namespace quorvex::window
