// The spot list as a table for other programs: CSV with a header line, one
// spot a line, numbers in the C locale whatever the user's locale.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/LeedScreen.h"
#include "model/Spots.h"

namespace quorvex::model {

// The spots of a list that appear in the table: those some lattice draws and
// those a glide leaves out.
bool Tabulated(const ListedSpot& spot);

// perUnit: 1/angstrom per reciprocal length unit of the document (the
// screen scale's perUnit). With a screen, a last column gives each beam's
// exit angle.
std::string SpotTableCsv(const std::vector<ListedSpot>& spots, double perUnit,
                         const std::optional<ScreenScale>& screen);

// The header line, without its line end.
std::string SpotTableHeader(bool withScreen);

}  // namespace quorvex::model
