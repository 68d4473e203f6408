#include "support/RecordingSurface.h"

#include <cmath>

namespace quorvex::testing {

bool DrawCall::Joins(double ax, double ay, double bx, double by, bool eitherWay) const {
    const auto near = [](double u, double v) { return std::abs(u - v) < 1e-6; };
    return (near(x1, ax) && near(y1, ay) && near(x2, bx) && near(y2, by)) ||
           (eitherWay && near(x1, bx) && near(y1, by) && near(x2, ax) && near(y2, ay));
}

}  // namespace quorvex::testing
