// Reduce, Save, Load, Clear and Help.
#include <QFileInfo>
#include <QSignalBlocker>

#include "model/FieldReaders.h"
#include "model/Reduction.h"
#include "model/Store.h"
#include "window/PatternForm.h"

namespace quorvex::window {

void PatternForm::Command10_Click() {
    // A reduction whose row operations would leave the 32-bit range keeps the matrix.
    if (!model::ReduceSuperlattice(m_)) return;
    Text6->setText(QString::fromStdString(model::FormatNumber(m_.M11, "####0")));
    Text8->setText(QString::fromStdString(model::FormatNumber(m_.M12, "####0")));
    Text7->setText(QString::fromStdString(model::FormatNumber(m_.M21, "####0")));
    Text9->setText(QString::fromStdString(model::FormatNumber(m_.M22, "####0")));
    m_.ResetSuperGroup = true;
    UpdateAll(1, -1);
}

void PatternForm::Command18_MouseUp() {
    if (!m_.PatternValid) return;
    Label20->show();
    model::StoreState(m_);
    ShowLoadCaption();
    Label20->hide();
}

void PatternForm::Command19_MouseUp() {
    if (m_.StoreIndex == 0) return;
    if (model::RestoreRecord(m_)) {
        Combo1->setCurrentIndex(m_.BasicGroup - 1);
        ShowLatticeFields();
        Text2->hide();
        Text3->hide();
        Label4->hide();
        Label5->hide();
        ApplyLatticeFieldVisibility();
        ShowMatrixFields();
        Combo2->setCurrentIndex(m_.SuperGroup - 1);
        Combo3->setCurrentIndex(m_.CommonNameIndex);
        // The restored values are copied first; the boxes' own handlers then
        // run for every box whose value changes, as a click would.
        const bool includeDomains = m_.IncludeDomains, paintDomains = m_.PaintDomains;
        const bool include1x1 = m_.Include1x1, includeBases = m_.IncludeBases;
        const bool constrained = m_.Constrained;
        SetCheck(Check3, includeDomains);
        Check2->setVisible(includeDomains);
        Label19->setVisible(includeDomains);
        SetCheck(Check2, paintDomains);
        SetCheck(Check1, include1x1);
        SetCheck(Check4, includeBases);
        // The constraint box shows the restored value; its handler would judge
        // the restored group against the previous superlattice, so it does not
        // run: the update below recomputes the allowed groups.
        const QSignalBlocker quiet(Check5);
        Check5->setChecked(constrained);
        m_.ResetSuperGroup = false;
    }
    UpdateAll(1, -1);
    ShowLoadCaption();
}

void PatternForm::Command20_MouseUp() {
    model::ClearStore(m_);
    ShowLoadCaption();
}

void PatternForm::Command11_Click() {
    const QString path = HelpFilePath();
    if (!QFileInfo::exists(path)) {
        Message(QStringLiteral("The help file was not found:\n") + path);
        return;
    }
    if (!help_) help_ = new platform::HelpViewer();
    help_->ShowContents(path);
    help_->raise();
    help_->activateWindow();
}

}  // namespace quorvex::window
