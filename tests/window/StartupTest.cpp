#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;
using model::RGB;

using StartupTest = FormTest;

TEST_F(StartupTest, StateAndControlsRightAfterStartUp) {
    EXPECT_EQ(F().windowTitle().toStdString(), "Quorvex version 1.2 ");
    EXPECT_EQ((std::array{M().LatticeA, M().LatticeB, M().LatticeAlpha}),
              (std::array{1., 1., 90.}));
    EXPECT_EQ(Text(F().Text1), "1.0000");
    EXPECT_EQ(Text(F().Combo1), Padded("[11]  Square p4mm (p4m)", 32));
    EXPECT_EQ(Text(F().Combo3), Padded("p(1x1)", 30));
    EXPECT_EQ(M().SuperGroup, 1);  // the first update resets it
    EXPECT_EQ(Text(F().Combo2), Padded("[ 1]  Oblique p1", 32));
    EXPECT_EQ(Fields(), (Matrix{1, 0, 0, 1}));
    EXPECT_EQ(Ticked(), (std::vector<bool>{true, false, false, false, true}));
    EXPECT_TRUE(M().Constrained && M().Include1x1 && M().PatternValid && M().RedrawOnActivate);
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_EQ(Text(F().Command19), "Load (0/0)");
    EXPECT_EQ((std::array{F().VScroll1->value(), F().VScroll2->value()}), (std::array{105, 105}));
    // Only the a field of a square group; no domain controls.
    EXPECT_EQ(Shown({F().Text1, F().Text2, F().Text3, F().Label4, F().Label5, F().Check2,
                     F().Label19, F().Label20, F().Command16}),
              (std::vector<bool>{true, false, false, false, false, false, false, false, false}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(StartupTest, ControlsHaveTheirPlaces) {
    const std::pair<const char*, QRect> cases[] = {
        // twips
        {"Combo1", {1920, 480, 3135, 315}},    {"Text1", {840, 960, 855, 375}},
        {"Label5", {3840, 1080, 495, 255}},    {"Text8", {1080, 2760, 615, 375}},
        {"Text7", {360, 3240, 615, 375}},      {"Command10", {480, 3720, 1095, 255}},
        {"Check5", {3000, 3120, 1695, 195}},   {"Check2", {5640, 3240, 1575, 375}},
        {"Command13", {2520, 4320, 375, 255}}, {"Label20", {3765, 4440, 735, 255}},
        {"VScroll2", {4260, 6600, 200, 1335}}, {"Command17", {4040, 6600, 220, 255}},
    };
    for (const auto& [name, r] : cases) {
        auto* w = F().findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->geometry(), QRect(qRound(r.x() / 15.0), qRound(r.y() / 15.0),
                                       qRound(r.width() / 15.0), qRound(r.height() / 15.0)))
            << name;
    }
    EXPECT_EQ(Text(F().Label5), "\u03B1 =");
}

TEST_F(StartupTest, DefaultPicture) {
    EXPECT_EQ(Pixel(240, 6000), RGB(0, 0, 0));          // lattice box frame: black
    EXPECT_EQ(Pixel(1000, 5000), RGB(255, 255, 255));   // inside: white
    EXPECT_EQ(Pixel(5000, 7000), RGB(0, 0, 0));         // pattern box inside: black
    EXPECT_EQ(Pixel(4560, 6000), RGB(255, 255, 255));   // its frame: white
    EXPECT_EQ(Pixel(1980, 5000), RGB(0, 255, 0));       // green substrate net through (0, 0)
    EXPECT_EQ(Pixel(1980 + 1160, 6420), RGB(0, 0, 0));  // superlattice dot at (1, 0)
    EXPECT_EQ(Pixel(3960, 8160), RGB(0, 0, 0));         // dot size preview
    EXPECT_EQ(Pixel(4320, 8160), RGB(255, 255, 255));   // spot size preview
}
