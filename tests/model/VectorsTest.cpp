#include <gtest/gtest.h>

#include "model/Vectors.h"

using namespace quorvex::model;

TEST(Vectors, RotationBy90TurnsA1ToMinusY) {
    Module1 m;
    FillTables(m);
    ComputeBasicVectors(m);
    m.RotCos = 0;
    m.RotSin = 1;
    RotateVectors(m);
    EXPECT_EQ(m.A1X, 0.0);
    EXPECT_EQ(m.A1Y, -1.0);
}
