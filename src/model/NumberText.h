// Reading numbers typed into the fields and formatting numbers for display.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/Basics.h"

namespace quorvex::model {

// The value of the leading number of a text: blanks, tabs and line feeds are
// ignored anywhere; an optional sign, digits with an optional decimal point
// and an optional exponent (E or D), or an integer after &H or &O. Reading
// stops at the first other character; no number gives 0.
double LeadingNumber(std::string_view text);

// The locale-aware conversion of a matrix entry: surrounding blanks, a sign,
// the decimal separator and digit grouping accepted, halves rounded to even.
// No value when the text is not a number or the result leaves 32 bits.
std::optional<Int32> ConvertInteger(std::string_view text, char decimalSeparator = '.',
                                   char groupSeparator = ',');

// "###0.0000", "###0.0" and "####0": at least one digit before the point, the
// pattern's number of decimals, no leading blanks.
std::string FormatNumber(double value, std::string_view pattern);

}  // namespace quorvex::model
