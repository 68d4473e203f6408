#include "render/SymmetryElements.h"

#include <array>
#include <utility>

namespace quorvex::render {

namespace {

using enum CellPoint;
using enum CellFamily;

CellLine Plain(std::vector<PointName> path) {
    return {LineKind::Plain, std::move(path)};
}
CellLine Mirror(std::vector<PointName> path) {
    return {LineKind::Mirror, std::move(path)};
}
CellLine Glide(std::vector<PointName> path) {
    return {LineKind::Glide, std::move(path)};
}

std::array<GroupElements, model::kBasicGroupCount + 1> BuildTable() {
    // The closed outline P1 -> P2 -> P3 -> P4 -> P1 as one connected line.
    const std::vector<PointName> outline{P1, P2, P3, P4, P1};

    // The glide lines of the hexagonal groups.
    const CellLine H1 = Glide({q(P1, P4), M12});
    const CellLine H2 = Glide({q(P4, P1), q(P2, P3)});
    const CellLine H3 = Glide({q(P3, P2), M34});
    const CellLine H4 = Glide({q(P1, P2), M41});
    const CellLine H5 = Glide({q(P2, P1), q(P4, P3)});
    const CellLine H6 = Glide({q(P3, P4), M23});
    const CellLine H7 = Glide({M12, M23});
    const CellLine H8 = Glide({M34, M41});

    const std::vector<RotationPoints> twoFoldEverywhere{
        {2, {P1, P2, P3, P4, M12, M23, M34, M41, C}}};
    const std::vector<RotationPoints> asP4{{4, {P1, P2, P3, P4, C}}, {2, {M12, M23, M34, M41}}};
    const std::vector<RotationPoints> asP3{{3, {P1, P2, P3, P4, G1, G2}}};
    const std::vector<RotationPoints> asP6{
        {6, {P1, P2, P3, P4}}, {3, {G1, G2}}, {2, {M12, M23, M34, M41, C}}};

    return {{
        {Oblique, false, {}, {}},  // row 0 unused
        // 1 p1
        {Oblique, false, {Plain(outline)}, {}},
        // 2 p2
        {Oblique, false, {Plain(outline)}, {{2, {P1, P2, P3, P4}}}},
        // 3 pm: the t2 edges plain, the t1 edges and the mid-line mirrors
        {Rectangular,
         true,
         {Plain({P1, P2}), Mirror({P2, P3}), Plain({P3, P4}), Mirror({P4, P1}), Mirror({M12, M34})},
         {}},
        // 4 pg
        {Rectangular,
         true,
         {Plain({P1, P2}), Glide({P2, P3}), Plain({P3, P4}), Glide({P4, P1}), Glide({M12, M34})},
         {}},
        // 5 cm
        {Centred,
         true,
         {Plain(outline), Mirror({P1, P3}), Glide({M12, M23}), Glide({M34, M41})},
         {}},
        // 6 p2mm
        {Rectangular,
         false,
         {Mirror(outline), Mirror({M12, M34}), Mirror({M23, M41})},
         twoFoldEverywhere},
        // 7 p2mg: glides along the t2 edges, the glide M23-M41 before the two mirrors
        {Rectangular,
         true,
         {Glide({P1, P2}), Plain({P2, P3}), Glide({P3, P4}), Plain({P4, P1}), Glide({M23, M41}),
          Mirror({q(P1, P2), q(P4, P3)}), Mirror({q(P2, P1), q(P3, P4)})},
         twoFoldEverywhere},
        // 8 p2gg
        {Rectangular,
         false,
         {Plain(outline), Glide({q(P1, P2), q(P4, P3)}), Glide({q(P2, P1), q(P3, P4)}),
          Glide({q(P2, P3), q(P1, P4)}), Glide({q(P3, P2), q(P4, P1)})},
         twoFoldEverywhere},
        // 9 c2mm
        {Centred,
         false,
         {Plain(outline), Mirror({P1, P3}), Mirror({P2, P4}), Glide({M12, M23, M34, M41, M12})},
         twoFoldEverywhere},
        // 10 p4
        {Square, false, {Plain(outline), Plain({M12, M34}), Plain({M23, M41})}, asP4},
        // 11 p4mm
        {Square,
         false,
         {Mirror(outline), Mirror({M12, M34}), Mirror({M23, M41}), Mirror({P1, P3}),
          Mirror({P2, P4}), Glide({M12, M23}), Glide({M12, M41}), Glide({M34, M23}),
          Glide({M34, M41})},
         asP4},
        // 12 p4gm
        {Square,
         false,
         {Plain(outline), Mirror({M12, M23}), Mirror({M12, M41}), Mirror({M34, M23}),
          Mirror({M34, M41}), Glide({q(P1, P2), q(P4, P3)}), Glide({q(P2, P1), q(P3, P4)}),
          Glide({q(P2, P3), q(P1, P4)}), Glide({q(P3, P2), q(P4, P1)}), Glide({P1, P3}),
          Glide({P2, P4})},
         asP4},
        // 13 p3
        {Hexagonal, false, {Plain(outline), Plain({P2, P4})}, asP3},
        // 14 p3m1
        {Hexagonal,
         false,
         {Plain(outline), Plain({P2, P4}), Mirror({M12, P4}), Mirror({M23, P4}), Mirror({M34, P2}),
          Mirror({M41, P2}), Mirror({P1, P3}), H1, H2, H3, H4, H5, H6, H7, H8},
         asP3},
        // 15 p31m
        {Hexagonal,
         false,
         {Mirror(outline), Mirror({P2, P4}), Glide({M12, M34, M23, M41, M12})},
         asP3},
        // 16 p6
        {Hexagonal, false, {Plain(outline), Plain({P2, P4})}, asP6},
        // 17 p6mm: the last two glide lines join every pair of edge midpoints
        {Hexagonal,
         false,
         {Mirror(outline), Mirror({P2, P4}), Mirror({M12, P4}), Mirror({M23, P4}),
          Mirror({M34, P2}), Mirror({M41, P2}), Mirror({P1, P3}), H1, H2, H3, H4, H5, H6,
          Glide({M41, M23}), Glide({M12, M23, M34, M41, M12, M34})},
         asP6},
    }};
}

}  // namespace

const GroupElements& ElementsOf(model::Int32 group) {
    static const auto table = BuildTable();
    switch (group) {
        case 18:
            return table[3];
        case 19:
            return table[4];
        case 20:
            return table[5];
        case 21:
            return table[7];
        default:
            // Callers pass list selections; anything else gets the empty row 0.
            return group >= 1 && group <= model::kBasicGroupCount ? table[group] : table[0];
    }
}

}  // namespace quorvex::render
