// Small value types shared by every layer: 32-bit integers as the matrix
// entries hold them, colours, and plane vectors.
#pragma once

#include <cstdint>

namespace quorvex::model {

// Matrix entries, group numbers and list rows are 32-bit integers; any sum or
// product of them is formed in 64 bits and checked before it comes back.
using Int32 = std::int32_t;

// A colour as red + 256 * green + 65536 * blue.
using Rgb = std::int32_t;

constexpr Rgb RGB(int r, int g, int b) { return r + 256 * g + 65536 * b; }
constexpr int RedOf(Rgb c) { return c & 0xFF; }
constexpr int GreenOf(Rgb c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Rgb c) { return (c >> 16) & 0xFF; }

constexpr Rgb kBlack = RGB(0, 0, 0);
constexpr Rgb kWhite = RGB(255, 255, 255);
constexpr Rgb kRed = RGB(255, 0, 0);
constexpr Rgb kGreen = RGB(0, 255, 0);
constexpr Rgb kBlue = RGB(0, 0, 255);

struct Vec2 {
    double x = 0.0;
    double y = 0.0;

    bool operator==(const Vec2&) const = default;
};

constexpr double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
// The z component of a x b.
constexpr double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

// Equality and zero tests on lengths and cosines all use this tolerance.
constexpr double kTolerance = 0.001;
// Degrees to radians as the program has always rounded it (not exactly pi/180):
// rotations and cell angles must land on the same pixels as before.
constexpr double kDegToRad = 0.017453293;

}  // namespace quorvex::model
