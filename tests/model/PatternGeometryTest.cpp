#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "model/PatternGeometry.h"
#include "model/Vectors.h"

using namespace quorvex::model;

namespace {

struct Op {
    Long code;
    bool mirror;  // else a rotation
    double degrees;
};

// The operations by their geometric meaning: rotation by the angle, or mirror
// in the line through the origin at the angle.
const Op kOps[] = {{1, true, 0},    {2, true, 90},    {3, false, 180}, {4, false, 90},
                   {5, false, -90}, {6, true, 45},    {7, true, -45},  {8, false, -120},
                   {9, false, 120}, {10, true, 30},   {11, true, -30}, {12, true, 60},
                   {13, true, -60}, {14, false, -60}, {15, false, 60}};

Vec2 Expected(const Op& op, Vec2 v) {
    const double t = op.degrees * std::numbers::pi / 180;
    if (op.mirror)
        return {std::cos(2 * t) * v.x + std::sin(2 * t) * v.y,
                std::sin(2 * t) * v.x - std::cos(2 * t) * v.y};
    return {std::cos(t) * v.x - std::sin(t) * v.y, std::sin(t) * v.x + std::cos(t) * v.y};
}

bool Near(Vec2 a, Vec2 b, double eps = 1e-9) {
    return std::abs(a.x - b.x) < eps && std::abs(a.y - b.y) < eps;
}

// An operation as the images of the two unit vectors.
struct Matrix {
    Vec2 e1, e2;
};
Matrix OfCode(Long code) {
    return {ApplyPointOperation(code, {1, 0}), ApplyPointOperation(code, {0, 1})};
}
Vec2 Apply(const Matrix& m, Vec2 v) {
    return {m.e1.x * v.x + m.e2.x * v.y, m.e1.y * v.x + m.e2.y * v.y};
}
bool Same(const Matrix& a, const Matrix& b) {
    return Near(a.e1, b.e1) && Near(a.e2, b.e2);
}

}  // namespace

TEST(PointOperations, EachCodeIsItsRotationOrMirror) {
    for (const Op& op : kOps)
        for (Vec2 v : {Vec2{1, 0}, Vec2{0, 1}, Vec2{0.3, -1.7}})
            EXPECT_TRUE(Near(ApplyPointOperation(op.code, v), Expected(op, v), 1e-12))
                << "code " << op.code << " on (" << v.x << ", " << v.y << ")";
}

TEST(PointOperations, EachBasicGroupIsClosedAndCountsItsDomains) {
    const Long counts[18] = {0, 1, 2, 2, 2, 2, 4, 4, 4, 4, 4, 8, 8, 3, 6, 6, 6, 12};
    for (Long g = 1; g <= 17; ++g) {
        std::vector<Matrix> set{OfCode(0)};
        for (Long code : GroupOperations(g)) set.push_back(OfCode(code));
        EXPECT_EQ(GroupPointOpCount(g), counts[g]) << "group " << g;
        ASSERT_EQ(static_cast<Long>(set.size()), counts[g]) << "group " << g;
        for (const Matrix& a : set)
            for (const Matrix& b : set) {
                const Matrix ab{Apply(a, b.e1), Apply(a, b.e2)};
                int found = 0;
                for (const Matrix& c : set) found += Same(ab, c);
                EXPECT_EQ(found, 1) << "group " << g << " is not closed or repeats an operation";
            }
    }
}

TEST(PointOperations, OrderOfApplicationNumbersTheSubpatterns) {
    EXPECT_EQ(GroupOperations(11), (std::vector<Long>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(GroupOperations(14), (std::vector<Long>{8, 9, 2, 10, 11}));
    EXPECT_EQ(GroupOperations(15), (std::vector<Long>{8, 9, 1, 12, 13}));
    EXPECT_EQ(GroupOperations(16), (std::vector<Long>{8, 9, 3, 14, 15}));
    EXPECT_EQ(GroupOperations(17), (std::vector<Long>{8, 9, 3, 14, 15, 2, 10, 11, 1, 12, 13}));
}

TEST(ReciprocalLattices, AreDualToTheLatticeWithout2Pi) {
    struct Cell {
        Long group;
        double a, b, alpha, rotDeg;
    };
    for (const Cell& c :
         {Cell{1, std::sqrt(2.0), 1, 55, 30}, Cell{9, 3, 1, 90, -70}, Cell{17, 1, 1, 120, 10}}) {
        Module1 m;
        FillTables(m);
        m.BasicGroup = c.group;
        m.LatticeA = c.a;
        m.LatticeB = c.b;
        m.LatticeAlpha = c.alpha;
        m.M11 = 2, m.M12 = 1, m.M21 = -1, m.M22 = 3;
        ComputeBasicVectors(m);
        m.RotCos = std::cos(c.rotDeg * m.DegToRad);
        m.RotSin = std::sin(c.rotDeg * m.DegToRad);
        RotateVectors(m);
        ComputeReciprocalLattices(m);
        const Vec2 real[4] = {{m.A1X, m.A1Y}, {m.A2X, m.A2Y}, {m.B1X, m.B1Y}, {m.B2X, m.B2Y}};
        const Vec2 rec[4] = {
            {m.RA1X, m.RA1Y}, {m.RA2X, m.RA2Y}, {m.RB1X, m.RB1Y}, {m.RB2X, m.RB2Y}};
        for (int i = 0; i < 4; ++i)
            for (int j = (i / 2) * 2; j < (i / 2) * 2 + 2; ++j)
                EXPECT_NEAR(real[i].x * rec[j].x + real[i].y * rec[j].y, i == j ? 1 : 0, 1e-12);
    }
}

TEST(ReciprocalLattices, PatScaleFromTheSmallerBoxSideAndTheLongerVector) {
    struct Case {
        double a, b, patMag, boxW, boxH, scale;
    };
    const Case cases[] = {
        {1, 1, 1, 3480, 3480, 1392},   // 3480 / 2.5
        {2, 1, 1, 3480, 3480, 1392},   // |a2*| = 1 is the longer
        {1, 0.5, 1, 3480, 3480, 696},  // |a2*| = 2
        {1, 1, 2, 3480, 3480, 696},    // zoomed out
        {1, 1, 1, 4000, 3000, 1200},   // height is the smaller side
        {1, 1, 1, 3000, 4000, 1200},   // width is the smaller side
    };
    for (const Case& c : cases) {
        Module1 m;
        FillTables(m);
        m.BasicGroup = 6;
        m.LatticeA = c.a, m.LatticeB = c.b, m.LatticeAlpha = 90;
        m.PatMag = c.patMag, m.PatBoxWidth = c.boxW, m.PatBoxHeight = c.boxH;
        ComputeBasicVectors(m);
        ComputeSuperVectors(m);
        ComputeReciprocalLattices(m);
        EXPECT_NEAR(m.PatScale, c.scale, 1e-6) << c.a << " " << c.b << " " << c.boxW;
    }
}

TEST(DomainTransform, OperatesInTheUnrotatedFrame) {
    Module1 m;
    m.RotCos = std::cos(30 * m.DegToRad);
    m.RotSin = std::sin(30 * m.DegToRad);
    const auto display = [&](Vec2 u) {
        return Vec2{m.RotCos * u.x + m.RotSin * u.y, -m.RotSin * u.x + m.RotCos * u.y};
    };
    const Vec2 u{0.5, 0.2}, w{-0.1, 1.3};
    for (const Op& op : kOps) {
        Vec2 p = display(u), q = display(w);
        DomainTransform(m, op.code, p, q);
        EXPECT_TRUE(Near(p, display(Expected(op, u)))) << "code " << op.code;
        EXPECT_TRUE(Near(q, display(Expected(op, w)))) << "code " << op.code;
    }
}

TEST(RegisterSubpattern, ComparesLatticesNotBases) {
    struct Case {
        Vec2 p, q;
        bool isNew;
    };
    const Case cases[] = {
        {{1, 0}, {0, 1}, false},        // the stored basis
        {{1, 1}, {0, 1}, false},        // another basis of it
        {{-1, 0}, {0, -1}, false},      // negative coordinates
        {{1.0009, 0}, {0, 1}, false},   // within the tolerance above an integer
        {{-0.9991, 0}, {0, 1}, false},  // within the tolerance below one
        {{1.0011, 0}, {0, 1}, true},   {{0.9989, 0}, {0, 1}, true},
        {{0.5, 0}, {0, 1}, true},  // a finer lattice
        {{0, 1}, {1, 0.9995}, false},  {{0, 1}, {1, 0.998}, true},
    };
    for (const Case& c : cases) {
        Module1 m;
        RegisterSubpattern(m, {1, 0}, {0, 1});
        ASSERT_EQ(m.SubpatternCount, 1);
        RegisterSubpattern(m, c.p, c.q);
        EXPECT_EQ(m.SubpatternCount, c.isNew ? 2 : 1) << c.p.x << " " << c.q.y;
        if (c.isNew) {
            EXPECT_EQ(m.SubpatternVec1[2].x, c.p.x);
        }
    }
}

TEST(RegisterSubpattern, NeverStoresMoreThanTwelve) {
    Module1 m;
    for (int i = 0; i < 14; ++i) RegisterSubpattern(m, {1, 0}, {0, 1 + 0.013 * i});
    EXPECT_EQ(m.SubpatternCount, 12);
    EXPECT_DOUBLE_EQ(m.SubpatternVec2[12].y, 1 + 0.013 * 11);
    m.SubpatternCount = 40;  // a count from elsewhere outside the storage
    RegisterSubpattern(m, {3, 0}, {0, 7});
    EXPECT_EQ(m.SubpatternCount, 40);
}
