// The drawing surface of the main window: a QImage in device pixels, 15 twips
// per logical pixel, coordinates rounded to whole pixels, no antialiasing, so
// spots land on exact pixels and the merge pen mode is an exact bitwise OR.
#pragma once

#include <QImage>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "platform/Surface.h"

namespace quorvex::platform {

class ImageSurface : public Surface {
  public:
    ImageSurface(int widthTwips, int heightTwips, Rgb backColor, qreal devicePixelRatio = 1.0);

    Rgb BackColor() const override { return backColor_; }
    double PixelTwips() const override { return kTwipsPerPixel; }

    // The persistent picture and the overlay of what was drawn with retained
    // drawing off (transparent where nothing was drawn).
    const QImage& Image() const { return image_; }
    const QImage& Overlay() const { return overlay_; }
    bool HasOverlay() const { return overlayUsed_; }
    void DiscardOverlay();

    // The colour of the logical pixel at twip position (x, y), overlay on top.
    Rgb PixelAt(double xTwips, double yTwips) const;

    // Called after every drawing operation (the window schedules a repaint).
    void SetChangedCallback(std::function<void()> callback) { changed_ = std::move(callback); }

    static int ToPixel(double twips) { return PixelIndex(twips, kTwipsPerPixel); }

    static constexpr double kTwipsPerPixel = 15;

  protected:
    void DoLine(double x1, double y1, double x2, double y2, Rgb c) override;
    void DoRectangle(double x1, double y1, double x2, double y2, Rgb c, bool filled) override;
    void DoCircle(double x, double y, double r, Rgb c) override;
    void DoPrint(const std::string& text) override;
    void DoCircles(const std::vector<Point>& centres, double r, Rgb c) override;
    void DoLines(const std::vector<Segment>& lines, Rgb c) override;

  private:
    // The pixels one circle covers around its centre, as the painter sets
    // them: the interior (brush) and the outline (pen), as runs per row.
    struct Run {
        int dy, x0, x1;
    };
    struct Stamp {
        int reach = 0;  // no run reaches further from the centre
        std::vector<Run> fill, outline;
    };
    const Stamp& StampFor(int radius, int lineWidth, bool filled);
    void StampCircles(QImage& target, const std::vector<Point>& centres, const Stamp& stamp,
                      Rgb outline);

    QImage& Target();
    void Changed();

    Rgb backColor_;
    qreal dpr_;
    QImage image_;
    QImage overlay_;
    bool overlayUsed_ = false;
    std::function<void()> changed_;
    std::map<std::tuple<int, int, bool>, Stamp> stamps_;
};

QColor ToQColor(Rgb c);
Rgb FromQColor(const QColor& c);

}  // namespace quorvex::platform
