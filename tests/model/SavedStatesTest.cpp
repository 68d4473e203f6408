#include <gtest/gtest.h>

#include "model/SavedStates.h"

using namespace quorvex::model;

namespace {

// Ten sets at most, newest first in a ring: the eleventh Save drops the oldest.
// The sets of an earlier session come back newest first, the next Load showing
// the newest; more than ten keep the newest ten. (The window's ring test walks
// a partial ring and clears it; its session test restores an empty store.)
TEST(SavedStates, RingOfTenNewestFirst) {
    SavedStates saved;
    for (int n = 1; n <= 11; ++n) {
        SavedState state;
        state.structure.matrix.m11 = n;
        state.view.rotationDegrees = n;
        saved.Push(state);
    }
    EXPECT_EQ(saved.LoadCaption(), "Load (1/10)");
    for (int n : {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 11}) {
        const auto state = saved.Next();
        ASSERT_TRUE(state);
        EXPECT_EQ(std::pair(state->structure.matrix.m11, state->view.rotationDegrees),
                  std::pair(n, double(n)));
    }
    EXPECT_EQ(saved.LoadCaption(), "Load (2/10)");

    std::vector<SavedState> newestFirst(12);
    for (int n = 0; n < 12; ++n)
        newestFirst[static_cast<std::size_t>(n)].structure.matrix.m11 = 100 - n;
    SavedStates restored;
    restored.Restore(newestFirst);
    EXPECT_EQ(restored.LoadCaption(), "Load (1/10)");
    for (int n : {100, 99, 98}) EXPECT_EQ(restored.Next()->structure.matrix.m11, n);
}

}  // namespace
