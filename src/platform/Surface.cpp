#include "platform/Surface.h"

namespace quorvex::platform {

void Surface::Line(double x1, double y1, double x2, double y2, Rgb c) {
    DoLine(x1, y1, x2, y2, c);
    SetCurrentPosition(x2, y2);
}

void Surface::LineTo(double x, double y, Rgb c) {
    Line(state_.currentX, state_.currentY, x, y, c);
}

void Surface::Rectangle(double x1, double y1, double x2, double y2, Rgb c) {
    DoRectangle(x1, y1, x2, y2, c, false);
    SetCurrentPosition(x2, y2);
}

void Surface::FilledRectangle(double x1, double y1, double x2, double y2, Rgb c) {
    DoRectangle(x1, y1, x2, y2, c, true);
    SetCurrentPosition(x2, y2);
}

void Surface::Circle(double x, double y, double r, Rgb c) {
    DoCircle(x, y, r, c);
    SetCurrentPosition(x, y);
}

void Surface::Print(const std::string& text) {
    DoPrint(text);
}

void Surface::Circles(const std::vector<Point>& centres, double r, Rgb c) {
    if (centres.empty()) return;
    DoCircles(centres, r, c);
    SetCurrentPosition(centres.back().x, centres.back().y);
}

void Surface::Lines(const std::vector<Segment>& lines, Rgb c) {
    if (lines.empty()) return;
    DoLines(lines, c);
    SetCurrentPosition(lines.back().x2, lines.back().y2);
}

void Surface::DoCircles(const std::vector<Point>& centres, double r, Rgb c) {
    for (const Point& p : centres) DoCircle(p.x, p.y, r, c);
}

void Surface::DoLines(const std::vector<Segment>& lines, Rgb c) {
    for (const Segment& l : lines) DoLine(l.x1, l.y1, l.x2, l.y2, c);
}

}  // namespace quorvex::platform
