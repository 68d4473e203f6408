// The update cycle: from the document to everything the window shows.
#include <QApplication>
#include <cmath>

#include "model/AllowedGroups.h"
#include "model/CellAnalysis.h"
#include "model/FormLayout.h"
#include "platform/MessageBox.h"
#include "render/PatternDrawing.h"
#include "render/RealLattice.h"
#include "render/SymmetryDiagram.h"
#include "window/StructureForm.h"

namespace quorvex::window {

void StructureForm::updateAll(PatternPart part, Hold hold) {
    runUpdate(part, hold);
    emit documentEdited();
}

void StructureForm::drawPatternBox() {
    runPatternDraw();
    emit documentEdited();
}

void StructureForm::runUpdate(PatternPart part, Hold hold) {
    model::Document& d = document_;
    if (d.structure.matrix.Singular()) {
        refuseSingularMatrix(matrixField11);
        return;
    }
    if (matrixHold_) {
        if (hold == Hold::Respect) return;
        setMatrixHold(false);
    }
    showBusy();
    ++updateRuns_;

    const model::CellVectors cell = model::ComputeCellVectors(d.structure);
    d.derived.vectors = cell;
    if (model::SuperlatticeTooLarge(cell)) {
        render::ShowSuperlatticeTooLarge(*surface_);
        legendTitleLabel->hide();
        d.derived.patternValid = false;
        hideBusy();
        emit patternChanged();
        return;
    }
    d.derived.patternValid = true;

    showCellAnalysis(cell);
    chooseSuperGroup(cell);
    drawSymmetryDiagrams(cell);
    d.derived.vectors = model::Rotated(cell, d.view, d.structure.matrix);
    d.derived.latticeScale = model::LatticeScale(d.derived.vectors, d.view.latticeZoom);
    drawLatticeBox();
    if (part == PatternPart::Draw) runPatternDraw();
    hideBusy();
}

void StructureForm::refuseSingularMatrix(QLineEdit* focusField) {
    showMessage(QStringLiteral("Superlattice matrix inconsistent"));
    focusField->setFocus();
    selectFocusedFieldText();
}

void StructureForm::showBusy() {
    busyLabel->show();
    busyLabel->repaint();
}

void StructureForm::hideBusy() { busyLabel->hide(); }

void StructureForm::showCellAnalysis(const model::CellVectors& unrotated) {
    const model::HigherSymmetryHint hint = model::CheckHigherSymmetry(document_.structure);
    higherSymmetryLabel->setText(QString::fromStdString(hint.caption));
    higherSymmetryLabel->setVisible(hint.visible);
    document_.derived.superlattice = model::AnalyzeSuperlattice(unrotated.b1, unrotated.b2);
    superlatticeParametersLabel->setText(
        QString::fromStdString(document_.derived.superlattice.caption));
}

void StructureForm::chooseSuperGroup(const model::CellVectors& unrotated) {
    model::Document& d = document_;
    d.derived.allowedGroups = model::ComputeAllowedGroups(
        d.structure, unrotated, d.derived.superlattice.latticeType);
    if (!d.derived.allowedGroups.Allows(d.structure.superGroup) || d.superGroupResetPending) {
        d.superGroupResetPending = false;
        d.structure.superGroup = model::kP1;
    }
    showAllowedGroups();
    superGroupList->setCurrentIndex(d.structure.superGroup - 1);
}

void StructureForm::showAllowedGroups() {
    allowedGroupsLabel->setText(
        QString::fromStdString(model::AllowedGroupsCaption(document_.derived.allowedGroups)));
}

void StructureForm::drawSymmetryDiagrams(const model::CellVectors& unrotated) {
    const model::Structure& s = document_.structure;
    basicDiagramTitle->setText(QString::fromStdString(render::BasicDiagramTitle(s.basicGroup)));
    render::DrawBasicDiagram(*surface_, s.basicGroup, unrotated.a1, unrotated.a2, document_.view);
    superDiagramTitle->setText(QString::fromStdString(render::SuperDiagramTitle(s.superGroup)));
    drawSuperDiagram();
}

void StructureForm::drawSuperDiagram() {
    drawSuperDiagramOn(*surface_);
}

void StructureForm::drawSuperDiagramOn(platform::Surface& s) const {
    const model::Document& d = document_;
    render::SuperDiagram diagram;
    diagram.group = d.structure.superGroup;
    diagram.basicGroup = d.structure.basicGroup;
    diagram.vectors = d.derived.vectors;
    diagram.rotationCos = d.view.rotationCos;
    diagram.rotationSin = d.view.rotationSin;
    diagram.centredAxis = d.derived.superlattice.centredAxis;
    diagram.rightHanded = d.derived.superlattice.rightHanded;
    diagram.axisSwap = d.derived.allowedGroups.Swaps(d.structure.superGroup);
    render::DrawSuperDiagram(s, diagram);
}

void StructureForm::drawLatticeBox() {
    const model::Document& d = document_;
    const model::Box& box = model::kLatticeBox;
    surface_->FilledRectangle(box.left, box.top, box.Right(), box.Bottom(), model::kWhite);

    // A bar whose value changes here runs its change handler, as a user's move would.
    dotSizeBar->setValue(dotSizeBar->maximum() - static_cast<int>(std::lround(d.view.dotRadius)));
    spotSizeBar->setValue(spotSizeBar->maximum() -
                          static_cast<int>(std::lround(d.view.spotRadius)));
    drawSizePreviews();

    render::DrawLatticeBox(*surface_, d.derived.vectors, d.derived.latticeScale, d.view.dotRadius,
                           include1x1Box->isChecked());
}

void StructureForm::drawSizePreviews() {
    drawSizePreviewsOn(*surface_);
}

void StructureForm::drawSizePreviewsOn(platform::Surface& s) const {
    // Both sample dots under the scroll bars, as every update draws them.
    const model::TwipPoint dot = model::kDotPreviewCentre, spot = model::kSpotPreviewCentre;
    s.SetFillStyle(platform::FillStyle::Solid);
    s.SetFillColor(s.BackColor());
    s.Circle(dot.x, dot.y, dotSizeBar->maximum(), s.BackColor());
    s.Circle(spot.x, spot.y, spotSizeBar->maximum(), s.BackColor());
    s.SetFillColor(model::kBlack);
    s.Circle(dot.x, dot.y, document_.view.dotRadius, model::kBlack);
    s.SetFillColor(model::kWhite);
    s.Circle(spot.x, spot.y, document_.view.spotRadius, model::kBlack);
}

void StructureForm::runPatternDraw() {
    if (document_.structure.matrix.Singular()) {
        refuseSingularMatrix(matrixField11);
        return;
    }
    // A superlattice refused as too large is not drawn by the pattern-only
    // redraws either: its box stays blank, and its spots can take half a minute.
    if (!document_.derived.patternValid) return;
    if (busyLabel->isHidden()) showBusy();
    ++patternRuns_;
    model::Structure structure = document_.structure;
    structure.options = checkedOptions();
    model::DerivedState& derived = document_.derived;
    derived.pattern =
        model::ComputePattern(derived.vectors, structure, document_.view, derived.allowedGroups);
    render::DrawPattern(*surface_, derived.pattern, structure.options, document_.view.spotRadius);
    legendTitleLabel->setVisible(render::LegendShown(structure.options));
    if (derived.pattern.domainsIncluded)
        domainCountLabel->setText(QString::fromStdString(derived.pattern.DomainCaption()));
    hideBusy();
    emit patternChanged();
}

}  // namespace quorvex::window

namespace quorvex::window {

void StructureForm::drawPictureOn(platform::Surface& s,
                                  const model::PatternOptions& options) const {
    const model::Document& d = document_;
    if (!d.derived.patternValid) {
        render::ShowSuperlatticeTooLarge(s);
        return;
    }
    const model::CellVectors unrotated = model::ComputeCellVectors(d.structure);
    render::DrawBasicDiagram(s, d.structure.basicGroup, unrotated.a1, unrotated.a2, d.view);
    drawSuperDiagramOn(s);
    drawSizePreviewsOn(s);
    render::DrawLatticeBox(s, d.derived.vectors, d.derived.latticeScale, d.view.dotRadius,
                           options.include1x1);
    model::Structure structure = d.structure;
    structure.options = options;
    const model::Pattern pattern =
        model::ComputePattern(d.derived.vectors, structure, d.view, d.derived.allowedGroups);
    render::DrawPattern(s, pattern, options, d.view.spotRadius);
}

}  // namespace quorvex::window
