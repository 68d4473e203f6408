// Check boxes, view buttons, the matrix hold, window activation and the size
// scroll bars.
#include <cmath>

#include "model/Analysis.h"
#include "model/Layout.h"
#include "render/SymmetryDiagram.h"
#include "window/PatternForm.h"

namespace quorvex::window {

using model::RGB;

void PatternForm::Check1_Click() {
    m_.Include1x1 = Ticked(Check1);
    UpdateAll(1, 0);
}

void PatternForm::Check2_Click() {
    m_.PaintDomains = Ticked(Check2);
    DrawPattern();
}

void PatternForm::Check3_Click() {
    const bool ticked = Ticked(Check3);
    Check2->setVisible(ticked);
    Label19->setVisible(ticked);
    m_.IncludeDomains = ticked;
    DrawPattern();
}

void PatternForm::Check4_Click() {
    m_.IncludeBases = Ticked(Check4);
    UpdateAll(1, 0);
}

void PatternForm::Check5_Click() {
    m_.Constrained = Ticked(Check5);
    if (m_.Constrained)
        model::SetConstrainedGroups(m_);
    else
        model::SetUnconstrainedGroups(m_);
    ShowAllowedGroups();
    if (!m_.AllowedSuperGroup[m_.SuperGroup]) {
        m_.SuperGroup = 1;
        Combo2->setCurrentIndex(0);
        Label11->setText(
            QString::fromStdString(render::DrawSymmetryElements(m_, *surface_, m_.SuperGroup, 2)));
    }
}

void PatternForm::Command1_Click() { UpdateAll(1, 0); }

void PatternForm::Command2_Click() { close(); }

void PatternForm::Command3_Click() {
    m_.LatMag = m_.LatMag / 1.2;
    UpdateAll(0, 0);
}

void PatternForm::Command4_Click() {
    m_.LatMag = m_.LatMag * 1.2;
    UpdateAll(0, 0);
}

void PatternForm::Command13_Click() {
    m_.LatMag = 1.0;
    UpdateAll(0, 0);
}

void PatternForm::Command5_Click() {
    m_.PatMag = m_.PatMag / 1.2;
    DrawPattern();
}

void PatternForm::Command6_Click() {
    m_.PatMag = m_.PatMag * 1.2;
    DrawPattern();
}

void PatternForm::Command14_Click() {
    m_.PatMag = 1.0;
    DrawPattern();
}

void PatternForm::SetRotation(double angle, double c, double s) {
    m_.RotAngle = angle;
    m_.RotCos = c;
    m_.RotSin = s;
}

void PatternForm::StepRotation(double degrees) {
    const double angle = m_.RotAngle + degrees;
    SetRotation(angle, std::cos(angle * m_.DegToRad), std::sin(angle * m_.DegToRad));
}

void PatternForm::Command8_Click() {
    StepRotation(10);
    UpdateAll(1, 0);
}

void PatternForm::Command9_Click() {
    StepRotation(-10);
    UpdateAll(1, 0);
}

void PatternForm::Command7_Click() {
    SetRotation(-90, 0, -1);
    UpdateAll(1, 0);
}

void PatternForm::Command12_Click() {
    SetRotation(0, 1, 0);
    UpdateAll(1, 0);
}

void PatternForm::Command15_Click() {
    SetRotation(90, 0, 1);
    UpdateAll(1, 0);
}

void PatternForm::Command17_Click() {
    m_.LatDotRadius = m_.LatDotRadiusDefault;
    m_.SpotRadius = m_.SpotRadiusDefault;
    VScroll1->setValue(VScroll1->maximum() - static_cast<int>(std::lround(m_.LatDotRadius)));
    VScroll2->setValue(VScroll2->maximum() - static_cast<int>(std::lround(m_.SpotRadius)));
    m_.MatrixHold = false;
    m_.RedrawOnActivate = true;
}

void PatternForm::SetLabel9Red(bool red) {
    QPalette p = Label9->palette();
    p.setColor(QPalette::Window, red ? QColor(255, 0, 0) : palette().color(QPalette::Window));
    Label9->setPalette(p);
}

void PatternForm::Label9_Click() {
    if (m_.MatrixHold) {
        m_.MatrixHold = false;
        SetLabel9Red(false);
    } else {
        m_.MatrixHold = true;
        SetLabel9Red(true);
    }
}

void PatternForm::Form_Activate() {
    if (m_.RedrawOnActivate) UpdateAll(1, 0);
}

void PatternForm::DrawPreview(int bar) {
    platform::Surface& s = *surface_;
    const QScrollBar* scroll = bar == 1 ? VScroll1 : VScroll2;
    const double x = bar == 1 ? model::Line15.X1 : model::Line15.X2;
    const double y = bar == 1 ? model::Line15.Y1 : model::Line15.Y2;
    const double radius = bar == 1 ? m_.LatDotRadius : m_.SpotRadius;
    s.SetFillStyle(platform::FillStyle::Solid);
    s.SetFillColor(s.BackColor());
    s.Circle(x, y, scroll->maximum(), s.BackColor());
    s.SetFillColor(bar == 1 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    s.Circle(x, y, radius, RGB(0, 0, 0));
    m_.RedrawOnActivate = true;
}

void PatternForm::VScroll1_Scroll() {
    m_.LatDotRadius = VScroll1->maximum() - VScroll1->sliderPosition();
    DrawPreview(1);
}

void PatternForm::VScroll1_Change() {
    m_.LatDotRadius = VScroll1->maximum() - VScroll1->value();
    DrawPreview(1);
    if (isVisible()) UpdateAll(0, 0);
}

void PatternForm::VScroll2_Scroll() {
    m_.SpotRadius = VScroll2->maximum() - VScroll2->sliderPosition();
    DrawPreview(2);
}

void PatternForm::VScroll2_Change() {
    m_.SpotRadius = VScroll2->maximum() - VScroll2->value();
    DrawPreview(2);
    if (isVisible()) DrawPattern();
}

}  // namespace quorvex::window
