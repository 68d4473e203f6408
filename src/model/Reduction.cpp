#include "model/Reduction.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>


namespace quorvex::model {

namespace {

struct Row {
    double x = 0.0;
    double y = 0.0;
    Int32 c1 = 0;  // coefficient of a1
    Int32 c2 = 0;  // coefficient of a2
};

bool FitsInt32(std::int64_t v) {
    return v >= std::numeric_limits<Int32>::min() && v <= std::numeric_limits<Int32>::max();
}

// row := row - q * other, refused when a matrix entry would leave 32 bits. The
// products stay within 64 bits because both factors are 32-bit values.
bool Subtract(Row& row, const Row& other, Int32 q) {
    const std::int64_t c1 =
        static_cast<std::int64_t>(row.c1) - static_cast<std::int64_t>(q) * other.c1;
    const std::int64_t c2 =
        static_cast<std::int64_t>(row.c2) - static_cast<std::int64_t>(q) * other.c2;
    if (!FitsInt32(c1) || !FitsInt32(c2)) return false;
    row.x -= q * other.x;
    row.y -= q * other.y;
    row.c1 = static_cast<Int32>(c1);
    row.c2 = static_cast<Int32>(c2);
    return true;
}

// Half a length, and the rounding the vectors' products may carry.
constexpr double kHalf = 0.5 + 1e-9;

}  // namespace

std::optional<SuperlatticeMatrix> ReduceSuperlattice(Vec2 v1, Vec2 v2,
                                                     const SuperlatticeMatrix& m) {
    Row b1{v1.x, v1.y, m.m11, m.m12};
    Row b2{v2.x, v2.y, m.m21, m.m22};
    double l1 = 0.0, l2 = 0.0, d = 0.0;

    for (int pass = 0; pass < 10; ++pass) {
        l1 = b1.y * b1.y + b1.x * b1.x;
        l2 = b2.y * b2.y + b2.x * b2.x;
        d = b2.y * b1.y + b2.x * b1.x;
        // A projection of exactly half a length, seen a rounding error above
        // it, is reduced: stepping on would only flip q between -1 and +1.
        if (std::fabs(d / l1) <= kHalf && std::fabs(d / l2) <= kHalf) break;
        Int32 q = 0;
        if (l1 < l2) {
            // RoundToInt32 also refuses a quotient that is no number (a zero vector).
            if (!RoundToInt32(d / l1, q) || !Subtract(b2, b1, q)) return std::nullopt;
        }
        if (l1 > l2) {
            if (!RoundToInt32(d / l2, q) || !Subtract(b1, b2, q)) return std::nullopt;
        }
        if (l1 == l2) break;
    }

    // Of two vectors of different length whose projection is half a length, the
    // equal-length pair of the rhombic cell is preferred. L1, L2 and d are those
    // of the last pass on purpose.
    const double tol = kTolerance;
    if (std::fabs(l1 - l2) > tol) {
        bool ok = true;
        if (std::fabs(d / l1 - 0.5) < tol)
            ok = Subtract(b1, b2, 1);
        else if (std::fabs(d / l1 + 0.5) < tol)
            ok = Subtract(b1, b2, -1);
        else if (std::fabs(d / l2 - 0.5) < tol)
            ok = Subtract(b2, b1, 1);
        else if (std::fabs(d / l2 + 0.5) < tol)
            ok = Subtract(b2, b1, -1);
        if (!ok) return std::nullopt;
    }

    if (b2.y * b1.x - b2.x * b1.y < 0) std::swap(b1, b2);

    return SuperlatticeMatrix{b1.c1, b1.c2, b2.c1, b2.c2};
}

}  // namespace quorvex::model
