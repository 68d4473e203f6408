// How the window's fields and lists show their values.
#pragma once

#include <QString>
#include <string_view>

namespace quorvex::window {

// Lengths with four decimals, the cell angle with one, matrix entries whole.
constexpr const char* kLengthFormat = "###0.0000";
constexpr const char* kAngleFormat = "###0.0";
constexpr const char* kMatrixFormat = "####0";

// The size scroll bars run from 0 to this radius (twips), largest at the top.
constexpr int kLargestRadius = 150;

QString Formatted(double value, const char* format);
// A list row as stored: cut or padded with blanks to its fixed width.
QString ListRow(std::string_view text, std::size_t width);

}  // namespace quorvex::window
