// Mouse editing: dragging superlattice vectors in both drawings, and the
// legend click that rings one subpattern.
#include <algorithm>
#include <cmath>

#include "model/FieldReaders.h"
#include "model/Layout.h"
#include "model/Vectors.h"
#include "render/PatternDrawing.h"
#include "window/PatternForm.h"

namespace quorvex::window {

using model::RGB;

namespace {

// Box edges are compared in single precision, as the pointer arrives.
bool InsideBox(float x, float y, double left, double top, double width, double height) {
    const float l = static_cast<float>(left), t = static_cast<float>(top);
    const float r = static_cast<float>(left + width), b = static_cast<float>(top + height);
    return l < x && x < r && t < y && y < b;
}

// floor(v + 0.5) and whether v lies within 0.2 of it.
bool NearLatticeIndex(double v, Long& index) {
    if (!model::RoundToLong(v, index)) return false;
    return std::fabs(v - index) < 0.2;
}

}  // namespace

bool PatternForm::InsideLatBox(float x, float y) const {
    return InsideBox(x, y, m_.LatBoxLeft, m_.LatBoxTop, m_.LatBoxWidth, m_.LatBoxHeight);
}

bool PatternForm::InsidePatBox(float x, float y) const {
    return InsideBox(x, y, m_.PatBoxLeft, m_.PatBoxTop, m_.PatBoxWidth, m_.PatBoxHeight);
}

double PatternForm::LatticeS(float x, float y) const {
    const double dx = x - m_.LatBoxCenterX, dy = -(y - m_.LatBoxCenterY);
    const double d = (m_.A2Y * m_.A1X - m_.A2X * m_.A1Y) * m_.LatScale;
    return (m_.A2Y * dx - m_.A2X * dy) / d;
}

double PatternForm::LatticeT(float x, float y) const {
    const double dx = x - m_.LatBoxCenterX, dy = -(y - m_.LatBoxCenterY);
    const double d = (m_.A2Y * m_.A1X - m_.A2X * m_.A1Y) * m_.LatScale;
    return (m_.A1X * dy - m_.A1Y * dx) / d;
}

void PatternForm::Form_MouseDown(float x, float y) {
    platform::Surface& s = *surface_;
    m_.DragMode = 0;
    if (InsideLatBox(x, y)) {
        s.SetRetained(false);
        if (!NearLatticeIndex(LatticeS(x, y), m_.DownN1)) return;
        if (!NearLatticeIndex(LatticeT(x, y), m_.DownN2)) return;
        auto tipX = [this](double i, double j) {
            return (j * m_.A2X + i * m_.A1X) * m_.LatScale + m_.LatBoxCenterX;
        };
        auto tipY = [this](double i, double j) {
            return m_.LatBoxCenterY - (i * m_.A1Y + j * m_.A2Y) * m_.LatScale;
        };
        if (m_.DownN1 == m_.M11 && m_.DownN2 == m_.M12) {
            m_.Dragging = true;
            s.Line(tipX(m_.M11, m_.M12), tipY(m_.M11, m_.M12), x, y, RGB(255, 0, 0));
        } else if (m_.DownN1 == m_.M21 && m_.DownN2 == m_.M22) {
            m_.Dragging = true;
            s.Line(tipX(m_.M21, m_.M22), tipY(m_.M21, m_.M22), x, y, RGB(255, 0, 0));
        }
    } else if (Ticked(Check4) && InsidePatBox(x, y)) {
        s.SetRetained(false);
        const double px = (x - m_.PatBoxCenterX) / m_.PatScale;
        const double py = -(y - m_.PatBoxCenterY) / m_.PatScale;
        const double d1 = (px - m_.RB1X) * (px - m_.RB1X) + (py - m_.RB1Y) * (py - m_.RB1Y);
        const double d2 = (px - m_.RB2X) * (px - m_.RB2X) + (py - m_.RB2Y) * (py - m_.RB2Y);
        if (d1 / (m_.RB1X * m_.RB1X + m_.RB1Y * m_.RB1Y) < 0.01)
            m_.DragMode = 1;
        else if (d2 / (m_.RB2X * m_.RB2X + m_.RB2Y * m_.RB2Y) < 0.01)
            m_.DragMode = 2;
        if (m_.DragMode != 0) {
            s.SetCurrentPosition(x, y);
            m_.Dragging = true;
        }
    }
}

void PatternForm::Form_MouseMove(float x, float y) {
    if (!m_.Dragging) return;
    platform::Surface& s = *surface_;
    if (InsideLatBox(x, y)) {
        s.LineTo(x, y, RGB(255, 0, 0));
        s.SetFillStyle(platform::FillStyle::Transparent);
        s.Circle(x, y, m_.LatDotRadiusDefault * 0.5, RGB(255, 0, 0));
    } else if (InsidePatBox(x, y)) {
        s.LineTo(x, y, RGB(255, 255, 255));
    }
}

void PatternForm::Form_MouseUp(float x, float y) {
    platform::Surface& s = *surface_;
    m_.RedrawOnActivate = false;
    const bool realSpaceDrag = m_.Dragging && m_.DragMode == 0;
    m_.Dragging = false;
    s.SetRetained(true);

    if (InsideLatBox(x, y)) {
        if (!realSpaceDrag) return;
        if (!NearLatticeIndex(LatticeS(x, y), m_.UpN1)) return;
        if (!NearLatticeIndex(LatticeT(x, y), m_.UpN2)) return;
        if (m_.UpN1 == m_.DownN1 && m_.UpN2 == m_.DownN2) return;
        // The matrix row of the vector whose tip was taken, and its two fields.
        const bool first = m_.DownN1 == m_.M11 && m_.DownN2 == m_.M12;
        const bool second = !first && m_.DownN1 == m_.M21 && m_.DownN2 == m_.M22;
        if (first || second) {
            Long& r1 = first ? m_.M11 : m_.M21;
            Long& r2 = first ? m_.M12 : m_.M22;
            r1 = m_.UpN1;
            r2 = m_.UpN2;
            if (model::MatrixSingular(m_)) {
                Message(QStringLiteral("Superlattice matrix inconsistent"));
                r1 = m_.DownN1;
                r2 = m_.DownN2;
                UpdateAll(0, 0);
                return;
            }
            (first ? Text6 : Text7)->setText(QString::fromStdString(model::FormatNumber(r1, "####0")));
            (first ? Text8 : Text9)->setText(QString::fromStdString(model::FormatNumber(r2, "####0")));
        }
        m_.LatMag = 1.0;
        Combo3->setCurrentIndex(0);
        m_.ResetSuperGroup = true;
        UpdateAll(1, 0);
        return;
    }

    if (m_.DragMode != 0) {
        if (!InsidePatBox(x, y)) return;
        const double px = (x - m_.PatBoxCenterX) / m_.PatScale;
        const double py = -(y - m_.PatBoxCenterY) / m_.PatScale;
        double rb1x = m_.RB1X, rb1y = m_.RB1Y, rb2x = m_.RB2X, rb2y = m_.RB2Y;
        if (m_.DragMode == 1) {
            rb1x = px;
            rb1y = py;
        } else {
            rb2x = px;
            rb2y = py;
        }
        // A drop that makes the reciprocal vectors parallel (the centre among
        // them) has no real-space lattice, and a matrix beyond 32 bits cannot be
        // held: such a drop is refused and nothing changes.
        const double ds = rb2y * rb1x - rb2x * rb1y;
        if (!(std::fabs(ds) > 0) || !std::isfinite(ds)) return;
        const double b1x = rb2y / ds, b1y = -rb2x / ds, b2x = -rb1y / ds, b2y = rb1x / ds;
        const double da = m_.A2Y * m_.A1X - m_.A2X * m_.A1Y;
        Long m11 = 0, m12 = 0, m21 = 0, m22 = 0;
        if (!model::RoundToLong((b1x * m_.A2Y - b1y * m_.A2X) / da, m11) ||
            !model::RoundToLong((m_.A1X * b1y - m_.A1Y * b1x) / da, m12) ||
            !model::RoundToLong((b2x * m_.A2Y - b2y * m_.A2X) / da, m21) ||
            !model::RoundToLong((m_.A1X * b2y - m_.A1Y * b2x) / da, m22))
            return;
        m_.ResetSuperGroup = true;
        m_.RB1X = rb1x;
        m_.RB1Y = rb1y;
        m_.RB2X = rb2x;
        m_.RB2Y = rb2y;
        m_.B1X = b1x;
        m_.B1Y = b1y;
        m_.B2X = b2x;
        m_.B2Y = b2y;
        m_.M11 = m11;
        m_.M12 = m12;
        m_.M21 = m21;
        m_.M22 = m22;
        ShowMatrixFields();
        Combo3->setCurrentIndex(0);
        UpdateAll(1, 0);
        return;
    }

    // Legend click.
    const double u = m_.SpotRadiusDefault;
    const auto& anchor = model::Line14;
    if (!(anchor.X1 < x && x < anchor.X2 && anchor.Y1 < y && y < anchor.Y1 + 5 * u)) return;
    if (!(Ticked(Check2) && Ticked(Check3))) return;
    Long selection = 0;
    for (Long i = 1; i <= m_.SubpatternCount && i <= model::MaxSubpatterns; ++i) {
        const double left = anchor.X1 + (i - 1) * 4 * u;
        if (left <= x && x < left + 4 * u) selection = i;
    }
    if (selection == 0) return;
    UpdateAll(1, 0);
    const model::Vec2 p = m_.SubpatternVec1[selection], q = m_.SubpatternVec2[selection];
    const auto colour =
        m_.DomainColor[std::min<std::size_t>(selection + 1, m_.DomainColor.size() - 1)];
    render::DrawLatticeSpots(m_, s, p.x, p.y, q.x, q.y, colour, m_.SpotRadius + 35, 3,
                             Ticked(Check4));
}

}  // namespace quorvex::window
