// The three structure lists: basic group, superstructure group, common name.
#include <cmath>

#include "window/StructureForm.h"

namespace quorvex::window {

void StructureForm::applyCommonName(Int32 row) {
    model::SuperlatticeMatrix& matrix = document_.structure.matrix;
    if (row <= 1)
        matrix = model::SuperlatticeMatrix{};
    else if (row < model::kCommonNameCount)
        matrix = model::kCommonNames[row].matrix;
    // Rows outside the list show nothing new; the list keeps its text.
    if (row >= 0 && row < commonNameList->count()) commonNameList->setCurrentIndex(row);
    showMatrixFields();
}

void StructureForm::showNoCommonName() {
    // The document says what the list shows, so that a saved set shows it again.
    document_.structure.commonNameRow = model::kNoCommonName;
    commonNameList->setCurrentIndex(model::kNoCommonName);
}

void StructureForm::showLatticeFieldsForGroup() {
    const Int32 g = document_.structure.basicGroup;
    const bool oblique = g <= model::kP2;
    const bool rectangular = g >= model::kPm && g <= model::kC2mm;
    lengthBLabel->setVisible(oblique || rectangular);
    lengthBField->setVisible(oblique || rectangular);
    alphaLabel->setVisible(oblique);
    alphaField->setVisible(oblique);
}

void StructureForm::onBasicGroupChosen() {
    model::Structure& s = document_.structure;
    const Int32 old = s.basicGroup;
    s.basicGroup = basicGroupList->currentIndex() + 1;
    if (s.basicGroup != old) {
        lengthBLabel->hide();
        alphaLabel->hide();
        lengthBField->hide();
        alphaField->hide();
        // Each family starts from a cell of its own shape.
        if (s.basicGroup <= model::kP2) {
            s.a = std::sqrt(2.0);
            s.b = 1.0;
            s.alpha = 55.0;
        } else if (s.basicGroup <= model::kC2mm) {
            s.a = std::sqrt(2.0);
            s.b = 1.0;
            s.alpha = 90.0;
        } else if (s.basicGroup <= model::kP4gm) {
            s.a = 1.0;
            s.b = 1.0;
            s.alpha = 90.0;
        } else {
            s.a = 1.0;
            s.b = 1.0;
            s.alpha = 120.0;
        }
        showLatticeFieldsForGroup();
        showLatticeFields();
        if (model::LatticeTypeOf(s.basicGroup) != model::LatticeTypeOf(old)) {
            setRotation(0, 1, 0);
            s.commonNameRow = 1;
            applyCommonName(1);
            setChecked(includeDomainsBox, false);
            paintDomainsBox->hide();
            domainCountLabel->hide();
            document_.view.latticeZoom = 1.0;
            document_.view.patternZoom = 1.0;
        }
        document_.superGroupResetPending = true;
        s.superGroup = s.basicGroup;
    }
    basicGroupList->setCurrentIndex(s.basicGroup - 1);
    superGroupList->setCurrentIndex(s.superGroup - 1);
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onSuperGroupChosen() {
    model::Structure& s = document_.structure;
    const Int32 old = s.superGroup;
    s.superGroup = superGroupList->currentIndex() + 1;
    if (s.superGroup != old) updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onCommonNameChosen() {
    model::Structure& s = document_.structure;
    s.commonNameRow = commonNameList->currentIndex();
    commonNameList->setCurrentIndex(s.commonNameRow);
    applyCommonName(s.commonNameRow);
    document_.superGroupResetPending = true;
    document_.view.latticeZoom = 1.0;
    updateAll(PatternPart::Draw, Hold::End);
}

}  // namespace quorvex::window
