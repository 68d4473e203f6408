// What the read-out says of a spot: its indices, the domains that produce
// it (numbers in their colours), a glide extinction, |g| and, on the LEED
// screen, the exit angle at the energy.
#pragma once

#include <QString>
#include <optional>

#include "model/LeedScreen.h"
#include "model/Spots.h"

namespace quorvex::window {

// Rich text, e.g. "(1/2 0)  domains [1] [3]  |g| = 1.2320 1/A  theta = 23.4 deg".
// perUnit: 1/angstrom per reciprocal length unit (0: |g| is not shown).
QString SpotReadout(const model::ListedSpot& spot, const std::optional<model::ScreenScale>& screen,
                    double perUnit, bool painted);

}  // namespace quorvex::window
