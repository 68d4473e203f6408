// The update cycle: from the document state to everything the window shows.
#include <QApplication>

#include "model/Analysis.h"
#include "model/FieldReaders.h"
#include "model/Layout.h"
#include "model/Vectors.h"
#include "platform/MessageBox.h"
#include "render/PatternDrawing.h"
#include "render/RealLattice.h"
#include "render/SymmetryDiagram.h"
#include "window/PatternForm.h"

namespace quorvex::window {

using model::RGB;

void PatternForm::SelectActiveText() {
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (field) field->selectAll();
}

void PatternForm::ShowAllowedGroups() {
    Label15->setText(QString::fromStdString(model::AllowedGroupsCaption(m_)));
}

void PatternForm::UpdateAll(Long drawPattern, Long respectHold) {
    if (model::MatrixSingular(m_)) {
        Message(QStringLiteral("Superlattice matrix inconsistent"));
        Text6->setFocus();
        SelectActiveText();
        return;
    }
    if (m_.MatrixHold) {
        if (respectHold != 0) return;
        m_.MatrixHold = false;
        SetLabel9Red(false);
    }
    Label20->show();
    Label20->repaint();
    ++updateRuns_;

    platform::Surface& s = *surface_;
    model::ComputeBasicVectors(m_);
    model::ComputeSuperVectors(m_);
    if (model::SuperlatticeTooLarge(m_)) {
        render::ShowSuperlatticeTooLarge(m_, s);
        m_.PatternValid = false;
        Label20->hide();
        return;
    }
    m_.PatternValid = true;

    const model::HigherSymmetryHint hint = model::CheckHigherSymmetry(m_);
    Label16->setText(QString::fromStdString(hint.caption));
    Label16->setVisible(hint.visible);
    Label17->setText(QString::fromStdString(model::AnalyzeSuperlattice(m_, m_.SuperLatticeType)));
    if (m_.Constrained)
        model::SetConstrainedGroups(m_);
    else
        model::SetUnconstrainedGroups(m_);
    if (!m_.AllowedSuperGroup[m_.SuperGroup] || m_.ResetSuperGroup) {
        m_.ResetSuperGroup = false;
        m_.SuperGroup = 1;
    }
    ShowAllowedGroups();
    Combo2->setCurrentIndex(m_.SuperGroup - 1);

    Label10->setText(QString::fromStdString(render::DrawSymmetryElements(m_, s, m_.BasicGroup, 1)));
    Label11->setText(QString::fromStdString(render::DrawSymmetryElements(m_, s, m_.SuperGroup, 2)));

    model::RotateVectors(m_);
    model::ComputeLatScale(m_);
    s.FilledRectangle(m_.LatBoxLeft, m_.LatBoxTop, m_.LatBoxLeft + m_.LatBoxWidth,
                      m_.LatBoxTop + m_.LatBoxHeight, RGB(255, 255, 255));

    VScroll1->setValue(VScroll1->maximum() - static_cast<int>(std::lround(m_.LatDotRadius)));
    VScroll2->setValue(VScroll2->maximum() - static_cast<int>(std::lround(m_.SpotRadius)));
    DrawSamples();

    if (Ticked(Check1))
        render::DrawRealLattice(m_, s, m_.A1X, m_.A1Y, m_.A2X, m_.A2Y, RGB(0, 255, 0),
                                m_.LatDotRadius, 1);
    const double l = m_.LatBoxLeft, t = m_.LatBoxTop, r = l + m_.LatBoxWidth,
                 b = t + m_.LatBoxHeight;
    s.Line(l, t, l, b, RGB(0, 0, 0));
    s.Line(l, b, r, b, RGB(0, 0, 0));
    s.Line(r, b, r, t, RGB(0, 0, 0));
    s.Line(r, t, l, t, RGB(0, 0, 0));
    render::DrawRealLattice(m_, s, m_.B1X, m_.B1Y, m_.B2X, m_.B2Y, RGB(0, 0, 0), m_.LatDotRadius,
                            2);
    if (drawPattern != 0) DrawPattern();
    Label20->hide();
}

void PatternForm::DrawSamples() {
    // Both sample dots under the scroll bars, as every update draws them.
    platform::Surface& s = *surface_;
    const auto& line = model::Line15;
    s.SetFillStyle(platform::FillStyle::Solid);
    s.SetFillColor(s.BackColor());
    s.Circle(line.X1, line.Y1, VScroll1->maximum(), s.BackColor());
    s.Circle(line.X2, line.Y2, VScroll2->maximum(), s.BackColor());
    s.SetFillColor(RGB(0, 0, 0));
    s.Circle(line.X1, line.Y1, m_.LatDotRadius, RGB(0, 0, 0));
    s.SetFillColor(RGB(255, 255, 255));
    s.Circle(line.X2, line.Y2, m_.SpotRadius, RGB(0, 0, 0));
}

void PatternForm::DrawPattern() {
    if (model::MatrixSingular(m_)) {
        Message(QStringLiteral("Superlattice matrix inconsistent"));
        Text6->setFocus();
        SelectActiveText();
        return;
    }
    // A superlattice refused as too large is not drawn by the pattern-only
    // redraws either: its box stays blank, and its spots can take half a minute.
    if (!m_.PatternValid) return;
    if (Label20->isHidden()) {
        Label20->show();
        Label20->repaint();
    }
    ++patternRuns_;
    render::PatternOptions options;
    options.include1x1 = Ticked(Check1);
    options.paintDomains = Ticked(Check2);
    options.includeDomains = Ticked(Check3);
    options.includeBases = Ticked(Check4);
    const render::PatternResult result = render::DrawPatternBody(m_, *surface_, options);
    Label18->setVisible(result.legendShown);
    if (result.domainsDone) Label19->setText(QString::fromStdString(result.caption));
    Label20->hide();
}

}  // namespace quorvex::window
