// Mouse editing: dragging a superlattice vector's tip in the lattice box or
// b1*, b2* in the pattern box, and the legend click that rings one
// subpattern.
#include <cmath>
#include <optional>

#include "model/FormLayout.h"
#include "render/PatternDrawing.h"
#include "model/Spots.h"
#include "window/FieldFormats.h"
#include "window/SpotReadout.h"
#include "window/StructureForm.h"

namespace quorvex::window {

namespace {

// Box edges are compared in single precision, as the pointer arrives.
bool InsideBox(float x, float y, const model::Box& box) {
    const float l = static_cast<float>(box.left), t = static_cast<float>(box.top);
    const float r = static_cast<float>(box.Right()), b = static_cast<float>(box.Bottom());
    return l < x && x < r && t < y && y < b;
}

// The nearest lattice index, when v lies within 0.2 of it.
bool NearLatticeIndex(double v, Int32& index) {
    if (!model::RoundToInt32(v, index)) return false;
    return std::fabs(v - index) < 0.2;
}

// A press within a tenth of a vector's length of its tip takes it.
bool NearTip(model::Vec2 pointer, model::Vec2 tip) {
    const model::Vec2 d{pointer.x - tip.x, pointer.y - tip.y};
    return model::Dot(d, d) / model::Dot(tip, tip) < 0.01;
}

constexpr double kTrailRingFraction = 0.5;  // of the default dot radius
constexpr double kHighlightMargin = 35;

}  // namespace

bool StructureForm::insideLatticeBox(float x, float y) const {
    return InsideBox(x, y, model::kLatticeBox);
}

bool StructureForm::insidePatternBox(float x, float y) const {
    return InsideBox(x, y, model::kPatternBox);
}

model::Vec2 StructureForm::latticeCoordinates(float x, float y) const {
    const model::CellVectors& v = document_.derived.vectors;
    const double dx = x - model::kLatticeBox.CentreX(), dy = -(y - model::kLatticeBox.CentreY());
    const double d = (v.a2.y * v.a1.x - v.a2.x * v.a1.y) * document_.derived.latticeScale;
    return {(v.a2.y * dx - v.a2.x * dy) / d, (v.a1.x * dy - v.a1.y * dx) / d};
}

model::Vec2 StructureForm::patternVector(float x, float y) const {
    const double scale = document_.derived.pattern.scale;
    return {(x - model::kPatternBox.CentreX()) / scale, -(y - model::kPatternBox.CentreY()) / scale};
}

void StructureForm::onMousePressed(float x, float y) {
    platform::Surface& s = *surface_;
    const model::SuperlatticeMatrix& m = document_.structure.matrix;
    drag_.target = DragTarget::LatticeTip;
    if (insideLatticeBox(x, y)) {
        // The trail of a drag is shown but not kept.
        s.SetRetained(false);
        const model::Vec2 at = latticeCoordinates(x, y);
        if (!NearLatticeIndex(at.x, drag_.fromN1) || !NearLatticeIndex(at.y, drag_.fromN2)) return;
        const model::CellVectors& v = document_.derived.vectors;
        const double scale = document_.derived.latticeScale;
        auto tip = [&](double i, double j) {
            return model::Vec2{(j * v.a2.x + i * v.a1.x) * scale + model::kLatticeBox.CentreX(),
                               model::kLatticeBox.CentreY() - (i * v.a1.y + j * v.a2.y) * scale};
        };
        const bool onB1 = drag_.fromN1 == m.m11 && drag_.fromN2 == m.m12;
        const bool onB2 = !onB1 && drag_.fromN1 == m.m21 && drag_.fromN2 == m.m22;
        if (onB1 || onB2) {
            drag_.active = true;
            const model::Vec2 t = onB1 ? tip(m.m11, m.m12) : tip(m.m21, m.m22);
            s.Line(t.x, t.y, x, y, model::kRed);
        }
    } else if (includeBasesBox->isChecked() && insidePatternBox(x, y)) {
        s.SetRetained(false);
        const model::Vec2 pointer = patternVector(x, y);
        const model::Pattern& pattern = document_.derived.pattern;
        if (NearTip(pointer, pattern.rb1)) {
            drag_.target = DragTarget::ReciprocalB1;
        } else if (NearTip(pointer, pattern.rb2)) {
            drag_.target = DragTarget::ReciprocalB2;
        } else {
            return;
        }
        s.SetCurrentPosition(x, y);
        drag_.active = true;
    }
}

void StructureForm::onMouseMoved(float x, float y) {
    if (!drag_.active) return;
    platform::Surface& s = *surface_;
    if (insideLatticeBox(x, y)) {
        s.LineTo(x, y, model::kRed);
        s.SetFillStyle(platform::FillStyle::Transparent);
        s.Circle(x, y, model::kDefaultDotRadius * kTrailRingFraction, model::kRed);
    } else if (insidePatternBox(x, y)) {
        s.LineTo(x, y, model::kWhite);
    }
}

void StructureForm::onMouseReleased(float x, float y) {
    redrawOnActivate_ = false;
    const bool latticeDrag = drag_.active && drag_.target == DragTarget::LatticeTip;
    const bool reciprocalDrag = drag_.target != DragTarget::LatticeTip;
    drag_.active = false;
    surface_->SetRetained(true);

    if (insideLatticeBox(x, y)) {
        if (latticeDrag) dropLatticeVector(x, y);
        return;
    }
    if (reciprocalDrag) {
        if (insidePatternBox(x, y)) dropReciprocalVector(x, y);
        return;
    }
    clickLegend(x, y);
}

void StructureForm::dropLatticeVector(float x, float y) {
    const model::Vec2 at = latticeCoordinates(x, y);
    Int32 n1 = 0, n2 = 0;
    if (!NearLatticeIndex(at.x, n1) || !NearLatticeIndex(at.y, n2)) return;
    if (n1 == drag_.fromN1 && n2 == drag_.fromN2) return;
    model::SuperlatticeMatrix& m = document_.structure.matrix;
    // The matrix row of the vector whose tip was taken, and its two fields.
    const bool first = drag_.fromN1 == m.m11 && drag_.fromN2 == m.m12;
    const bool second = !first && drag_.fromN1 == m.m21 && drag_.fromN2 == m.m22;
    if (first || second) {
        Int32& r1 = first ? m.m11 : m.m21;
        Int32& r2 = first ? m.m12 : m.m22;
        r1 = n1;
        r2 = n2;
        if (m.Singular()) {
            showMessage(QStringLiteral("Superlattice matrix inconsistent"));
            r1 = drag_.fromN1;
            r2 = drag_.fromN2;
            updateAll(PatternPart::Skip, Hold::End);
            return;
        }
        (first ? matrixField11 : matrixField21)->setText(Formatted(r1, kMatrixFormat));
        (first ? matrixField12 : matrixField22)->setText(Formatted(r2, kMatrixFormat));
    }
    document_.view.latticeZoom = 1.0;
    showNoCommonName();
    document_.superGroupResetPending = true;
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::dropReciprocalVector(float x, float y) {
    const model::Vec2 pointer = patternVector(x, y);
    const model::Pattern& pattern = document_.derived.pattern;
    const model::Vec2 rb1 = drag_.target == DragTarget::ReciprocalB1 ? pointer : pattern.rb1;
    const model::Vec2 rb2 = drag_.target == DragTarget::ReciprocalB2 ? pointer : pattern.rb2;
    // A drop that makes the reciprocal vectors parallel (the centre among
    // them) has no real-space lattice, and a matrix beyond 32 bits cannot be
    // held: such a drop is refused and nothing changes.
    const double ds = rb2.y * rb1.x - rb2.x * rb1.y;
    if (!(std::fabs(ds) > 0) || !std::isfinite(ds)) return;
    const model::Vec2 b1{rb2.y / ds, -rb2.x / ds}, b2{-rb1.y / ds, rb1.x / ds};
    const model::CellVectors& v = document_.derived.vectors;
    const double da = v.a2.y * v.a1.x - v.a2.x * v.a1.y;
    model::SuperlatticeMatrix m;
    if (!model::RoundToInt32((b1.x * v.a2.y - b1.y * v.a2.x) / da, m.m11) ||
        !model::RoundToInt32((v.a1.x * b1.y - v.a1.y * b1.x) / da, m.m12) ||
        !model::RoundToInt32((b2.x * v.a2.y - b2.y * v.a2.x) / da, m.m21) ||
        !model::RoundToInt32((v.a1.x * b2.y - v.a1.y * b2.x) / da, m.m22))
        return;
    // A drop whose matrix rounds to a singular one is refused like a typed one.
    if (m.Singular()) {
        showMessage(QStringLiteral("Superlattice matrix inconsistent"));
        return;
    }
    document_.superGroupResetPending = true;
    document_.structure.matrix = m;
    showMatrixFields();
    showNoCommonName();
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::clickLegend(float x, float y) {
    // While the pattern box is blank there is no legend to click.
    if (!document_.derived.patternValid) return;
    if (!(paintDomainsBox->isChecked() && includeDomainsBox->isChecked())) return;
    const int entry = render::LegendEntryAt(
        x, y, static_cast<int>(document_.derived.pattern.subpatterns.size()));
    if (entry == 0) return;
    updateAll(PatternPart::Draw, Hold::End);
    if (!document_.derived.patternValid) return;
    render::HighlightSubpattern(*surface_, document_.derived.pattern, entry,
                                document_.view.spotRadius, includeBasesBox->isChecked());
}

void StructureForm::readOutSpot(float x, float y, bool pin) {
    if (readoutPinned_ && !pin) return;
    std::optional<QString> text;
    const model::DerivedState& d = document_.derived;
    if (d.patternValid && insidePatternBox(x, y) && d.pattern.scale > 0) {
        model::SpotListOptions options;
        options.include1x1 = include1x1Box->isChecked();
        options.indexDenominator = std::llabs(document_.structure.matrix.Determinant());
        // A spot answers within its ring and a little beyond.
        const double reach = (document_.view.spotRadius + kHighlightMargin + 30) / d.pattern.scale;
        if (const auto spot = model::SpotNear(d.pattern, d.vectors, patternVector(x, y), reach, options))
            text = SpotReadout(*spot, std::nullopt,
                               model::MakeScreenScale(document_.structure, document_.screen).perUnit,
                               paintDomainsBox->isChecked() && includeDomainsBox->isChecked());
    }
    // A click on a spot pins its read-out; a click elsewhere lets it follow again.
    readoutPinned_ = pin && text.has_value();
    emit spotUnderPointer(text.value_or(QString()), readoutPinned_);
}

}  // namespace quorvex::window
