#include "model/PointOperations.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvex::model {

namespace {

// sqrt(3) rounded to the nearest double, as std::sqrt gives it.
constexpr double kSqrt3 = 1.7320508075688772;

using PointOperation = Vec2 (*)(Vec2);

// Index = operation code; 0 is the identity. The formulas keep their own
// order of arithmetic (halving as a product with 0.5).
constexpr std::array<PointOperation, 16> kPointOperations = {
    [](Vec2 v) { return v; },
    // mirror in the x axis
    [](Vec2 v) {
        return Vec2{v.x, -v.y};
    },
    // mirror in the y axis
    [](Vec2 v) {
        return Vec2{-v.x, v.y};
    },
    // 180 degrees
    [](Vec2 v) {
        return Vec2{-v.x, -v.y};
    },
    // +90 degrees
    [](Vec2 v) {
        return Vec2{-v.y, v.x};
    },
    // -90 degrees
    [](Vec2 v) {
        return Vec2{v.y, -v.x};
    },
    // mirror in x = y
    [](Vec2 v) {
        return Vec2{v.y, v.x};
    },
    // mirror in x = -y
    [](Vec2 v) {
        return Vec2{-v.y, -v.x};
    },
    // -120 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        return Vec2{(s * v.y - v.x) * 0.5, (-s * v.x - v.y) * 0.5};
    },
    // +120 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        return Vec2{(-v.x - s * v.y) * 0.5, (s * v.x - v.y) * 0.5};
    },
    // mirror in the line at +30 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        const double t = s * v.x + v.y;
        return Vec2{s * t * 0.5 - v.x, t * 0.5 - v.y};
    },
    // mirror in the line at -30 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        const double t = s * v.x - v.y;
        return Vec2{s * t * 0.5 - v.x, -v.y - t * 0.5};
    },
    // mirror in the line at +60 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        const double t = s * v.y + v.x;
        return Vec2{t * 0.5 - v.x, s * t * 0.5 - v.y};
    },
    // mirror in the line at -60 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        const double t = s * v.y - v.x;
        return Vec2{-v.x - t * 0.5, s * t * 0.5 - v.y};
    },
    // -60 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        return Vec2{(s * v.y + v.x) * 0.5, (-s * v.x + v.y) * 0.5};
    },
    // +60 degrees
    [](Vec2 v) {
        const double s = kSqrt3;
        return Vec2{(v.x - s * v.y) * 0.5, (s * v.x + v.y) * 0.5};
    },
};

// The operations that generate the domains of each basic group, after the
// identity, ended by 0. Their order numbers the subpatterns and so picks
// their colours.
constexpr int kMostOperations = 11;
constexpr std::array<std::array<Int32, kMostOperations + 1>, kBasicGroupCount + 1>
    kGroupOperations = {{
        {},                                       // unused
        {},                                       // p1
        {3},                                      // p2
        {1},                                      // pm
        {1},                                      // pg
        {1},                                      // cm
        {1, 2, 3},                                // p2mm
        {1, 2, 3},                                // p2mg
        {1, 2, 3},                                // p2gg
        {1, 2, 3},                                // c2mm
        {3, 4, 5},                                // p4
        {1, 2, 3, 4, 5, 6, 7},                    // p4mm
        {1, 2, 3, 4, 5, 6, 7},                    // p4gm
        {8, 9},                                   // p3
        {8, 9, 2, 10, 11},                        // p3m1
        {8, 9, 1, 12, 13},                        // p31m
        {8, 9, 3, 14, 15},                        // p6
        {8, 9, 3, 14, 15, 2, 10, 11, 1, 12, 13},  // p6mm
    }};

}  // namespace

Vec2 ApplyPointOperation(Int32 code, Vec2 v) {
    if (code < 1 || code >= static_cast<Int32>(kPointOperations.size())) return v;
    return kPointOperations[code](v);
}

std::span<const Int32> GroupOperations(Int32 basicGroup) {
    if (!IsBasicGroup(basicGroup)) return {};
    const auto& row = kGroupOperations[basicGroup];
    std::size_t n = 0;
    while (row[n] != 0) ++n;
    return {row.data(), n};
}

Int32 DomainCount(Int32 basicGroup) {
    return static_cast<Int32>(GroupOperations(basicGroup).size()) + 1;
}

}  // namespace quorvex::model
