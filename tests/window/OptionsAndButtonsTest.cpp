// Check boxes, view buttons, the matrix hold and the size scroll bars.
#include "WindowFixture.h"

namespace quorvex::testing {
namespace {

using OptionsTest = WindowTest;

// What each control redraws, and whether it asks for a redraw on the next
// activation, which a mouse release on the form cancels. A size bar's moving
// thumb only previews its size; letting it go is the change.
TEST_F(OptionsTest, EachControlRedrawsAsLittleAsItNeeds) {
    enum Level { kNone, kLattice, kPattern, kBoth };
    // {control, what it redraws, the next activation redraws, a scroll bar's new value}
    // clang-format off
    const std::tuple<const char*, Level, bool, int> cases[] = {
        {"latticeZoomOutButton", kLattice, false, 0},
        {"latticeZoomResetButton", kLattice, false, 0}, {"latticeZoomInButton", kLattice, false, 0},
        {"patternZoomOutButton", kPattern, false, 0},
        {"patternZoomResetButton", kPattern, false, 0}, {"patternZoomInButton", kPattern, false, 0},
        {"paintDomainsBox", kPattern, false, 0}, {"includeDomainsBox", kPattern, false, 0},
        {"constrainedBox", kNone, false, 0}, {"matrixLabel", kNone, false, 0},
        {"include1x1Box", kBoth, false, 0}, {"includeBasesBox", kBoth, false, 0},
        {"rotateRightButton", kBoth, false, 0}, {"dotSizeBar", kLattice, true, 0},
        {"spotSizeBar", kPattern, true, 150}, {"defaultSizesButton", kBoth, true, 0}};
    // clang-format on
    W().show();
    Choose("commonNameList", 3);  // p(2x1): two subpatterns for the domain boxes
    Click("includeDomainsBox");   // which shows "Paint domains" and the domain count
    EXPECT_EQ(Shown({"paintDomainsBox", "domainCountLabel"}), (std::vector<bool>{true, true}));
    EXPECT_EQ(Text("domainCountLabel"), "8 domain(s),  2 unique subpattern(s)");
    for (const auto& [name, level, activation, barValue] : cases) {
        SCOPED_TRACE(name);
        W().onMouseReleased(100, 100);
        const QImage before = Picture();
        const int runs = W().updateRuns(), patterns = W().patternRuns();
        QWidget* control = Find(name);
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->click();
        } else if (auto* bar = qobject_cast<QScrollBar*>(control)) {
            bar->setSliderDown(true);
            bar->setSliderPosition(barValue);
            EXPECT_EQ(bar == W().dotSizeBar ? V().dotRadius : V().spotRadius, 150 - barValue);
            EXPECT_EQ((std::array{W().updateRuns(), W().patternRuns()}),
                      (std::array{runs, patterns}));
            bar->setSliderDown(false);
        } else {
            MouseClick(name);
        }
        const bool lattice = level == kLattice || level == kBoth;
        const bool pattern = level == kPattern || level == kBoth;
        EXPECT_EQ(W().updateRuns(), runs + (lattice ? 1 : 0));
        EXPECT_EQ(W().patternRuns(), patterns + (pattern ? 1 : 0));
        if (level != kBoth) {
            EXPECT_EQ(Kept(before, kLatticePixels), !lattice);
            EXPECT_EQ(Kept(before, kPatternPixels), !pattern);
        }
        const int activated = W().updateRuns();
        W().onActivated();
        EXPECT_EQ(W().updateRuns() - activated, activation ? 1 : 0);
    }
    EXPECT_EQ(Shown({"paintDomainsBox", "domainCountLabel"}), (std::vector<bool>{false, false}));
    // mag -, 1, mag + on each side, independently; the default sizes at the end.
    EXPECT_EQ((std::array{V().latticeZoom, V().patternZoom}), (std::array{1 / 1.2, 1 / 1.2}));
    EXPECT_EQ((std::array{V().dotRadius, V().spotRadius}), (std::array{45.0, 45.0}));
    EXPECT_EQ((std::array{W().dotSizeBar->value(), W().spotSizeBar->value()}),
              (std::array{105, 105}));
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

}  // namespace
}  // namespace quorvex::testing
