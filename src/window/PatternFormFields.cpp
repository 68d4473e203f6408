// The seven number fields: a, b, alpha and the four matrix entries.
#include <QLocale>
#include <cmath>

#include "model/FieldReaders.h"
#include "model/Vectors.h"
#include "window/PatternForm.h"

namespace quorvex::window {

namespace {
QString Formatted(double value, const char* pattern) {
    return QString::fromStdString(model::FormatNumber(value, pattern));
}
}  // namespace

void PatternForm::ReadRealField(double& value, QLineEdit* field, const char* pattern,
                                Long& invalid) {
    const QString text = field->text();
    const double x = model::LeadingNumber(text.toStdString());
    // A value that is no finite number is refused like zero.
    if (x == 0 || !std::isfinite(x)) {
        invalid = 1;
        Message(QStringLiteral("Wrong input: ") + text);
        field->setText(Formatted(value, pattern));
        field->setFocus();
        return;
    }
    invalid = 0;
    if (x != value) field->setText(Formatted(x, pattern));
    value = x;
}

void PatternForm::ReadIntegerField(Long& value, QLineEdit* field, const char* pattern,
                                   Long& invalid) {
    const QString text = field->text();
    const QLocale locale;
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const char decimalChar = decimal.size() == 1 && decimal[0].unicode() < 128
                                 ? static_cast<char>(decimal[0].unicode())
                                 : '.';
    const char groupChar = group.size() == 1 && group[0].unicode() < 128
                               ? static_cast<char>(group[0].unicode())
                               : ',';
    const std::optional<Long> n = model::ConvertInteger(text.toStdString(), decimalChar, groupChar);
    if (!n) {
        invalid = 1;
        Message(QStringLiteral("Wrong input: ") + text);
        field->setText(Formatted(value, pattern));
        field->setFocus();
        return;
    }
    invalid = 0;
    if (*n != value) field->setText(Formatted(*n, pattern));
    value = *n;
}

void PatternForm::TextGotFocus(QLineEdit*) { SelectActiveText(); }

void PatternForm::TextKeyUp(QLineEdit* field, int keyCode) {
    if (keyCode != 13) return;
    TextLostFocus(field);
}

void PatternForm::TextLostFocus(QLineEdit* field) {
    if (field == Text1) LengthEntered(m_.LatticeA, Text1, true);
    if (field == Text2) LengthEntered(m_.LatticeB, Text2, false);
    if (field == Text3) AlphaEntered();
    if (field == Text6) MatrixEntered(m_.M11, Text6);
    if (field == Text7) MatrixEntered(m_.M21, Text7);
    if (field == Text8) MatrixEntered(m_.M12, Text8);
    if (field == Text9) MatrixEntered(m_.M22, Text9);
}

void PatternForm::LengthEntered(double& value, QLineEdit* field, bool bFollowsA) {
    const double old = value;
    Long invalid = 0;
    ReadRealField(value, field, "###0.0000", invalid);
    if (invalid != 0) return;
    if (value <= 0) value = old;
    field->setText(Formatted(value, "###0.0000"));
    if (bFollowsA && m_.BasicGroup > 9) m_.LatticeB = m_.LatticeA;
    UpdateAll(1, 0);
}

void PatternForm::AlphaEntered() {
    const double old = m_.LatticeAlpha;
    Long invalid = 0;
    ReadRealField(m_.LatticeAlpha, Text3, "###0.0", invalid);
    if (invalid != 0) return;
    const double a = std::fabs(m_.LatticeAlpha);
    if (!(a >= 5.0 && a <= 175.0)) {
        Message(QStringLiteral("Invalid alpha value: \n  5 < alpha < 175"));
        m_.LatticeAlpha = old;
    }
    Text3->setText(Formatted(m_.LatticeAlpha, "###0.0"));
    UpdateAll(1, 0);
}

void PatternForm::MatrixEntered(Long& value, QLineEdit* field) {
    const Long old = value;
    Long invalid = 0;
    ReadIntegerField(value, field, "####0", invalid);
    if (invalid != 0 || value == old) return;
    if (model::MatrixSingular(m_)) {
        Message(QStringLiteral("Superlattice matrix inconsistent"));
        field->setFocus();
        SelectActiveText();
        return;
    }
    field->setText(Formatted(value, "####0"));
    Combo3->setCurrentIndex(0);
    m_.ResetSuperGroup = true;
    UpdateAll(1, -1);
}

void PatternForm::Text1_GotFocus() { TextGotFocus(Text1); }
void PatternForm::Text1_KeyUp(int keyCode) { TextKeyUp(Text1, keyCode); }
void PatternForm::Text1_LostFocus() { TextLostFocus(Text1); }
void PatternForm::Text2_GotFocus() { TextGotFocus(Text2); }
void PatternForm::Text2_KeyUp(int keyCode) { TextKeyUp(Text2, keyCode); }
void PatternForm::Text2_LostFocus() { TextLostFocus(Text2); }
void PatternForm::Text3_GotFocus() { TextGotFocus(Text3); }
void PatternForm::Text3_KeyUp(int keyCode) { TextKeyUp(Text3, keyCode); }
void PatternForm::Text3_LostFocus() { TextLostFocus(Text3); }
void PatternForm::Text6_GotFocus() { TextGotFocus(Text6); }
void PatternForm::Text6_KeyUp(int keyCode) { TextKeyUp(Text6, keyCode); }
void PatternForm::Text6_LostFocus() { TextLostFocus(Text6); }
void PatternForm::Text7_GotFocus() { TextGotFocus(Text7); }
void PatternForm::Text7_KeyUp(int keyCode) { TextKeyUp(Text7, keyCode); }
void PatternForm::Text7_LostFocus() { TextLostFocus(Text7); }
void PatternForm::Text8_GotFocus() { TextGotFocus(Text8); }
void PatternForm::Text8_KeyUp(int keyCode) { TextKeyUp(Text8, keyCode); }
void PatternForm::Text8_LostFocus() { TextLostFocus(Text8); }
void PatternForm::Text9_GotFocus() { TextGotFocus(Text9); }
void PatternForm::Text9_KeyUp(int keyCode) { TextKeyUp(Text9, keyCode); }
void PatternForm::Text9_LostFocus() { TextLostFocus(Text9); }

}  // namespace quorvex::window
