#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "model/NumberText.h"

using namespace quorvex::model;

namespace {

const double Inf = std::numeric_limits<double>::infinity();

TEST(NumberText, LeadingNumberReadsTheLeadingNumber) {
    const std::pair<std::string, double> cases[] = {
        {" 1 2 . 5 ", 12.5},
        {"", 0},
        {"+.5", 0.5},
        {"1D2", 100},
        {"2e+x", 2},  // an exponent letter without digits ends the number
        {"1,5", 1},   // any other character ends the number
        {"0." + std::string(399, '0') + "1e400", 1},
        {"&hff", 255},
        {"&O" + std::string(30, '7'), std::ldexp(1.0, 90)},  // 8^30 - 1 rounds to 2^90
        {"&O8", 0},
        {"-&H10", 0},
        {"&H" + std::string(300, 'F'), Inf},
        {"-1e400", -Inf},
        {"1e99999999999999999999", Inf},
        {"0.000001e-99999999999999999999", 0}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(LeadingNumber(text), expected) << '"' << text << '"';
}

TEST(NumberText, ConvertIntegerRoundsHalvesToEvenWithin32Bits) {
    const std::pair<std::string, std::optional<Int32>> cases[] = {
        {"  -7 ", -7},
        {"1,234,567", 1234567},
        {"1.5", 2},
        {"2.5", 2},
        {"0.5000000000000000001", 1},
        {"2147483647.4", 2147483647},
        {"-2147483648.5", -2147483647 - 1},  // rounds to even, just inside
        {"1e-999999999999999999999", 0},
        {"2147483647.5", std::nullopt},
        {"1e10", std::nullopt},
        {"12a", std::nullopt},
        {".", std::nullopt},
        {"1e", std::nullopt},
        {"1,23", std::nullopt},
        {"1234,567", std::nullopt}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ConvertInteger(text), expected) << '"' << text << '"';
    EXPECT_EQ(ConvertInteger("1.234,5", ',', '.'), 1234);
    EXPECT_EQ(ConvertInteger("1.5", ',', '.'), std::nullopt);
}

TEST(NumberText, FormatNumberFollowsThePattern) {
    const std::tuple<double, std::string, std::string> cases[] = {
        {1, "###0.0000", "1.0000"},
        {-0.00001, "###0.0000", "0.0000"},  // no sign on what rounds to zero
        {0.00005, "###0.0000", "0.0001"},
        {-0.00005, "###0.0000", "-0.0001"},
        {9.99995, "###0.0000", "10.0000"},
        {1e300, "###0.0000", "1" + std::string(300, '0') + ".0000"},
        {2.5, "####0", "3"},
        {std::numeric_limits<double>::quiet_NaN(), "###0.0000", "Error"},
        {-Inf, "####0", "Error"}};
    for (const auto& [value, pattern, expected] : cases)
        EXPECT_EQ(FormatNumber(value, pattern), expected) << value << " " << pattern;
    const std::string largest = FormatNumber(std::numeric_limits<double>::max(), "####0");
    EXPECT_EQ(largest.size(), 309u);
    EXPECT_EQ(largest.substr(0, 17), "17976931348623157");
}

}  // namespace
