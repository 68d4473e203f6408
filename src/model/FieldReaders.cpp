// Placeholder until the field readers land.
#include "model/FieldReaders.h"
#include <cstdio>
namespace quorvex::model {
double LeadingNumber(std::string_view) { return 0; }
std::optional<Long> ConvertInteger(std::string_view, char, char) { return std::nullopt; }
std::string FormatNumber(double value, std::string_view pattern) {
    char buf[64];
    int decimals = 0;
    auto dot = pattern.find('.');
    if (dot != std::string_view::npos) decimals = static_cast<int>(pattern.size() - dot - 1);
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}
}
