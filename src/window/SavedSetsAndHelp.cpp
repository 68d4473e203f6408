// Reduce, Save, Load, Clear and Help.
#include <QFileInfo>
#include <QSignalBlocker>

#include "model/Reduction.h"
#include "window/StructureForm.h"

namespace quorvex::window {

void StructureForm::onReduce() {
    const model::CellVectors& v = document_.derived.vectors;
    // A reduction whose row operations would leave the 32-bit range keeps the matrix.
    const std::optional<model::SuperlatticeMatrix> reduced =
        model::ReduceSuperlattice(v.b1, v.b2, document_.structure.matrix);
    if (!reduced) return;
    document_.structure.matrix = *reduced;
    // Held back by the hold, the pattern-only redraws still show the reduced basis.
    model::ApplyMatrix(*reduced, document_.derived.vectors);
    showMatrixFields();
    document_.superGroupResetPending = true;
    updateAll(PatternPart::Draw, Hold::Respect);
}

void StructureForm::onSave() {
    if (!document_.derived.patternValid) return;
    busyLabel->show();
    document_.saved.Push({document_.structure, document_.view});
    showLoadCaption();
    busyLabel->hide();
    emit savedSetsChanged();
}

void StructureForm::onLoad() {
    if (document_.saved.Position() == 0) return;
    if (const std::optional<model::SavedState> saved = document_.saved.Next()) {
        model::Structure& s = document_.structure;
        s = saved->structure;
        document_.view = saved->view;
        document_.superGroupResetPending = false;
        basicGroupList->setCurrentIndex(s.basicGroup - 1);
        showLatticeFields();
        lengthBField->hide();
        alphaField->hide();
        lengthBLabel->hide();
        alphaLabel->hide();
        showLatticeFieldsForGroup();
        showMatrixFields();
        superGroupList->setCurrentIndex(s.superGroup - 1);
        commonNameList->setCurrentIndex(s.commonNameRow);
        // The restored values are copied first; the boxes' own handlers then
        // run for every box whose value changes, as a click would.
        const model::PatternOptions options = s.options;
        const bool constrained = s.constrained;
        setChecked(includeDomainsBox, options.includeDomains);
        paintDomainsBox->setVisible(options.includeDomains);
        domainCountLabel->setVisible(options.includeDomains);
        setChecked(paintDomainsBox, options.paintDomains);
        setChecked(include1x1Box, options.include1x1);
        setChecked(includeBasesBox, options.includeBases);
        // The constraint box shows the restored value; its handler would judge
        // the restored group against the previous superlattice, so it does not
        // run: the update below recomputes the allowed groups.
        const QSignalBlocker quiet(constrainedBox);
        constrainedBox->setChecked(constrained);
        document_.superGroupResetPending = false;
    }
    updateAll(PatternPart::Draw, Hold::Respect);
    showLoadCaption();
}

void StructureForm::onClear() {
    document_.saved.Clear();
    showLoadCaption();
    emit savedSetsChanged();
}

void StructureForm::showOpenedStructure(const model::Structure& structure,
                                        const model::ViewSettings& view) {
    document_.structure = structure;
    document_.view = view;
    document_.superGroupResetPending = false;
    const model::Structure& s = document_.structure;
    basicGroupList->setCurrentIndex(s.basicGroup - 1);
    showLatticeFields();
    showLatticeFieldsForGroup();
    showMatrixFields();
    superGroupList->setCurrentIndex(s.superGroup - 1);
    commonNameList->setCurrentIndex(s.commonNameRow);
    // What the boxes' handlers do when Load sets them, here with one update at the end.
    const model::PatternOptions options = s.options;
    for (auto [box, ticked] : {std::pair{includeDomainsBox, options.includeDomains},
                               std::pair{paintDomainsBox, options.paintDomains},
                               std::pair{include1x1Box, options.include1x1},
                               std::pair{includeBasesBox, options.includeBases},
                               std::pair{constrainedBox, s.constrained}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(ticked);
    }
    paintDomainsBox->setVisible(options.includeDomains);
    domainCountLabel->setVisible(options.includeDomains);
    // An opened file is shown whole: it ends a hold of the matrix.
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::restoreSavedSets(const std::vector<model::SavedState>& newestFirst) {
    document_.saved.Restore(newestFirst);
    showLoadCaption();
}

void StructureForm::onHelp() {
    const QString path = helpFilePath();
    if (!QFileInfo::exists(path)) {
        showMessage(QStringLiteral("The help file was not found:\n") + path);
        return;
    }
    if (!help_) help_ = new platform::HelpViewer();
    help_->ShowContents(path);
    help_->raise();
    help_->activateWindow();
}

}  // namespace quorvex::window
