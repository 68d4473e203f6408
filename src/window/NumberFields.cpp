// The seven number fields: a, b, alpha and the four matrix entries.
#include <QApplication>
#include <QLocale>
#include <cmath>

#include "model/NumberText.h"
#include "window/FieldFormats.h"
#include "window/StructureForm.h"

namespace quorvex::window {

namespace {

// The locale's separators as single characters, '.' and ',' when they are not.
char AsciiOr(const QString& text, char fallback) {
    return text.size() == 1 && text[0].unicode() < 128 ? static_cast<char>(text[0].unicode())
                                                       : fallback;
}

}  // namespace

void StructureForm::selectFocusedFieldText() {
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (field) field->selectAll();
}

bool StructureForm::readLength(double& value, QLineEdit* field, const char* format) {
    const QString text = field->text();
    const double x = model::LeadingNumber(text.toStdString());
    // A value that is no finite number is refused like zero.
    if (x == 0 || !std::isfinite(x)) {
        showMessage(QStringLiteral("Wrong input: ") + text);
        field->setText(Formatted(value, format));
        field->setFocus();
        return false;
    }
    if (x != value) field->setText(Formatted(x, format));
    value = x;
    return true;
}

bool StructureForm::readMatrixEntry(Int32& value, QLineEdit* field) {
    const QString text = field->text();
    const QLocale locale;
    const std::optional<Int32> n =
        model::ConvertInteger(text.toStdString(), AsciiOr(locale.decimalPoint(), '.'),
                              AsciiOr(locale.groupSeparator(), ','));
    if (!n) {
        showMessage(QStringLiteral("Wrong input: ") + text);
        field->setText(Formatted(value, kMatrixFormat));
        field->setFocus();
        return false;
    }
    if (*n != value) field->setText(Formatted(*n, kMatrixFormat));
    value = *n;
    return true;
}

void StructureForm::onFieldCommitted(QLineEdit* field) {
    model::Structure& s = document_.structure;
    if (field == lengthAField) onLengthCommitted(s.a, lengthAField, true);
    if (field == lengthBField) onLengthCommitted(s.b, lengthBField, false);
    if (field == alphaField) onAlphaCommitted();
    if (field == matrixField11) onMatrixEntryCommitted(s.matrix.m11, matrixField11);
    if (field == matrixField21) onMatrixEntryCommitted(s.matrix.m21, matrixField21);
    if (field == matrixField12) onMatrixEntryCommitted(s.matrix.m12, matrixField12);
    if (field == matrixField22) onMatrixEntryCommitted(s.matrix.m22, matrixField22);
}

void StructureForm::onLengthCommitted(double& value, QLineEdit* field, bool bFollowsA) {
    const double old = value;
    if (!readLength(value, field, kLengthFormat)) return;
    if (value <= 0) value = old;
    field->setText(Formatted(value, kLengthFormat));
    // Square and hexagonal cells have b = a.
    model::Structure& s = document_.structure;
    if (bFollowsA && s.basicGroup > model::kC2mm) s.b = s.a;
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onAlphaCommitted() {
    double& alpha = document_.structure.alpha;
    const double old = alpha;
    if (!readLength(alpha, alphaField, kAngleFormat)) return;
    const double size = std::fabs(alpha);
    if (!(size >= 5.0 && size <= 175.0)) {
        showMessage(QStringLiteral("Invalid alpha value: \n  5 < alpha < 175"));
        alpha = old;
    }
    alphaField->setText(Formatted(alpha, kAngleFormat));
    updateAll(PatternPart::Draw, Hold::End);
}

void StructureForm::onMatrixEntryCommitted(Int32& entry, QLineEdit* field) {
    const Int32 old = entry;
    if (!readMatrixEntry(entry, field) || entry == old) return;
    if (document_.structure.matrix.Singular()) {
        refuseSingularMatrix(field);
        return;
    }
    field->setText(Formatted(entry, kMatrixFormat));
    showNoCommonName();
    document_.superGroupResetPending = true;
    updateAll(PatternPart::Draw, Hold::Respect);
}

}  // namespace quorvex::window
