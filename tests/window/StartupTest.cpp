// The window right after start-up: its values, captions and picture.
#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

using model::RGB;
using StartupTest = WindowTest;

TEST_F(StartupTest, ValuesControlsAndPicture) {
    EXPECT_EQ(W().windowTitle().toStdString(), "Quorvex version 1.2 ");
    EXPECT_EQ((std::array{S().a, S().b, S().alpha}), (std::array{1., 1., 90.}));
    const std::pair<const char*, std::string> texts[] = {
        {"lengthAField", "1.0000"},
        {"alphaLabel", "\u03B1 ="},
        {"loadButton", "Load (0/0)"},
        {"basicGroupList", Padded("[11]  Square p4mm (p4m)", 32)},
        {"commonNameList", Padded("p(1x1)", 30)},
        {"superGroupList", Padded("[ 1]  Oblique p1", 32)}};  // the first update resets it
    for (const auto& [name, text] : texts) EXPECT_EQ(Text(name), text) << name;
    EXPECT_EQ(S().superGroup, model::kP1);
    EXPECT_EQ(Fields(), kIdentity);
    EXPECT_EQ(Ticked(), (std::vector<bool>{true, false, false, false, true}));
    EXPECT_TRUE(S().constrained && S().options.include1x1 && Derived().patternValid);
    EXPECT_EQ((std::array{W().dotSizeBar->value(), W().spotSizeBar->value()}),
              (std::array{105, 105}));
    // Only the a field of a square group; no domain controls.
    EXPECT_EQ(Shown({"lengthAField", "lengthBField", "alphaField", "lengthBLabel", "alphaLabel",
                     "paintDomainsBox", "domainCountLabel", "busyLabel", "settingsButton"}),
              (std::vector<bool>{true, false, false, false, false, false, false, false, false}));
    EXPECT_TRUE(messages.empty());
    const std::tuple<double, double, model::Rgb, const char*> pixels[] = {
        {240, 6000, RGB(0, 0, 0), "lattice box frame"},
        {1000, 5000, RGB(255, 255, 255), "lattice box inside"},
        {5000, 7000, RGB(0, 0, 0), "pattern box inside"},
        {4560, 6000, RGB(255, 255, 255), "pattern box frame"},
        {1980, 5000, RGB(0, 255, 0), "substrate net through (0, 0)"},
        {1980 + 1160, 6420, RGB(0, 0, 0), "superlattice dot at (1, 0)"},
        {3960, 8160, RGB(0, 0, 0), "dot size preview"},
        {4320, 8160, RGB(255, 255, 255), "spot size preview"}};
    for (const auto& [x, y, colour, what] : pixels) EXPECT_EQ(Pixel(x, y), colour) << what;
}

}  // namespace
}  // namespace quorvex::testing
