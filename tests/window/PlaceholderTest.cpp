#include <gtest/gtest.h>
#include "window/PatternForm.h"
TEST(PatternForm, HasItsName) {
    quorvex::window::PatternForm f;
    EXPECT_EQ(f.objectName().toStdString(), "PatternForm");
}
