// The 17 plane groups and the four rotated settings offered for a
// superstructure, their lattice types, and the names the lists show.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/Basics.h"

namespace quorvex::model {

// Groups are numbered 1..21 as the lists show them: 1..17 are the plane
// groups, 18..21 the settings of pm, pg, cm and p2mg turned by 90 degrees
// (offered for a superstructure only).
constexpr int kGroupCount = 21;
constexpr int kBasicGroupCount = 17;

enum GroupNumber : Int32 {
    kP1 = 1, kP2, kPm, kPg, kCm, kP2mm, kP2mg, kP2gg, kC2mm, kP4, kP4mm, kP4gm,
    kP3, kP3m1, kP31m, kP6, kP6mm, kPmTurned, kPgTurned, kCmTurned, kP2mgTurned
};

// Bravais lattice types, numbered as the analysis reports them.
enum LatticeType : Int32 {
    kOblique = 1,
    kPrimitiveRectangular = 2,
    kCentredRectangular = 3,
    kSquare = 4,
    kHexagonal = 5
};

constexpr bool IsGroup(Int32 g) { return g >= 1 && g <= kGroupCount; }
constexpr bool IsBasicGroup(Int32 g) { return g >= 1 && g <= kBasicGroupCount; }

// The list rows, exactly as shown (each padded with blanks to 32 characters
// when it is listed).
constexpr std::array<std::string_view, kGroupCount + 1> kGroupNames = {
    "",
    "[ 1]  Oblique p1",
    "[ 2]  Oblique p2",
    "[ 3]  Primtv. Rect. pm",
    "[ 4]  Primtv. Rect. pg",
    "[ 5]  Centrd. Rect. cm",
    "[ 6]  Primtv. Rect. p2mm (pmm)",
    "[ 7]  Primtv. Rect. p2mg (pmg)",
    "[ 8]  Primtv. Rect. p2gg (pgg)",
    "[ 9]  Centrd. Rect. c2mm (cmm)",
    "[10]  Square p4",
    "[11]  Square p4mm (p4m)",
    "[12]  Square p4gm (p4g)",
    "[13]  Hexagonal p3",
    "[14]  Hexagonal p3m1",
    "[15]  Hexagonal p31m",
    "[16]  Hexagonal p6",
    "[17]  Hexagonal p6mm (p6m)",
    "[3']  Rot. Prim. Rect. pm",
    "[4']  Rot. Prim. Rect. pg",
    "[5']  Rot. Cent. Rect. cm",
    "[7']  Rot. Prim.Rect. p2mg (pmg)",
};
constexpr std::size_t kGroupNameWidth = 32;

constexpr std::array<Int32, kGroupCount + 1> kGroupLatticeType = {
    0, 1, 1, 2, 2, 3, 2, 2, 2, 3, 4, 4, 4, 5, 5, 5, 5, 5, 2, 2, 3, 2};

constexpr Int32 LatticeTypeOf(Int32 group) { return IsGroup(group) ? kGroupLatticeType[group] : 0; }

// The lattice types as the higher-symmetry hint names them.
constexpr std::array<std::string_view, 6> kLatticeTypeNames = {
    "", "oblique", "prim. rect.", "centrd. rect", "square", "hexagonal"};

// The number a group shows in captions: 1..17, and 3', 4', 5', 7' for the
// turned settings.
constexpr std::string_view kTurnedGroupLabels[4] = {"3'", "4'", "5'", "7'"};
inline std::string GroupLabel(Int32 group) {
    if (group >= kPmTurned && group <= kP2mgTurned)
        return std::string(kTurnedGroupLabels[group - kPmTurned]);
    return std::to_string(group);
}

// For cm and c2mm, a and b are the sides of the centred rectangle; the
// primitive cell is spanned by its half-diagonals.
constexpr bool IsCentredBasicGroup(Int32 g) { return g == kCm || g == kC2mm; }

}  // namespace quorvex::model
