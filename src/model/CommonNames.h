// The common (Wood's-notation) names of superstructures and their matrices.
#pragma once

#include <array>
#include <string_view>

#include "model/Basics.h"

namespace quorvex::model {

// The superlattice vectors in the basic vectors: b1 = m11 a1 + m12 a2,
// b2 = m21 a1 + m22 a2.
struct SuperlatticeMatrix {
    Int32 m11 = 1, m12 = 0, m21 = 0, m22 = 1;

    bool operator==(const SuperlatticeMatrix&) const = default;
    // Exact in 64 bits.
    long long Determinant() const {
        return static_cast<long long>(m11) * m22 - static_cast<long long>(m12) * m21;
    }
    bool Singular() const { return Determinant() == 0; }
};

constexpr int kCommonNameCount = 26;  // rows 0..25; row 0 is "None"
constexpr std::size_t kCommonNameWidth = 30;
constexpr Int32 kNoCommonName = 0;

struct CommonName {
    std::string_view name;
    SuperlatticeMatrix matrix;
};

constexpr std::array<CommonName, kCommonNameCount> kCommonNames = {{
    {"None", {1, 0, 0, 1}},
    {"p(1x1)", {1, 0, 0, 1}},
    {"p(1x2)", {1, 0, 0, 2}},
    {"p(2x1)", {2, 0, 0, 1}},
    {"p(2x2)", {2, 0, 0, 2}},
    {"p(3x1)", {3, 0, 0, 1}},
    {"p(3x2)", {3, 0, 0, 2}},
    {"p(3x3)", {3, 0, 0, 3}},
    {"p(7x7)", {7, 0, 0, 7}},
    {"c(2x2)", {1, -1, 1, 1}},
    {"c(4x2) {square only}", {2, -1, 2, 1}},
    {"c(4x2) {hexagonal only}", {2, 0, 1, 2}},
    {"c(4x4)", {2, -2, 2, 2}},
    {"c(6x2)", {3, -1, 3, 1}},
    {"c(8x2)", {4, -1, 4, 1}},
    {"(r2xr2)R45 {square only}", {1, -1, 1, 1}},
    {"(r5xr5)R26.6 {square only}", {2, 1, -1, 2}},
    {"(2r2xr2)R45 {square only}", {2, 2, -1, 1}},
    {"c(3r2xr2)R45 {square only}", {2, 1, 1, 2}},
    {"c(5r2xr2)R45 {square only}", {3, 2, 2, 3}},
    {"(r3xr3)R30 {hexagonal only}", {1, -1, 1, 2}},
    {"(r7xr7)R19.1 {hexagonal only}", {2, -1, 1, 3}},
    {"(2r3x2r3)R30 {hexagonal only}", {2, -2, 2, 4}},
    {"(2r3x4)rect {hexagonal only}", {4, 0, 2, 4}},
    {"(5r3x2)rect {hexagonal only}", {2, 2, -5, 5}},
    {"c(2r3x4)rect {hexagonal only}", {3, 1, 1, 3}},
}};

}  // namespace quorvex::model
