// The spot list as CSV: the columns a spreadsheet reads, in the C locale.
#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

#include "model/SpotTable.h"

namespace quorvex::model {
namespace {

ListedSpot Spot(Fraction h, Fraction k, Vec2 g, bool substrate, DomainSet domains,
                DomainSet extinct = 0) {
    ListedSpot s;
    s.h = h;
    s.k = k;
    s.g = g;
    s.length = std::hypot(g.x, g.y);
    s.substrate = substrate;
    s.domains = domains;
    s.extinctDomains = extinct;
    return s;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(SpotTable, OneLinePerShownOrExtinctSpotWithItsColumns) {
    const std::vector<ListedSpot> spots = {
        Spot({0, 1}, {0, 1}, {0, 0}, true, 0b1),
        Spot({-1, 2}, {1, 3}, {-0.5, 0.25}, false, 0b101),
        Spot({1, 2}, {0, 1}, {0.5, 0}, false, 0, 0b10),    // lost to a glide
        Spot({3, 1}, {0, 1}, {3, 0}, false, 0),              // nobody's: left out
        Spot({1, 1}, {0, 1}, {1, -0.0}, true, 0),
    };
    const std::vector<std::string> lines = Lines(SpotTableCsv(spots, 2.0, std::nullopt));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], SpotTableHeader(false));
    EXPECT_EQ(lines[1], "0,0,0.000000,0.000000,1,both,0,,0.000000,0.000000,0.000000");
    EXPECT_EQ(lines[2], "-1/2,1/3,-0.500000,0.333333,1 3,superstructure,0,,-1.000000,0.500000,"
                        "1.118034");
    EXPECT_EQ(lines[3], "1/2,0,0.500000,0.000000,,superstructure,1,2,1.000000,0.000000,1.000000");
    EXPECT_EQ(lines[4], "1,0,1.000000,0.000000,,substrate,0,,2.000000,0.000000,2.000000");
}

TEST(SpotTable, ScreenColumnIsTheExitAngleAndNumbersIgnoreTheLocale) {
    // A locale with a decimal comma, where it exists, must not reach the file.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    ScreenScale screen;
    screen.perUnit = 1;
    screen.k = 2;
    const std::vector<ListedSpot> spots = {Spot({1, 1}, {0, 1}, {1, 0}, true, 0),
                                           Spot({0, 1}, {1, 1}, {0, 2}, true, 0)};
    const std::vector<std::string> lines = Lines(SpotTableCsv(spots, 1.0, screen));
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], SpotTableHeader(true));
    EXPECT_EQ(lines[0].substr(lines[0].rfind(',')), ",theta_deg");
    // sin(theta) = |g| / k: 1/2 and 1.
    EXPECT_EQ(lines[1].substr(lines[1].rfind(',')), ",30.000");
    EXPECT_EQ(lines[2].substr(lines[2].rfind(',')), ",90.000");
}

}  // namespace
}  // namespace quorvex::model
