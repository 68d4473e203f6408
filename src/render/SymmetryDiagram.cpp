#include "render/SymmetryDiagram.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/Layout.h"
#include "render/SymmetryElements.h"

namespace quorvex::render {

namespace {

using model::Long;
using model::Module1;
using model::Rgb;
using model::Vec2;
using platform::FillStyle;
using platform::LineStyle;
using platform::Surface;

constexpr int CellPointCount = 11;
using CellPoints = std::array<Vec2, CellPointCount>;

double Dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
double Cross(Vec2 a, Vec2 b) {
    return a.x * b.y - a.y * b.x;
}
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

bool IsGroup(Long group) {
    return group >= 1 && group <= model::GroupCount;
}

std::string SuperLabel(Long group) {
    switch (group) {
        case 18:
            return "3'";
        case 19:
            return "4'";
        case 20:
            return "5'";
        case 21:
            return "7'";
        default:
            return std::to_string(group);
    }
}

bool CentredGroup(const Module1& m, Long group) {
    return IsGroup(group) && m.GroupLatticeType[group] == 3;
}

// The superlattice diagram is turned by the angle from the basic reference
// direction u to the superlattice reference direction w.
void TurnTowardsSuperlattice(Module1& m) {
    const Vec2 a1{m.A1X, m.A1Y}, a2{m.A2X, m.A2Y};
    const Vec2 b1{m.B1X, m.B1Y}, b2{m.B2X, m.B2Y};
    const Vec2 u = CentredGroup(m, m.BasicGroup) ? Scaled(0.5, Sum(a1, a2)) : a1;
    Vec2 w = b1;
    if (CentredGroup(m, m.SuperGroup)) {
        const bool acute = Dot(b1, b2) > 0;
        if (m.CentredAxis == 1)
            w = Sum(Scaled(2, b1), acute ? Scaled(-1, b2) : b2);
        else if (m.CentredAxis == 2)
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
    m.SymCos = c * m.RotCos + s * m.RotSin;
    m.SymSin = c * m.RotSin - s * m.RotCos;
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
void DrawCell(const Module1& m, Surface& s, const GroupElements& elements, Vec2 t1, Vec2 t2,
              double r, bool swap, bool flip, Rgb colour) {
    std::array<Vec2, 4> p = CellCorners(elements.family, t1, t2, r, flip);
    for (Vec2& corner : p) SymTransform(m, corner.x, corner.y);
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

void SymTransform(const Module1& m, double& x, double& y) {
    const double x0 = x, y0 = y;
    x = m.SymCos * x0 - m.SymSin * y0 + m.SymOriginX;
    y = m.SymSin * x0 + m.SymCos * y0 + m.SymOriginY;
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

void DrawRotationSymbol(Surface& s, double x, double y, Long n) {
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
    const Rgb black = model::RGB(0, 0, 0);
    s.SetLineWidth(2);
    if (!vertices.empty()) {
        s.Line(x + vertices[0].x, y + vertices[0].y, x + vertices[1].x, y + vertices[1].y, black);
        for (std::size_t i = 2; i < vertices.size(); ++i)
            s.LineTo(x + vertices[i].x, y + vertices[i].y, black);
        s.LineTo(x + vertices[0].x, y + vertices[0].y, black);
    }
    s.SetLineWidth(1);
}

std::string DrawSymmetryElements(Module1& m, Surface& s, Long group, Long kind) {
    const bool super = kind == 2;
    const bool known = IsGroup(group);
    const bool swap = super && known && m.GroupAxisSwap[group];
    const bool flip = super && !m.SuperRightHanded;

    std::string caption;
    model::MarkerLine frame{};
    Vec2 t1, t2;
    Rgb colour = 0;
    if (!super) {
        m.SymCos = m.RotCos;
        m.SymSin = m.RotSin;
        caption = "Basic lattice [" + std::to_string(group) + "]";
        frame = model::Line9;
        t1 = {m.A1X, m.A1Y};
        t2 = {m.A2X, m.A2Y};
        colour = model::RGB(0, 0, 0);
    } else {
        TurnTowardsSuperlattice(m);
        caption = "Superlattice [" + SuperLabel(group) + "]";
        frame = model::Line11;
        t1 = {m.B1X, m.B1Y};
        t2 = {m.B2X, m.B2Y};
        colour = model::RGB(0, 0, 255);
    }
    m.SymOriginX = (frame.X1 + frame.X2) / 2;
    m.SymOriginY = (frame.Y1 + frame.Y2) / 2;
    const double r = frame.Y2 - frame.Y1;
    EraseDiagram(s, m.SymOriginX, m.SymOriginY, r);
    if (known) DrawCell(m, s, ElementsOf(group), t1, t2, r, swap, flip, colour);
    s.SetLineWidth(1);
    s.SetLineStyle(LineStyle::Solid);
    s.SetFillStyle(FillStyle::Transparent);
    return caption;
}

}  // namespace quorvex::render
