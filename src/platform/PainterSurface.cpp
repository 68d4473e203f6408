#include "platform/PainterSurface.h"

#include <algorithm>
#include <cmath>

#include "platform/ImageSurface.h"

namespace quorvex::platform {

PainterSurface::PainterSurface(QPainter& painter, double originXTwips, double originYTwips,
                               Rgb backColor, const QFont& font)
    : painter_(painter),
      originX_(PixelIndex(originXTwips, kTwipsPerPixel)),
      originY_(PixelIndex(originYTwips, kTwipsPerPixel)),
      backColor_(backColor),
      font_(font) {}

Rgb PainterSurface::Shown(Rgb c) const {
    if (!swapped_) return c;
    if (c == model::kBlack) return model::kWhite;
    if (c == model::kWhite) return model::kBlack;
    return c;
}

// The canvas sets the pixel whose top-left corner is the rounded point: its
// centre lies half a pixel further on.
double PainterSurface::X(double twips) const {
    return PixelIndex(twips, kTwipsPerPixel) - originX_ + 0.5;
}

double PainterSurface::Y(double twips) const {
    return PixelIndex(twips, kTwipsPerPixel) - originY_ + 0.5;
}

QPen PainterSurface::Pen(Rgb c) const {
    QPen pen(ToQColor(Shown(c)));
    pen.setWidthF(std::max(1, State().lineWidth));
    pen.setStyle(State().lineStyle == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void PainterSurface::DoLine(double x1, double y1, double x2, double y2, Rgb c) {
    const QPointF a(X(x1), Y(y1)), b(X(x2), Y(y2));
    if (a == b) {
        // A line of no length still marks its pixel.
        const double w = std::max(1, State().lineWidth);
        painter_.fillRect(QRectF(a.x() - w / 2, a.y() - w / 2, w, w), ToQColor(Shown(c)));
        return;
    }
    painter_.setPen(Pen(c));
    painter_.setBrush(Qt::NoBrush);
    // Flat caps end the line at its end points; the canvas's line covers both
    // end pixels, so each end reaches half a pixel further.
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF half = d * (0.5 / length);
    painter_.drawLine(a - half, b + half);
}

void PainterSurface::DoRectangle(double x1, double y1, double x2, double y2, Rgb c, bool filled) {
    const double l = std::min(X(x1), X(x2)), r = std::max(X(x1), X(x2));
    const double t = std::min(Y(y1), Y(y2)), b = std::max(Y(y1), Y(y2));
    // The pixels from corner to corner, both included.
    const QRectF cover(l - 0.5, t - 0.5, r - l + 1, b - t + 1);
    if (filled) {
        painter_.fillRect(cover, ToQColor(Shown(c)));
        return;
    }
    if (State().fillStyle == FillStyle::Solid)
        painter_.fillRect(cover, ToQColor(Shown(State().fillColor)));
    painter_.setPen(Pen(c));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(l, t, r - l, b - t));
}

void PainterSurface::DoCircle(double x, double y, double r, Rgb c) {
    DoCircles({Point{x, y}}, r, c);
}

void PainterSurface::DoCircles(const std::vector<Point>& centres, double r, Rgb c) {
    const double radius = std::max(0, PixelIndex(std::fabs(r), kTwipsPerPixel));
    painter_.setPen(Pen(c));
    if (State().fillStyle == FillStyle::Solid)
        painter_.setBrush(ToQColor(Shown(State().fillColor)));
    else
        painter_.setBrush(Qt::NoBrush);
    for (const Point& p : centres) painter_.drawEllipse(QPointF(X(p.x), Y(p.y)), radius, radius);
}

void PainterSurface::DoPrint(const std::string& text) {
    painter_.setFont(font_);
    painter_.setPen(ToQColor(Shown(State().textColor)));
    const QPointF at(X(State().currentX) - 0.5, Y(State().currentY) - 0.5);
    painter_.drawText(QRectF(at, QSizeF(4000, 400)), Qt::AlignLeft | Qt::AlignTop,
                      QString::fromStdString(text));
}

}  // namespace quorvex::platform
