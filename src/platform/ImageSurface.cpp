#include "platform/ImageSurface.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace quorvex::platform {

QColor ToQColor(Rgb c) {
    return QColor(model::RedOf(c), model::GreenOf(c), model::BlueOf(c));
}

Rgb FromQColor(const QColor& c) {
    return model::RGB(c.red(), c.green(), c.blue());
}

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
    if (st.penMode == PenMode::Merge) p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
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

void ImageSurface::DoLines(const std::vector<Segment>& lines, Rgb c) {
    // One painter for all: the same pen and mode give each line the pixels
    // it would get on its own.
    QImage& target = Target();
    QPainter p(&target);
    Prepare(p, State());
    const QPen pen = MakePen(State(), c);
    QPen pointPen = pen;
    pointPen.setCapStyle(Qt::SquareCap);
    bool point = false;
    p.setPen(pen);
    for (const Segment& l : lines) {
        const QPoint a(ToPixel(l.x1), ToPixel(l.y1)), b(ToPixel(l.x2), ToPixel(l.y2));
        if ((a == b) != point) {
            point = a == b;
            p.setPen(point ? pointPen : pen);
        }
        if (point)
            p.drawPoint(a);
        else
            p.drawLine(a, b);
    }
    p.end();
    Changed();
}

const ImageSurface::Stamp& ImageSurface::StampFor(int radius, int lineWidth, bool filled) {
    const auto key = std::make_tuple(radius, lineWidth, filled);
    auto found = stamps_.find(key);
    if (found != stamps_.end()) return found->second;

    // The painter draws the circle once on a black scratch image under the
    // merge pen, the brush in red and the pen in blue: a pixel's red and blue
    // tell whether brush and pen cover it (both, where a wide pen overlaps
    // the interior).
    const int half = radius + lineWidth + 2;
    QImage scratch(2 * half + 1, 2 * half + 1, QImage::Format_RGB32);
    scratch.fill(Qt::black);
    DrawState st = State();
    st.penMode = PenMode::Merge;
    st.lineWidth = lineWidth;
    QPainter p(&scratch);
    Prepare(p, st);
    p.setPen(MakePen(st, model::RGB(0, 0, 255)));
    if (filled)
        p.setBrush(QColor(255, 0, 0));
    else
        p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(half, half), radius, radius);
    p.end();
    auto covered = [&](auto test) {
        std::vector<Run> runs;
        for (int y = 0; y < scratch.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
            for (int x = 0; x < scratch.width();) {
                if (!test(line[x])) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < scratch.width() && test(line[x])) ++x;
                runs.push_back(Run{y - half, start - half, x - 1 - half});
            }
        }
        return runs;
    };
    Stamp stamp;
    stamp.reach = half;
    stamp.fill = covered([](QRgb v) { return qRed(v) != 0; });
    stamp.outline = covered([](QRgb v) { return qBlue(v) != 0; });
    return stamps_.emplace(key, std::move(stamp)).first->second;
}

void ImageSurface::StampCircles(QImage& target, const std::vector<Point>& centres,
                                const Stamp& stamp, Rgb outline) {
    const bool merge = State().penMode == PenMode::Merge;
    const quint32 outlineValue = ToQColor(outline).rgb();
    const quint32 fillValue = ToQColor(State().fillColor).rgb();
    const int width = target.width(), height = target.height();
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    auto paint = [&](const std::vector<Run>& runs, int cy, int xa, int xb, quint32 value) {
        for (const Run& run : runs) {
            const long long row = static_cast<long long>(cy) + run.dy;
            if (row < 0 || row >= height) continue;
            const long long from = std::max<long long>(0, static_cast<long long>(xa) + run.x0);
            const long long to =
                std::min<long long>(width - 1, static_cast<long long>(xb) + run.x1);
            auto* line = reinterpret_cast<quint32*>(bits + row * stride);
            if (merge)
                for (long long x = from; x <= to; ++x) line[x] |= value;
            else
                for (long long x = from; x <= to; ++x) line[x] = value;
        }
    };

    // The lists and maps below keep their storage from one call to the next:
    // a fine lattice passes a centre for every pixel of its box, and fresh
    // memory for each would cost more than the painting.
    thread_local std::vector<std::pair<int, int>> pixels;  // (y, x)
    pixels.clear();
    for (const Point& p : centres) pixels.emplace_back(ToPixel(p.y), ToPixel(p.x));

    // Under the merge mode, or when brush and pen share the colour, the
    // order of the circles does not matter, and a row of touching centres
    // covers from the first circle's left pixels to the last one's right.
    const bool orderFree = merge || stamp.fill.empty() || fillValue == outlineValue;
    if (!orderFree) {
        for (const auto& [y, x] : pixels) {
            paint(stamp.fill, y, x, x, fillValue);
            paint(stamp.outline, y, x, x, outlineValue);
        }
        return;
    }
    // The runs of touching centres in each row, from a map of the centres
    // over their bounding box (pixels far off the image are pulled in by
    // ToPixel), or by sorting when they lie far apart.
    struct CentreRun {
        int y, xa, xb;
    };
    thread_local std::vector<CentreRun> runs;
    runs.clear();
    int x0 = INT_MAX, x1 = INT_MIN, y0 = INT_MAX, y1 = INT_MIN;
    for (const auto& [y, x] : pixels) {
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    const long long mapWidth = static_cast<long long>(x1) - x0 + 1;
    const long long mapHeight = static_cast<long long>(y1) - y0 + 1;
    if (mapWidth * mapHeight <= 4 * static_cast<long long>(pixels.size()) + (1 << 16)) {
        thread_local std::vector<std::uint8_t> map;
        map.assign(static_cast<std::size_t>(mapWidth * mapHeight), 0);
        for (const auto& [y, x] : pixels)
            map[static_cast<std::size_t>((y - y0) * mapWidth + (x - x0))] = 1;
        for (int y = y0; y <= y1; ++y) {
            const std::uint8_t* row = map.data() + (y - y0) * mapWidth;
            for (long long i = 0; i < mapWidth;) {
                if (!row[i]) {
                    ++i;
                    continue;
                }
                const long long start = i;
                while (i < mapWidth && row[i]) ++i;
                runs.push_back({y, static_cast<int>(x0 + start), static_cast<int>(x0 + i - 1)});
            }
        }
    } else {
        std::sort(pixels.begin(), pixels.end());
        for (std::size_t i = 0; i < pixels.size();) {
            std::size_t j = i;
            while (j + 1 < pixels.size() && pixels[j + 1].first == pixels[i].first &&
                   pixels[j + 1].second - pixels[j].second <= 1)
                ++j;
            runs.push_back({pixels[i].first, pixels[i].second, pixels[j].second});
            i = j + 1;
        }
    }

    // Long runs in consecutive rows overlap many times over: their stamps
    // are first gathered on a mask, so that each pixel is painted once.
    const long long reach = stamp.reach;
    const long long maskWidth = mapWidth + 2 * reach, maskHeight = mapHeight + 2 * reach;
    if (pixels.size() < 4 * runs.size() || maskWidth * maskHeight > (1 << 24)) {
        for (const CentreRun& r : runs) {
            paint(stamp.fill, r.y, r.xa, r.xb, fillValue);
            paint(stamp.outline, r.y, r.xa, r.xb, outlineValue);
        }
        return;
    }
    thread_local std::vector<std::uint8_t> mask;
    mask.resize(static_cast<std::size_t>(maskWidth * maskHeight));
    for (const std::vector<Run>* part : {&stamp.fill, &stamp.outline}) {
        std::fill(mask.begin(), mask.end(), 0);
        for (const CentreRun& r : runs)
            for (const Run& run : *part) {
                const long long row = r.y - y0 + reach + run.dy;
                const long long from = r.xa - x0 + reach + run.x0, to = r.xb - x0 + reach + run.x1;
                std::fill(mask.begin() + row * maskWidth + from,
                          mask.begin() + row * maskWidth + to + 1, 1);
            }
        thread_local std::vector<Run> merged;
        merged.clear();
        for (long long row = 0; row < maskHeight; ++row) {
            const std::uint8_t* line = mask.data() + row * maskWidth;
            for (long long i = 0; i < maskWidth;) {
                if (!line[i]) {
                    ++i;
                    continue;
                }
                const long long start = i;
                while (i < maskWidth && line[i]) ++i;
                merged.push_back({static_cast<int>(row - reach), static_cast<int>(start - reach),
                                  static_cast<int>(i - 1 - reach)});
            }
        }
        paint(merged, y0, x0, x0, part == &stamp.fill ? fillValue : outlineValue);
    }
}

void ImageSurface::DoCircles(const std::vector<Point>& centres, double r, Rgb c) {
    QImage& target = Target();
    const DrawState& st = State();
    const int radius = std::max(0, ToPixel(std::fabs(r)));
    const int lineWidth = std::max(1, st.lineWidth);
    // Stamps are taken at one pixel per logical pixel and a solid pen, the
    // cases whose pixels the tests compare with the painter's own.
    const bool stamped =
        dpr_ == 1.0 && st.lineStyle == LineStyle::Solid && lineWidth <= 3 && radius <= 200;
    if (stamped) {
        StampCircles(target, centres, StampFor(radius, lineWidth, st.fillStyle == FillStyle::Solid),
                     c);
    } else {
        QPainter p(&target);
        Prepare(p, st);
        p.setPen(MakePen(st, c));
        if (st.fillStyle == FillStyle::Solid)
            p.setBrush(ToQColor(st.fillColor));
        else
            p.setBrush(Qt::NoBrush);
        for (const Point& centre : centres)
            p.drawEllipse(QPoint(ToPixel(centre.x), ToPixel(centre.y)), radius, radius);
        p.end();
    }
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
    const int x = static_cast<int>(ToPixel(xTwips) * dpr_),
              y = static_cast<int>(ToPixel(yTwips) * dpr_);
    if (!image_.rect().contains(x, y)) return backColor_;
    if (overlayUsed_) {
        const QRgb o = overlay_.pixel(x, y);
        if (qAlpha(o) != 0) return model::RGB(qRed(o), qGreen(o), qBlue(o));
    }
    const QRgb v = image_.pixel(x, y);
    return model::RGB(qRed(v), qGreen(v), qBlue(v));
}

}  // namespace quorvex::platform
