// Where things are on the main window, in twips. The invisible marker lines are
// data: only their coordinates are ever used.
#pragma once

namespace quorvex::model {

struct MarkerLine {
    double X1, Y1, X2, Y2;
};

constexpr double ClientWidthTwips = 9756;
constexpr double ClientHeightTwips = 8388;
constexpr double TwipsPerPixel = 15;

constexpr MarkerLine Line7{4560, 4680, 8040, 8160};   // the pattern box
constexpr MarkerLine Line8{240, 4680, 3720, 8160};    // the lattice box
constexpr MarkerLine Line9{5640, 1320, 7320, 2280};   // basic symmetry diagram
constexpr MarkerLine Line11{7800, 1320, 9480, 2280};  // superlattice symmetry diagram
constexpr MarkerLine Line14{8280, 4920, 9480, 4920};  // anchor of the domain-colour legend
constexpr MarkerLine Line15{3960, 8160, 4320, 8160};  // centres of the two size previews

}  // namespace quorvex::model
