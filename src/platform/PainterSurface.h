// The drawing surface for pictures that leave the program (SVG, PDF): the
// same calls as the window's canvas, sent to a QPainter as shapes, so spots
// stay circles, lines lines and text text. Every coordinate is rounded to
// the window's pixel grid first, so an exported picture shows exactly the
// spots and lines the window shows, only drawn at any size; the painter's
// own transform places and scales it. Vector formats have no raster
// operations: the merge pen mode paints over, as the copy mode does.
#pragma once

#include <QFont>
#include <QPainter>

#include "platform/Surface.h"

namespace quorvex::platform {

class PainterSurface : public Surface {
  public:
    // The painter draws in window pixels; (originX, originY) in twips lands
    // on the painter's (0, 0). backColor is what the surface reports as its
    // background; the caller paints it.
    PainterSurface(QPainter& painter, double originXTwips, double originYTwips, Rgb backColor,
                   const QFont& font);

    Rgb BackColor() const override { return backColor_; }
    // Rounded to the window's pixels, as the canvas rounds: the drawings then
    // pick the same spots and lines as for the window.
    double PixelTwips() const override { return kTwipsPerPixel; }

    // Black drawn as white and white as black, for a picture on the other
    // background; every other colour stays.
    void SetBlackWhiteSwapped(bool swapped) { swapped_ = swapped; }
    Rgb Shown(Rgb c) const;

    static constexpr double kTwipsPerPixel = 15;

  protected:
    void DoLine(double x1, double y1, double x2, double y2, Rgb c) override;
    void DoRectangle(double x1, double y1, double x2, double y2, Rgb c, bool filled) override;
    void DoCircle(double x, double y, double r, Rgb c) override;
    void DoPrint(const std::string& text) override;
    // One pen and brush for all: a vector file then holds the circles in one
    // group instead of a group each.
    void DoCircles(const std::vector<Point>& centres, double r, Rgb c) override;

  private:
    // A twip coordinate to the centre of its window pixel.
    double X(double twips) const;
    double Y(double twips) const;
    QPen Pen(Rgb c) const;

    QPainter& painter_;
    int originX_, originY_;  // window pixels
    Rgb backColor_;
    QFont font_;
    bool swapped_ = false;
};

}  // namespace quorvex::platform
