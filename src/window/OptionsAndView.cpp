// Check boxes, the view buttons (zoom, rotation, sizes), the matrix hold,
// window activation and the size scroll bars.
#include <cmath>

#include "model/AllowedGroups.h"
#include "model/FormLayout.h"
#include "render/SymmetryDiagram.h"
#include "window/FieldFormats.h"
#include "window/StructureForm.h"

namespace quorvex::window {

namespace {
// Each zoom click scales a box's picture by this factor.
constexpr double kZoomStep = 1.2;
// Each rotation click turns both boxes by this many degrees.
constexpr double kRotationStep = 10;
}  // namespace

void StructureForm::onInclude1x1Toggled() {
    document_.structure.options.include1x1 = include1x1Box->isChecked();
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onPaintDomainsToggled() {
    document_.structure.options.paintDomains = paintDomainsBox->isChecked();
    drawPatternBox();
}

void StructureForm::onIncludeDomainsToggled() {
    const bool ticked = includeDomainsBox->isChecked();
    paintDomainsBox->setVisible(ticked);
    domainCountLabel->setVisible(ticked);
    document_.structure.options.includeDomains = ticked;
    drawPatternBox();
}

void StructureForm::onIncludeBasesToggled() {
    document_.structure.options.includeBases = includeBasesBox->isChecked();
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onConstrainedToggled() {
    model::Document& d = document_;
    d.structure.constrained = constrainedBox->isChecked();
    d.derived.allowedGroups = model::ComputeAllowedGroups(d.structure, d.derived.vectors,
                                                          d.derived.superlattice.latticeType);
    showAllowedGroups();
    if (!d.derived.allowedGroups.Allows(d.structure.superGroup)) {
        d.structure.superGroup = model::kP1;
        superGroupList->setCurrentIndex(0);
        superDiagramTitle->setText(
            QString::fromStdString(render::SuperDiagramTitle(d.structure.superGroup)));
        drawSuperDiagram();
    }
    emit documentEdited();
}

void StructureForm::onRefresh() { updateAll(PatternPart::Draw, Hold::End); }

void StructureForm::onExit() { window()->close(); }

void StructureForm::onLatticeZoomIn() {
    document_.view.latticeZoom /= kZoomStep;
    updateAll(PatternPart::Skip, Hold::End);
}

void StructureForm::onLatticeZoomOut() {
    document_.view.latticeZoom *= kZoomStep;
    updateAll(PatternPart::Skip, Hold::End);
}

void StructureForm::onLatticeZoomReset() {
    document_.view.latticeZoom = 1.0;
    updateAll(PatternPart::Skip, Hold::End);
}

void StructureForm::onPatternZoomIn() {
    document_.view.patternZoom /= kZoomStep;
    drawPatternBox();
}

void StructureForm::onPatternZoomOut() {
    document_.view.patternZoom *= kZoomStep;
    drawPatternBox();
}

void StructureForm::onPatternZoomReset() {
    document_.view.patternZoom = 1.0;
    drawPatternBox();
}

void StructureForm::setRotation(double degrees, double cos, double sin) {
    document_.view.rotationDegrees = degrees;
    document_.view.rotationCos = cos;
    document_.view.rotationSin = sin;
}

void StructureForm::stepRotation(double degrees) {
    const double angle = document_.view.rotationDegrees + degrees;
    setRotation(angle, std::cos(angle * model::kDegToRad), std::sin(angle * model::kDegToRad));
}

void StructureForm::onRotateRight() {
    stepRotation(kRotationStep);
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onRotateLeft() {
    stepRotation(-kRotationStep);
    updateAll(PatternPart::Draw, Hold::End);
}

// The presets are exact: no rounding of cos(90 degrees).
void StructureForm::onRotateMinus90() {
    setRotation(-90, 0, -1);
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onRotateZero() {
    setRotation(0, 1, 0);
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onRotatePlus90() {
    setRotation(90, 0, 1);
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onDefaultSizes() {
    document_.view.dotRadius = model::kDefaultDotRadius;
    document_.view.spotRadius = model::kDefaultSpotRadius;
    // A bar whose value changes runs its change handler and redraws.
    dotSizeBar->setValue(dotSizeBar->maximum() -
                         static_cast<int>(std::lround(document_.view.dotRadius)));
    spotSizeBar->setValue(spotSizeBar->maximum() -
                          static_cast<int>(std::lround(document_.view.spotRadius)));
    setMatrixHold(false);
    redrawOnActivate_ = true;
}

void StructureForm::setMatrixHold(bool held) {
    matrixHold_ = held;
    QPalette p = matrixLabel->palette();
    p.setColor(QPalette::Window, held ? QColor(255, 0, 0) : palette().color(QPalette::Window));
    matrixLabel->setPalette(p);
}

void StructureForm::onMatrixLabelClicked() { setMatrixHold(!matrixHold_); }

void StructureForm::onActivated() {
    if (redrawOnActivate_) updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::drawSizePreview(QScrollBar* bar) {
    platform::Surface& s = *surface_;
    const bool dots = bar == dotSizeBar;
    const model::TwipPoint centre = dots ? model::kDotPreviewCentre : model::kSpotPreviewCentre;
    const double radius = dots ? document_.view.dotRadius : document_.view.spotRadius;
    s.SetFillStyle(platform::FillStyle::Solid);
    s.SetFillColor(s.BackColor());
    s.Circle(centre.x, centre.y, bar->maximum(), s.BackColor());
    s.SetFillColor(dots ? model::kBlack : model::kWhite);
    s.Circle(centre.x, centre.y, radius, model::kBlack);
    redrawOnActivate_ = true;
    emit documentEdited();
}

void StructureForm::onDotSizeDragged() {
    document_.view.dotRadius = dotSizeBar->maximum() - dotSizeBar->sliderPosition();
    drawSizePreview(dotSizeBar);
}

void StructureForm::onDotSizeChanged() {
    document_.view.dotRadius = dotSizeBar->maximum() - dotSizeBar->value();
    drawSizePreview(dotSizeBar);
    if (isVisible()) updateAll(PatternPart::Skip, Hold::End);
}

void StructureForm::onSpotSizeDragged() {
    document_.view.spotRadius = spotSizeBar->maximum() - spotSizeBar->sliderPosition();
    drawSizePreview(spotSizeBar);
}

void StructureForm::onSpotSizeChanged() {
    document_.view.spotRadius = spotSizeBar->maximum() - spotSizeBar->value();
    drawSizePreview(spotSizeBar);
    if (isVisible()) drawPatternBox();
}

}  // namespace quorvex::window
