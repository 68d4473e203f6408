#include <gtest/gtest.h>
#include "support/RecordingSurface.h"
TEST(RecordingSurface, LineLeavesCurrentPositionAtEnd) {
    quorvex::testing::RecordingSurface s;
    s.Line(1, 2, 3, 4, 0);
    EXPECT_EQ(s.State().currentX, 3);
    EXPECT_EQ(s.State().currentY, 4);
    EXPECT_EQ(s.calls.size(), 1u);
}
