#include <gtest/gtest.h>

#include <utility>

#include "model/SavedStates.h"

using namespace quorvex::model;

namespace {

SavedState Numbered(int n) {
    SavedState state;
    state.structure.matrix.m11 = 100 + n;
    state.view.rotationDegrees = n;
    return state;
}

// The number of the set Load shows next, or 0 for none.
int Load(SavedStates& saved) {
    const auto state = saved.Next();
    if (!state) return 0;
    EXPECT_EQ(*state, Numbered(state->structure.matrix.m11 - 100));  // whole, not in part
    return state->structure.matrix.m11 - 100;
}

TEST(SavedStates, RingOfTenNewestFirst) {
    SavedStates saved;
    EXPECT_EQ(saved.LoadCaption(), "Load (0/0)");
    EXPECT_EQ(Load(saved), 0);
    for (int n = 1; n <= 3; ++n) saved.Push(Numbered(n));
    EXPECT_EQ(saved.LoadCaption(), "Load (1/3)");
    const std::pair<int, const char*> loads[] = {
        {3, "Load (2/3)"}, {2, "Load (3/3)"}, {1, "Load (1/3)"}, {3, "Load (2/3)"}};
    for (const auto& [n, caption] : loads) {
        EXPECT_EQ(Load(saved), n);
        EXPECT_EQ(saved.LoadCaption(), caption);
    }
    // A Save after Loads starts again at the newest set; the eleventh drops the oldest.
    for (int n = 4; n <= 11; ++n) saved.Push(Numbered(n));
    EXPECT_EQ(saved.LoadCaption(), "Load (1/10)");
    EXPECT_EQ(saved.At(9), Numbered(2));
    for (int expected : {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 11}) EXPECT_EQ(Load(saved), expected);
    // Clear leaves the old sets unreachable: a new Save counts from one.
    saved.Clear();
    EXPECT_EQ(saved.LoadCaption(), "Load (0/0)");
    EXPECT_EQ(Load(saved), 0);
    saved.Push(Numbered(12));
    EXPECT_EQ(saved.LoadCaption(), "Load (1/1)");
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Load(saved), 12);
}

}  // namespace
