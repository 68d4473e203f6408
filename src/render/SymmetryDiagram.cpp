#include "render/SymmetryDiagram.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/FormLayout.h"
#include "render/SymmetryElements.h"

namespace quorvex::render {

namespace {

using model::Int32;
using model::Rgb;
using model::Vec2;
using platform::FillStyle;
using platform::LineStyle;
using platform::Surface;

constexpr int CellPointCount = 11;
using CellPoints = std::array<Vec2, CellPointCount>;

using model::Cross;
using model::Dot;
double Length(Vec2 a) {
    return std::hypot(a.x, a.y);
}
Vec2 Sum(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
Vec2 Scaled(double f, Vec2 a) {
    return {f * a.x, f * a.y};
}
Vec2 Mid(Vec2 a, Vec2 b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

bool CentredGroup(Int32 group) {
    return model::LatticeTypeOf(group) == model::kCentredRectangular;
}

// The superlattice diagram is turned by the angle from the basic reference
// direction u to the superlattice reference direction w.
DiagramFrame TurnTowardsSuperlattice(const SuperDiagram& d) {
    const Vec2 a1 = d.vectors.a1, a2 = d.vectors.a2;
    const Vec2 b1 = d.vectors.b1, b2 = d.vectors.b2;
    const Vec2 u = CentredGroup(d.basicGroup) ? Scaled(0.5, Sum(a1, a2)) : a1;
    Vec2 w = b1;
    if (CentredGroup(d.group)) {
        const bool acute = Dot(b1, b2) > 0;
        if (d.centredAxis == 1)
            w = Sum(Scaled(2, b1), acute ? Scaled(-1, b2) : b2);
        else if (d.centredAxis == 2)
            w = Sum(Scaled(2, b2), acute ? Scaled(-1, b1) : b1);
        else
            w = Sum(b1, b2);
    }
    const double norm = Length(u) * Length(w);
    double c = Dot(u, w) / norm;
    double s = Cross(u, w) / norm;
    // A zero or unmeasurable reference gives no direction: keep the diagram unturned.
    if (!(norm > 0) || !std::isfinite(c) || !std::isfinite(s)) {
        c = 1;
        s = 0;
    }
    c = std::clamp(c, -1.0, 1.0);
    DiagramFrame frame;
    frame.cos = c * d.rotationCos + s * d.rotationSin;
    frame.sin = c * d.rotationSin - s * d.rotationCos;
    return frame;
}

// The four corners in the local frame (x right, y down); sigma = -1 mirrors
// a left-handed superlattice.
std::array<Vec2, 4> CellCorners(CellFamily family, Vec2 t1, Vec2 t2, double r, bool flip) {
    const double sigma = flip ? -1.0 : 1.0;
    const double len1 = Length(t1), len2 = Length(t2);
    switch (family) {
        case CellFamily::Oblique: {
            double cosG = Dot(t1, t2) / (len1 * len2);
            double sinG = Cross(t1, t2) / (len1 * len2);
            if (flip) {
                cosG = -cosG;
                sinG = -sinG;
            }
            // |cos| keeps the longer diagonal on the circle for acute and obtuse cells.
            const double f =
                r / std::sqrt(len1 * len1 + len2 * len2 + 2 * len1 * len2 * std::fabs(cosG));
            const double l1 = f * len1, l2 = f * len2;
            return {{{-(l1 + l2 * cosG), l2 * sinG},
                     {-(l1 - l2 * cosG), -l2 * sinG},
                     {l1 + l2 * cosG, -l2 * sinG},
                     {l1 - l2 * cosG, l2 * sinG}}};
        }
        case CellFamily::Rectangular: {
            const double f = r / std::sqrt(len1 * len1 + len2 * len2);
            const double l1 = f * len1, l2 = f * len2;
            return {{{-l1, sigma * l2}, {-l1, -sigma * l2}, {l1, -sigma * l2}, {l1, sigma * l2}}};
        }
        case CellFamily::Centred: {
            const double diag1 = Length(Sum(t1, t2));
            const double diag2 = Length(Sum(t1, Scaled(-1, t2)));
            double d1 = r, d2 = r;
            if (diag1 <= diag2)
                d1 = r * diag1 / diag2;
            else
                d2 = r * diag2 / diag1;
            return {{{-d1, 0}, {0, -sigma * d2}, {d1, 0}, {0, sigma * d2}}};
        }
        case CellFamily::Square: {
            const double l = r / std::sqrt(2.0);
            return {{{-l, sigma * l}, {-l, -sigma * l}, {l, -sigma * l}, {l, sigma * l}}};
        }
        case CellFamily::Hexagonal:
            break;
    }
    const double h = r / std::sqrt(3.0);
    double k = std::sqrt(3.0) / 2;
    if (flip) k = -k;
    if (Dot(t1, t2) / (len1 * len1) < 0) k = -k;
    return {{{-1.5 * h, k * h}, {-0.5 * h, -k * h}, {1.5 * h, -k * h}, {0.5 * h, k * h}}};
}

CellPoints DerivedPoints(const std::array<Vec2, 4>& p) {
    using enum CellPoint;
    CellPoints out{};
    auto at = [&out](CellPoint name) -> Vec2& { return out[static_cast<int>(name)]; };
    at(P1) = p[0];
    at(P2) = p[1];
    at(P3) = p[2];
    at(P4) = p[3];
    at(M12) = Mid(p[0], p[1]);
    at(M23) = Mid(p[1], p[2]);
    at(M34) = Mid(p[2], p[3]);
    at(M41) = Mid(p[3], p[0]);
    at(C) = Mid(p[0], p[2]);
    at(G1) = {(2 * p[0].x + p[2].x) / 3, (2 * p[0].y + p[2].y) / 3};
    at(G2) = {(p[0].x + 2 * p[2].x) / 3, (p[0].y + 2 * p[2].y) / 3};
    return out;
}

// q(a, b) = (a + (a + b)/2)/2; for a named point a = b and this is the point itself.
Vec2 Locate(const CellPoints& points, PointName name) {
    const Vec2 a = points[static_cast<int>(name.from)];
    if (name.from == name.toward) return a;
    return Mid(a, Mid(a, points[static_cast<int>(name.toward)]));
}

void SetLineKind(Surface& s, LineKind kind) {
    s.SetLineWidth(kind == LineKind::Mirror ? 2 : 1);
    s.SetLineStyle(kind == LineKind::Glide ? LineStyle::Dotted : LineStyle::Solid);
}

void DrawCellLine(Surface& s, const CellPoints& points, const CellLine& line, Rgb colour) {
    if (line.path.size() < 2) return;
    SetLineKind(s, line.kind);
    const Vec2 first = Locate(points, line.path[0]);
    const Vec2 second = Locate(points, line.path[1]);
    s.Line(first.x, first.y, second.x, second.y, colour);
    for (std::size_t i = 2; i < line.path.size(); ++i) {
        const Vec2 next = Locate(points, line.path[i]);
        s.LineTo(next.x, next.y, colour);
    }
}

void EraseDiagram(Surface& s, double x, double y, double r) {
    const Rgb back = s.BackColor();
    s.SetFillStyle(FillStyle::Solid);
    s.SetFillColor(back);
    s.SetLineWidth(20);
    s.Circle(x, y, r, back);
    s.SetFillStyle(FillStyle::Transparent);
    s.SetLineWidth(1);
}

// The cell of one group with its lines and rotation symbols, on the frame set up by the caller.
void DrawCell(Surface& s, const DiagramFrame& frame, const GroupElements& elements, Vec2 t1,
              Vec2 t2, double r, bool swap, bool flip, Rgb colour) {
    std::array<Vec2, 4> p = CellCorners(elements.family, t1, t2, r, flip);
    for (Vec2& corner : p) corner = frame.Apply(corner);
    if (swap && elements.turnsWithSwap)
        CycleCorners(p[0].x, p[1].x, p[2].x, p[3].x, p[0].y, p[1].y, p[2].y, p[3].y);
    const CellPoints points = DerivedPoints(p);
    // Degenerate vectors (zero length, not finite) leave the diagram empty
    // rather than draw at undefined places.
    const bool drawable = std::all_of(points.begin(), points.end(), [](Vec2 v) {
        return std::isfinite(v.x) && std::isfinite(v.y);
    });
    if (!drawable) return;
    for (const CellLine& line : elements.lines) DrawCellLine(s, points, line, colour);
    s.SetLineWidth(1);
    s.SetLineStyle(LineStyle::Solid);
    for (const RotationPoints& rotation : elements.rotations)
        for (PointName at : rotation.at) {
            const Vec2 v = Locate(points, at);
            DrawRotationSymbol(s, v.x, v.y, rotation.n);
        }
}

}  // namespace

Vec2 DiagramFrame::Apply(Vec2 v) const {
    return {cos * v.x - sin * v.y + originX, sin * v.x + cos * v.y + originY};
}

void CycleCorners(double& x1, double& x2, double& x3, double& x4, double& y1, double& y2,
                  double& y3, double& y4) {
    const double oldX1 = x1, oldY1 = y1;
    x1 = x2;
    x2 = x3;
    x3 = x4;
    x4 = oldX1;
    y1 = y2;
    y2 = y3;
    y3 = y4;
    y4 = oldY1;
}

void DrawRotationSymbol(Surface& s, double x, double y, Int32 n) {
    const double w = 90 * std::sqrt(0.75);
    std::vector<Vec2> vertices;
    switch (n) {
        case 2:
            vertices = {{0, -90}, {45, 0}, {0, 90}, {-45, 0}};
            break;
        case 3:
            vertices = {{0, -90}, {w, 90.0 / 2}, {-w, 90.0 / 2}};
            break;
        case 4:
            vertices = {{0, -90}, {90, 0}, {0, 90}, {-90, 0}};
            break;
        case 6:
            vertices = {{0, -90}, {w, -45}, {w, 45}, {0, 90}, {-w, 45}, {-w, -45}};
            break;
        default:
            break;
    }
    const Rgb black = model::kBlack;
    s.SetLineWidth(2);
    if (!vertices.empty()) {
        s.Line(x + vertices[0].x, y + vertices[0].y, x + vertices[1].x, y + vertices[1].y, black);
        for (std::size_t i = 2; i < vertices.size(); ++i)
            s.LineTo(x + vertices[i].x, y + vertices[i].y, black);
        s.LineTo(x + vertices[0].x, y + vertices[0].y, black);
    }
    s.SetLineWidth(1);
}

namespace {

// Erases the diagram's place and draws the group's cell there.
void DrawDiagram(Surface& s, DiagramFrame frame, const model::Box& place, Int32 group, Vec2 t1,
                 Vec2 t2, bool swap, bool flip, Rgb colour) {
    frame.originX = place.CentreX();
    frame.originY = place.CentreY();
    const double r = place.height;
    EraseDiagram(s, frame.originX, frame.originY, r);
    if (model::IsGroup(group)) DrawCell(s, frame, ElementsOf(group), t1, t2, r, swap, flip, colour);
    s.SetLineWidth(1);
    s.SetLineStyle(LineStyle::Solid);
    s.SetFillStyle(FillStyle::Transparent);
}

}  // namespace

void DrawBasicDiagram(Surface& s, Int32 group, Vec2 a1, Vec2 a2, const model::ViewSettings& view) {
    DiagramFrame frame;
    frame.cos = view.rotationCos;
    frame.sin = view.rotationSin;
    DrawDiagram(s, frame, model::kBasicDiagramFrame, group, a1, a2, false, false, model::kBlack);
}

void DrawSuperDiagram(Surface& s, const SuperDiagram& d) {
    const bool swap = model::IsGroup(d.group) && d.axisSwap;
    DrawDiagram(s, TurnTowardsSuperlattice(d), model::kSuperDiagramFrame, d.group, d.vectors.b1,
                d.vectors.b2, swap, !d.rightHanded, model::kBlue);
}

std::string BasicDiagramTitle(Int32 group) {
    return "Basic lattice [" + std::to_string(group) + "]";
}

std::string SuperDiagramTitle(Int32 group) {
    return "Superlattice [" + model::GroupLabel(group) + "]";
}

}  // namespace quorvex::render
