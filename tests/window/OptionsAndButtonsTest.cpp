// Check boxes, view buttons, the matrix hold and the size scroll bars.
#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

using OptionsTest = WindowTest;

TEST_F(OptionsTest, EachControlRedrawsAsLittleAsItNeeds) {
    enum Level { kNone, kLattice, kPattern, kBoth };
    const std::tuple<const char*, Level, int> cases[] = {
        // a scroll bar is set to the number
        {"latticeZoomOutButton", kLattice, 0},
        {"latticeZoomResetButton", kLattice, 0},
        {"latticeZoomInButton", kLattice, 0},
        {"patternZoomOutButton", kPattern, 0},
        {"patternZoomResetButton", kPattern, 0},
        {"patternZoomInButton", kPattern, 0},
        {"paintDomainsBox", kPattern, 0},
        {"includeDomainsBox", kPattern, 0},
        {"constrainedBox", kNone, 0},
        {"matrixLabel", kNone, 0},
        {"include1x1Box", kBoth, 0},
        {"includeBasesBox", kBoth, 0},
        {"rotateRightButton", kBoth, 0},
        {"dotSizeBar", kLattice, 0},
        {"spotSizeBar", kPattern, 150},
    };
    W().show();
    Choose("commonNameList", 3);  // p(2x1): two subpatterns for the domain boxes
    Click("includeDomainsBox");   // which shows "Paint domains" and the domain count
    EXPECT_EQ(Shown({"paintDomainsBox", "domainCountLabel"}), (std::vector<bool>{true, true}));
    EXPECT_EQ(Text("domainCountLabel"), "8 domain(s),  2 unique subpattern(s)");
    for (const auto& [name, level, barValue] : cases) {
        SCOPED_TRACE(name);
        const QImage before = Picture();
        const int runs = W().updateRuns(), patterns = W().patternRuns();
        QWidget* control = Find(name);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->click();
        else if (auto* bar = qobject_cast<QScrollBar*>(control))
            bar->setValue(barValue);
        else
            MouseClick(name);
        const bool lattice = level == kLattice || level == kBoth;
        const bool pattern = level == kPattern || level == kBoth;
        EXPECT_EQ(W().updateRuns(), runs + (lattice ? 1 : 0));
        EXPECT_EQ(W().patternRuns(), patterns + (pattern ? 1 : 0));
        if (level == kBoth) continue;
        EXPECT_EQ(Kept(before, kLatticePixels), !lattice);
        EXPECT_EQ(Kept(before, kPatternPixels), !pattern);
    }
    EXPECT_EQ(Shown({"paintDomainsBox", "domainCountLabel"}), (std::vector<bool>{false, false}));
    // mag -, 1, mag + on each side, independently.
    EXPECT_EQ((std::array{V().latticeZoom, V().patternZoom}), (std::array{1 / 1.2, 1 / 1.2}));
}

TEST_F(OptionsTest, RotationPresetsAreExactAndStepsKeepCounting) {
    // Angle, cos and sin; a1 = (1, 0) turned as both boxes show it.
    const std::tuple<const char*, std::array<double, 3>, model::Vec2> presets[] = {
        {"rotateMinus90Button", {-90, 0, -1}, {0, 1}},
        {"rotatePlus90Button", {90, 0, 1}, {0, -1}},
        {"rotateZeroButton", {0, 1, 0}, {1, 0}},
    };
    for (const auto& [button, angleCosSin, a1] : presets) {
        Click(button);
        EXPECT_EQ((std::array{V().rotationDegrees, V().rotationCos, V().rotationSin}), angleCosSin);
        EXPECT_EQ(Derived().vectors.a1, a1) << button;
    }
    const QImage start = Picture();
    for (int i = 0; i < 36; ++i) Click("rotateRightButton");
    EXPECT_EQ(V().rotationDegrees, 360);
    EXPECT_TRUE(Kept(start, kLatticePixels));
    Click("rotateLeftButton");
    Click("rotateLeftButton");
    EXPECT_EQ(V().rotationDegrees, 340);  // no wrap-around either way
}

TEST_F(OptionsTest, UnconstrainedKeepsOnlyAGroupItAllowsToo) {
    // p4mm with (2x1): the constraint allows p2mm and [3'] (row 18), the other rule only p2mm.
    Choose("commonNameList", 3);
    Choose("superGroupList", 5);
    Click("constrainedBox");
    EXPECT_EQ(S().superGroup, model::kP2mm);
    Click("constrainedBox");
    Choose("superGroupList", 17);
    ASSERT_EQ(Text("superDiagramTitle"), "Superlattice [3']");
    Click("constrainedBox");
    EXPECT_FALSE(S().constrained);
    EXPECT_EQ(Text("superGroupList"), Padded("[ 1]  Oblique p1", 32));
    EXPECT_EQ(Text("superDiagramTitle"), "Superlattice [1]");
    EXPECT_EQ(Text("allowedGroupsLabel"), "/1/2/3/4/6/7/8/");
}

// A moving thumb previews its size, the bar's change redraws; the size controls
// also ask for a redraw on the next activation, which a mouse release cancels.
TEST_F(OptionsTest, SizeBarsAndDefaultSizes) {
    W().show();
    const auto activationRedraws = [this] {
        const int runs = W().updateRuns();
        W().onActivated();
        return W().updateRuns() > runs;
    };
    W().onMouseReleased(100, 100);
    EXPECT_FALSE(activationRedraws());
    const int patterns = W().patternRuns();
    W().spotSizeBar->setSliderDown(true);
    W().spotSizeBar->setSliderPosition(20);
    EXPECT_EQ(V().spotRadius, 130);
    EXPECT_EQ(W().patternRuns(), patterns);
    W().spotSizeBar->setSliderDown(false);
    EXPECT_EQ(W().patternRuns(), patterns + 1);
    EXPECT_TRUE(activationRedraws());
    W().dotSizeBar->setValue(0);
    W().spotSizeBar->setValue(150);
    EXPECT_EQ((std::array{V().dotRadius, V().spotRadius}), (std::array{150.0, 0.0}));
    // A zero-radius preview leaves only the erased background around its centre.
    EXPECT_EQ(Pixel(4320 + 30, 8160), W().canvas().BackColor());
    W().onMouseReleased(100, 100);
    const int runs = W().updateRuns(), patternsBefore = W().patternRuns();
    Click("defaultSizesButton");
    EXPECT_EQ((std::array{V().dotRadius, V().spotRadius}), (std::array{45.0, 45.0}));
    EXPECT_EQ((std::array{W().dotSizeBar->value(), W().spotSizeBar->value()}),
              (std::array{105, 105}));
    EXPECT_EQ((std::array{W().updateRuns(), W().patternRuns()}),
              (std::array{runs + 1, patternsBefore + 1}));
    EXPECT_TRUE(activationRedraws());
}

}  // namespace
}  // namespace quorvex::testing
