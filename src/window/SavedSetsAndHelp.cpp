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
        // The boxes show the restored options. A changed "1x1" or "bases" box
        // ends a hold of the matrix, as its click would; a changed domain box
        // redraws the pattern box, even while the matrix is held.
        const model::PatternOptions options = s.options;
        const model::PatternOptions shown = checkedOptions();
        const bool endsHold = options.include1x1 != shown.include1x1 ||
                              options.includeBases != shown.includeBases;
        const bool redrawsPattern = options.includeDomains != shown.includeDomains ||
                                    options.paintDomains != shown.paintDomains;
        showRestoredBoxes(s);
        if (matrixHold_ && !endsHold) {
            if (redrawsPattern) runPatternDraw();
        } else {
            runUpdate(PatternPart::Draw, endsHold ? Hold::End : Hold::Respect);
        }
    }
    emit documentEdited();
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
    showRestoredBoxes(s);
    // An opened file is shown whole: it ends a hold of the matrix.
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::showRestoredBoxes(const model::Structure& s) {
    // Without their handlers: the caller runs one update for all of them. The
    // constraint box's handler would judge the restored group against the
    // previous superlattice; the update recomputes the allowed groups.
    for (auto [box, ticked] : {std::pair{includeDomainsBox, s.options.includeDomains},
                               std::pair{paintDomainsBox, s.options.paintDomains},
                               std::pair{include1x1Box, s.options.include1x1},
                               std::pair{includeBasesBox, s.options.includeBases},
                               std::pair{constrainedBox, s.constrained}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(ticked);
    }
    paintDomainsBox->setVisible(s.options.includeDomains);
    domainCountLabel->setVisible(s.options.includeDomains);
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
