// libFuzzer target for the two readers of typed numbers and the formatter that
// shows their results: no input may crash them, overflow or give a value that
// does not read back as itself once formatted.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "model/NumberText.h"

namespace {

using quorvex::model::ConvertInteger;
using quorvex::model::FormatNumber;
using quorvex::model::Int32;
using quorvex::model::LeadingNumber;

[[noreturn]] void Fail(const char* what, std::string_view text, const std::string& shown) {
    std::fprintf(stderr, "%s: input \"%.*s\" shows \"%s\"\n", what, static_cast<int>(text.size()),
                 text.data(), shown.c_str());
    std::abort();
}

struct RealPattern {
    const char* pattern;
    double halfUnit;  // half a unit of the last decimal shown
};

constexpr RealPattern kRealPatterns[] = {{"###0.0000", 0.5e-4}, {"###0.0", 0.05}, {"####0", 0.5}};

// Decimal separator and digit grouping of a few locales.
constexpr std::pair<char, char> kSeparators[] = {{'.', ','}, {',', '.'}, {'.', '\0'}, {',', ' '}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const double x = LeadingNumber(text);
    if (std::isnan(x)) Fail("LeadingNumber gave NaN", text, "");
    for (const RealPattern& p : kRealPatterns) {
        const std::string shown = FormatNumber(x, p.pattern);
        if (shown.empty()) Fail("empty text", text, shown);
        if (!std::isfinite(x)) continue;
        // What the field shows reads back as the value, up to the rounding shown.
        const double back = LeadingNumber(shown);
        if (!(std::fabs(back - x) <= p.halfUnit * (1 + 1e-9) + std::fabs(x) * 0x1p-52))
            Fail("formatted value reads back differently", text, shown);
    }

    // A plain integer of up to 18 digits is read exactly, or refused beyond 32 bits.
    std::string_view core = text;
    while (!core.empty() && (core.front() == ' ' || core.front() == '\t')) core.remove_prefix(1);
    while (!core.empty() && (core.back() == ' ' || core.back() == '\t')) core.remove_suffix(1);
    const std::size_t sign = !core.empty() && (core[0] == '+' || core[0] == '-') ? 1 : 0;
    if (core.size() > sign && core.size() - sign <= 18 &&
        core.find_first_not_of("0123456789", sign) == std::string_view::npos) {
        const long long exact = std::stoll(std::string(core));
        const bool fits = exact >= INT32_MIN && exact <= INT32_MAX;
        const std::optional<Int32> n = ConvertInteger(text);
        if (n.has_value() != fits || (fits && *n != exact))
            Fail("plain integer read wrongly", text, n ? std::to_string(*n) : "refused");
    }

    for (const auto& [decimal, group] : kSeparators) {
        const std::optional<Int32> n = ConvertInteger(text, decimal, group);
        if (!n) continue;
        const std::string shown = FormatNumber(*n, "####0");
        if (shown != std::to_string(*n)) Fail("matrix entry shown wrongly", text, shown);
        if (ConvertInteger(shown, decimal, group) != n)
            Fail("matrix entry does not read back", text, shown);
    }
    return 0;
}
