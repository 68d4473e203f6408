#include "model/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace quorvex::model {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    const char u = Upper(c);
    return (u >= 'A' && u <= 'F') ? u - 'A' + 10 : -1;
}

// Exponents are summed up to this bound and no further: beyond it every text
// already means an overflow or zero, and the sum can never overflow itself.
constexpr std::int64_t ExponentBound = 1'000'000'000'000'000;

std::int64_t AddDigit(std::int64_t value, char digit) {
    return value >= ExponentBound ? value : value * 10 + (digit - '0');
}

// An integer after &H or &O. Octal digits are regrouped into hexadecimal ones so
// that from_chars rounds long texts correctly instead of accumulating errors.
double PrefixedInteger(std::string_view digits, bool octal) {
    std::string hex;
    if (octal) {
        std::string bits;
        for (char c : digits) {
            const int v = c - '0';
            bits += (v & 4) ? '1' : '0';
            bits += (v & 2) ? '1' : '0';
            bits += (v & 1) ? '1' : '0';
        }
        bits.insert(0, (4 - bits.size() % 4) % 4, '0');
        for (std::size_t i = 0; i < bits.size(); i += 4) {
            int v = 0;
            for (std::size_t j = 0; j < 4; ++j) v = v * 2 + (bits[i + j] - '0');
            hex += "0123456789ABCDEF"[v];
        }
    } else {
        hex = digits;
    }
    double value = 0.0;
    const auto result =
        std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
    if (result.ec == std::errc::result_out_of_range) return std::numeric_limits<double>::infinity();
    return value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') s += c;

    if (s.size() >= 2 && s[0] == '&' && (Upper(s[1]) == 'H' || Upper(s[1]) == 'O')) {
        const bool octal = Upper(s[1]) == 'O';
        std::size_t end = 2;
        while (end < s.size() && (octal ? (s[end] >= '0' && s[end] <= '7') : HexValue(s[end]) >= 0))
            ++end;
        if (end == 2) return 0.0;
        return PrefixedInteger(std::string_view(s).substr(2, end - 2), octal);
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::string intDigits, fracDigits;
    while (i < s.size() && IsDigit(s[i])) intDigits += s[i++];
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) fracDigits += s[i++];
    }
    if (intDigits.empty() && fracDigits.empty()) return 0.0;

    std::int64_t exponent = 0;
    if (i < s.size() && (Upper(s[i]) == 'E' || Upper(s[i]) == 'D')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) negativeExponent = s[j++] == '-';
        // An exponent letter without digits ends the number before the letter.
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) exponent = AddDigit(exponent, s[j++]);
            if (negativeExponent) exponent = -exponent;
        }
    }

    const std::string number = intDigits + "." + fracDigits + "e" + std::to_string(exponent);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the decimal order of the first
        // significant digit tells which.
        std::int64_t order = exponent - 1;
        const auto firstInt = intDigits.find_first_not_of('0');
        const auto firstFrac = fracDigits.find_first_not_of('0');
        if (firstInt != std::string::npos)
            order = exponent + static_cast<std::int64_t>(intDigits.size() - firstInt) - 1;
        else if (firstFrac != std::string::npos)
            order = exponent - static_cast<std::int64_t>(firstFrac) - 1;
        value = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::optional<Int32> ConvertInteger(std::string_view text, char decimalSeparator,
                                   char groupSeparator) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);

    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // Integer digits; group separators only between digits, in groups of three.
    std::string intDigits;
    std::size_t groupLength = 0;
    bool grouped = false;
    while (i < text.size()) {
        const char c = text[i];
        if (IsDigit(c)) {
            intDigits += c;
            ++groupLength;
            if (grouped && groupLength > 3) return std::nullopt;
        } else if (groupSeparator != '\0' && c == groupSeparator && c != decimalSeparator) {
            if (groupLength == 0 || (grouped && groupLength != 3) || (!grouped && groupLength > 3))
                return std::nullopt;
            grouped = true;
            groupLength = 0;
        } else {
            break;
        }
        ++i;
    }
    if (grouped && groupLength != 3) return std::nullopt;

    std::string fracDigits;
    if (i < text.size() && text[i] == decimalSeparator) {
        ++i;
        while (i < text.size() && IsDigit(text[i])) fracDigits += text[i++];
    }
    if (intDigits.empty() && fracDigits.empty()) return std::nullopt;

    std::int64_t exponent = 0;
    if (i < text.size() && Upper(text[i]) == 'E') {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
        while (i < text.size() && IsDigit(text[i])) exponent = AddDigit(exponent, text[i++]);
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;

    // Exact decimal rounding on the digit string: a double would misjudge
    // halves such as 0.50000000000000001.
    std::string digits = intDigits + fracDigits;
    std::int64_t point = static_cast<std::int64_t>(intDigits.size()) + exponent;
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    digits.erase(0, first);
    point -= static_cast<std::int64_t>(first);
    if (point > 10) return std::nullopt;  // at least 10^10

    std::int64_t magnitude = 0;
    std::string_view fraction;
    std::string zeroPadded;
    if (point <= 0) {
        zeroPadded = std::string(static_cast<std::size_t>(std::min<std::int64_t>(-point, 1)), '0');
        zeroPadded += digits;
        fraction = zeroPadded;
    } else {
        const auto whole = static_cast<std::size_t>(point);
        for (std::size_t k = 0; k < whole; ++k)
            magnitude = magnitude * 10 + (k < digits.size() ? digits[k] - '0' : 0);
        if (whole < digits.size()) fraction = std::string_view(digits).substr(whole);
    }
    if (!fraction.empty()) {
        const bool moreThanHalf =
            fraction[0] > '5' ||
            (fraction[0] == '5' && fraction.substr(1).find_first_not_of('0') != std::string::npos);
        const bool exactHalf = fraction[0] == '5' && !moreThanHalf;
        if (moreThanHalf || (exactHalf && magnitude % 2 != 0)) ++magnitude;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<Int32>::min() || value > std::numeric_limits<Int32>::max())
        return std::nullopt;
    return static_cast<Int32>(value);
}

std::string FormatNumber(double value, std::string_view pattern) {
    // A non-finite value has no digits to show; the word reads back as no number.
    if (!std::isfinite(value)) return "Error";

    const auto dot = pattern.find('.');
    std::size_t decimals = 0, minWhole = 0;
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (pattern[k] != '0') continue;
        if (dot != std::string_view::npos && k > dot)
            ++decimals;
        else
            ++minWhole;
    }
    minWhole = std::max<std::size_t>(minWhole, 1);

    // The shortest text that reads back as the value gives the decimal digits
    // that are rounded, so 2.5 and 1.00005 round up as typed.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific);
    const std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto e = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e))
        if (IsDigit(c)) digits += c;
    int exponent = 0;
    const auto exponentText = sci.substr(e + 1);
    const char* exponentStart = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
    std::from_chars(exponentStart, exponentText.data() + exponentText.size(), exponent);

    // kept = round(|value| * 10^decimals) as a digit string, halves away from zero.
    const long long keepCount =
        static_cast<long long>(exponent) + 1 + static_cast<long long>(decimals);
    std::string kept;
    bool roundUp = false;
    if (keepCount >= 0) {
        const auto count = static_cast<std::size_t>(keepCount);
        kept = digits.substr(0, std::min(count, digits.size()));
        kept.append(count - kept.size(), '0');
        roundUp = count < digits.size() && digits[count] >= '5';
    }
    if (roundUp) {
        std::size_t k = kept.size();
        while (k > 0 && kept[k - 1] == '9') kept[--k] = '0';
        if (k == 0)
            kept.insert(0, 1, '1');
        else
            ++kept[k - 1];
    }
    const std::size_t minLength = decimals + minWhole;
    if (kept.size() < minLength) kept.insert(0, minLength - kept.size(), '0');
    std::size_t strip = 0;
    while (kept.size() - strip > minLength && kept[strip] == '0') ++strip;
    kept.erase(0, strip);

    // Whatever rounds to zero is shown without a sign.
    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    std::string text = (value < 0 && !zero) ? "-" : "";
    text += kept.substr(0, kept.size() - decimals);
    if (decimals > 0) text += "." + kept.substr(kept.size() - decimals);
    return text;
}

}  // namespace quorvex::model
