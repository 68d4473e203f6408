#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/FieldReaders.h"

using namespace quorvex::model;

namespace {

const double Inf = std::numeric_limits<double>::infinity();

struct LeadingCase {
    std::string text;
    double expected;
};

TEST(FieldReaders, LeadingNumberReadsTheLeadingNumber) {
    const LeadingCase cases[] = {
        {" 1 2 . 5 ", 12.5},
        {"\t3\n.\r25", 3.25},
        {"2.5x", 2.5},
        {"", 0},
        {"-", 0},
        {"e5", 0},
        {"+.5", 0.5},
        {"-1.5e2", -150},
        {"1D2", 100},
        {"1d-2", 0.01},
        {"2e", 2},
        {"2e+x", 2},
        {"3E+1x", 30},
        {"1,5", 1},
        {"0.1", 0.1},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"0." + std::string(399, '0') + "1e400", 1},
        {"&H1F", 31},
        {"&hff", 255},
        {"& H 1 0", 16},
        {"&H10.5", 16},
        {"&HFFFFFFFF", 4294967295.0},
        {"&H1" + std::string(20, '0'), std::ldexp(1.0, 80)},
        {"&O17", 15},
        {"&O" + std::string(30, '7'), std::ldexp(1.0, 90)},  // 8^30 - 1 rounds to 2^90
        {"&O8", 0},
        {"&H", 0},
        {"-&H10", 0},
        {"1e400", Inf},
        {"-1e400", -Inf},
        {"1" + std::string(400, '0'), Inf},
        {"1e99999999999999999999", Inf},
        {"&H" + std::string(300, 'F'), Inf},
        {"1e-400", 0},
        {"0.000001e-99999999999999999999", 0},
        {"0e99999999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LeadingNumber(c.text), c.expected) << '"' << c.text << '"';
}

struct ConvertCase {
    std::string text;
    std::optional<Long> expected;
};

TEST(FieldReaders, ConvertIntegerRoundsHalvesToEvenWithin32Bits) {
    const ConvertCase cases[] = {{"12", 12},
                                 {"  -7 ", -7},
                                 {"0000000000000000000001", 1},
                                 {"1,234", 1234},
                                 {"1,234,567", 1234567},
                                 {"1.5", 2},
                                 {"2.5", 2},
                                 {"3.5", 4},
                                 {"-2.5", -2},
                                 {"0.5", 0},
                                 {"5.", 5},
                                 {"0.5000000000000000001", 1},
                                 {"2.4999999999999999999", 2},
                                 {"1e3", 1000},
                                 {"25e-1", 2},
                                 {"1e-999999999999999999999", 0},
                                 {"0e999999999999", 0},
                                 {"2147483647", 2147483647},
                                 {"2147483647.4", 2147483647},
                                 {"-2147483648", -2147483647 - 1},
                                 {"-2147483648.5", -2147483647 - 1},
                                 {"2147483648", std::nullopt},
                                 {"2147483647.5", std::nullopt},
                                 {"-2147483649", std::nullopt},
                                 {"-2147483648.6", std::nullopt},
                                 {"1e10", std::nullopt},
                                 {"99999999999999999999", std::nullopt},
                                 {"", std::nullopt},
                                 {"abc", std::nullopt},
                                 {"12a", std::nullopt},
                                 {"nan", std::nullopt},
                                 {".", std::nullopt},
                                 {"- 5", std::nullopt},
                                 {"1e", std::nullopt},
                                 {"1,23", std::nullopt},
                                 {"1234,567", std::nullopt},
                                 {"1.234,5", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(ConvertInteger(c.text), c.expected) << '"' << c.text << '"';
}

TEST(FieldReaders, ConvertIntegerFollowsTheLocaleSeparators) {
    EXPECT_EQ(ConvertInteger("1.234,5", ',', '.'), 1234);
    EXPECT_EQ(ConvertInteger("2,5", ',', '.'), 2);
    EXPECT_EQ(ConvertInteger("1,234", ',', '.'), 1);
    EXPECT_EQ(ConvertInteger("1.5", ',', '.'), std::nullopt);
}

struct FormatCase {
    double value;
    std::string pattern;
    std::string expected;
};

TEST(FieldReaders, FormatNumberFollowsThePattern) {
    const FormatCase cases[] = {{1, "###0.0000", "1.0000"},
                                {12.5, "###0.0000", "12.5000"},
                                {-0.5, "###0.0000", "-0.5000"},
                                {0, "###0.0000", "0.0000"},
                                {-0.0, "###0.0000", "0.0000"},
                                {-0.00001, "###0.0000", "0.0000"},
                                {0.00005, "###0.0000", "0.0001"},
                                {-0.00005, "###0.0000", "-0.0001"},
                                {1.00005, "###0.0000", "1.0001"},
                                {9.99995, "###0.0000", "10.0000"},
                                {1e-300, "###0.0000", "0.0000"},
                                {1e300, "###0.0000", "1" + std::string(300, '0') + ".0000"},
                                {90, "###0.0", "90.0"},
                                {0.05, "###0.0", "0.1"},
                                {2.5, "####0", "3"},
                                {-2.5, "####0", "-3"},
                                {0.4, "####0", "0"},
                                {2147483647, "####0", "2147483647"},
                                {-2147483648.0, "####0", "-2147483648"},
                                {std::numeric_limits<double>::quiet_NaN(), "###0.0000", "Error"},
                                {Inf, "###0.0", "Error"},
                                {-Inf, "####0", "Error"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;

    const std::string largest = FormatNumber(std::numeric_limits<double>::max(), "####0");
    EXPECT_EQ(largest.size(), 309u);
    EXPECT_EQ(largest.substr(0, 17), "17976931348623157");
}

}  // namespace
