// The colours of the domains in the pattern: subpattern i is drawn in entry
// i + 1 when domains are painted, all in entry 1 (white) otherwise.
#pragma once

#include <algorithm>
#include <array>

#include "model/Basics.h"

namespace quorvex::model {

constexpr std::array<Rgb, 8> kDomainColours = {
    RGB(0, 0, 0),     RGB(255, 255, 255), RGB(138, 138, 255), RGB(255, 106, 106),
    RGB(0, 255, 100), RGB(180, 0, 150),   RGB(210, 210, 0),   RGB(160, 160, 160)};

constexpr Rgb kUnpaintedSpotColour = kDomainColours[1];

// Entries past the table take its last colour.
constexpr Rgb DomainColour(int entry) {
    return kDomainColours[std::clamp(entry, 0, static_cast<int>(kDomainColours.size()) - 1)];
}

// The colour of subpattern `number` (1-based).
constexpr Rgb SubpatternColour(int number, bool painted) {
    return painted ? DomainColour(number + 1) : kUnpaintedSpotColour;
}

}  // namespace quorvex::model
