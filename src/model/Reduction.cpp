#include "model/Reduction.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "model/Vectors.h"

namespace quorvex::model {

namespace {

struct Row {
    double x = 0.0;
    double y = 0.0;
    Long c1 = 0;  // coefficient of a1
    Long c2 = 0;  // coefficient of a2
};

bool FitsLong(std::int64_t v) {
    return v >= std::numeric_limits<Long>::min() && v <= std::numeric_limits<Long>::max();
}

// row := row - q * other, refused when a matrix entry would leave 32 bits. The
// products stay within 64 bits because both factors are 32-bit values.
bool Subtract(Row& row, const Row& other, Long q) {
    const std::int64_t c1 =
        static_cast<std::int64_t>(row.c1) - static_cast<std::int64_t>(q) * other.c1;
    const std::int64_t c2 =
        static_cast<std::int64_t>(row.c2) - static_cast<std::int64_t>(q) * other.c2;
    if (!FitsLong(c1) || !FitsLong(c2)) return false;
    row.x -= q * other.x;
    row.y -= q * other.y;
    row.c1 = static_cast<Long>(c1);
    row.c2 = static_cast<Long>(c2);
    return true;
}

}  // namespace

bool ReduceSuperlattice(Module1& m) {
    // Work on copies so that a refused step leaves the document as it was.
    Row b1{m.B1X, m.B1Y, m.M11, m.M12};
    Row b2{m.B2X, m.B2Y, m.M21, m.M22};
    double l1 = 0.0, l2 = 0.0, d = 0.0;

    for (int pass = 0; pass < 10; ++pass) {
        l1 = b1.y * b1.y + b1.x * b1.x;
        l2 = b2.y * b2.y + b2.x * b2.x;
        d = b2.y * b1.y + b2.x * b1.x;
        if (std::fabs(d / l1) <= 0.5 && std::fabs(d / l2) <= 0.5) break;
        Long q = 0;
        if (l1 < l2) {
            // RoundToLong also refuses a quotient that is no number (a zero vector).
            if (!RoundToLong(d / l1, q) || !Subtract(b2, b1, q)) return false;
        }
        if (l1 > l2) {
            if (!RoundToLong(d / l2, q) || !Subtract(b1, b2, q)) return false;
        }
        if (l1 == l2) break;
    }

    // Of two vectors of different length whose projection is half a length, the
    // equal-length pair of the rhombic cell is preferred. L1, L2 and d are those
    // of the last pass on purpose.
    const double tol = m.Tolerance;
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
        if (!ok) return false;
    }

    if (b2.y * b1.x - b2.x * b1.y < 0) std::swap(b1, b2);

    m.B1X = b1.x;
    m.B1Y = b1.y;
    m.B2X = b2.x;
    m.B2Y = b2.y;
    m.M11 = b1.c1;
    m.M12 = b1.c2;
    m.M21 = b2.c1;
    m.M22 = b2.c2;
    m.ResetSuperGroup = true;
    return true;
}

}  // namespace quorvex::model
