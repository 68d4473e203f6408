#include "platform/ImageSurface.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace quorvex::platform {

QColor ToQColor(Rgb c) { return QColor(model::RedOf(c), model::GreenOf(c), model::BlueOf(c)); }

Rgb FromQColor(const QColor& c) { return model::RGB(c.red(), c.green(), c.blue()); }

ImageSurface::ImageSurface(int widthTwips, int heightTwips, Rgb backColor, qreal devicePixelRatio)
    : backColor_(backColor), dpr_(devicePixelRatio) {
    const QSize logical(ToPixel(widthTwips), ToPixel(heightTwips));
    const QSize device(static_cast<int>(std::ceil(logical.width() * dpr_)),
                       static_cast<int>(std::ceil(logical.height() * dpr_)));
    image_ = QImage(device, QImage::Format_RGB32);
    image_.setDevicePixelRatio(dpr_);
    image_.fill(ToQColor(backColor_));
    overlay_ = QImage(device, QImage::Format_ARGB32_Premultiplied);
    overlay_.setDevicePixelRatio(dpr_);
    overlay_.fill(Qt::transparent);
}

int ImageSurface::ToPixel(double twips) {
    // Far-off coordinates are pulled in to a range the painter and int can hold;
    // anything that far away lies outside the window anyway.
    constexpr double limit = 1 << 20;
    double px = twips / 15.0;
    if (std::isnan(px)) px = -limit;
    px = std::clamp(px, -limit, limit);
    return static_cast<int>(std::lround(px));
}

void ImageSurface::DiscardOverlay() {
    if (!overlayUsed_) return;
    overlay_.fill(Qt::transparent);
    overlayUsed_ = false;
    Changed();
}

QImage& ImageSurface::Target() {
    if (!State().retained) {
        overlayUsed_ = true;
        return overlay_;
    }
    // Whatever was drawn with retained drawing off vanishes with the next redraw.
    if (overlayUsed_) DiscardOverlay();
    return image_;
}

void ImageSurface::Changed() {
    if (changed_) changed_();
}

namespace {

void Prepare(QPainter& p, const DrawState& st) {
    p.setRenderHint(QPainter::Antialiasing, false);
    if (st.penMode == PenMode::Merge)
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
}

QPen MakePen(const DrawState& st, Rgb c) {
    QPen pen(ToQColor(c));
    pen.setWidth(std::max(1, st.lineWidth));
    pen.setStyle(st.lineStyle == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

}  // namespace

void ImageSurface::DoLine(double x1, double y1, double x2, double y2, Rgb c) {
    QImage& target = Target();
    QPainter p(&target);
    Prepare(p, State());
    const QPoint a(ToPixel(x1), ToPixel(y1)), b(ToPixel(x2), ToPixel(y2));
    if (a == b) {
        // A line of no length still marks its pixel, as on a classic canvas.
        QPen pen = MakePen(State(), c);
        pen.setCapStyle(Qt::SquareCap);
        p.setPen(pen);
        p.drawPoint(a);
    } else {
        p.setPen(MakePen(State(), c));
        p.drawLine(a, b);
    }
    p.end();
    Changed();
}

void ImageSurface::DoRectangle(double x1, double y1, double x2, double y2, Rgb c, bool filled) {
    QImage& target = Target();
    QPainter p(&target);
    Prepare(p, State());
    const int l = std::min(ToPixel(x1), ToPixel(x2)), r = std::max(ToPixel(x1), ToPixel(x2));
    const int t = std::min(ToPixel(y1), ToPixel(y2)), b = std::max(ToPixel(y1), ToPixel(y2));
    const QRect inclusive(QPoint(l, t), QPoint(r, b));
    if (filled) {
        p.fillRect(inclusive, ToQColor(c));
    } else {
        if (State().fillStyle == FillStyle::Solid)
            p.fillRect(inclusive, ToQColor(State().fillColor));
        p.setPen(MakePen(State(), c));
        p.setBrush(Qt::NoBrush);
        p.drawRect(l, t, r - l, b - t);
    }
    p.end();
    Changed();
}

void ImageSurface::DoCircle(double x, double y, double r, Rgb c) {
    QImage& target = Target();
    QPainter p(&target);
    Prepare(p, State());
    const QPoint centre(ToPixel(x), ToPixel(y));
    const int radius = std::max(0, ToPixel(std::fabs(r)));
    p.setPen(MakePen(State(), c));
    if (State().fillStyle == FillStyle::Solid)
        p.setBrush(ToQColor(State().fillColor));
    else
        p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    p.end();
    Changed();
}

void ImageSurface::DoPrint(const std::string& text) {
    QImage& target = Target();
    QPainter p(&target);
    p.setFont(QApplication::font());
    p.setPen(ToQColor(State().textColor));
    const QPoint at(ToPixel(State().currentX), ToPixel(State().currentY));
    p.drawText(QRect(at, QSize(4000, 400)), Qt::AlignLeft | Qt::AlignTop,
               QString::fromStdString(text));
    p.end();
    Changed();
}

Rgb ImageSurface::PixelAt(double xTwips, double yTwips) const {
    const int x = static_cast<int>(ToPixel(xTwips) * dpr_), y = static_cast<int>(ToPixel(yTwips) * dpr_);
    if (!image_.rect().contains(x, y)) return backColor_;
    if (overlayUsed_) {
        const QRgb o = overlay_.pixel(x, y);
        if (qAlpha(o) != 0) return model::RGB(qRed(o), qGreen(o), qBlue(o));
    }
    const QRgb v = image_.pixel(x, y);
    return model::RGB(qRed(v), qGreen(v), qBlue(v));
}

}  // namespace quorvex::platform
