#include "model/Module1.h"

namespace quorvex::model {

std::string PadFixed(const std::string& text, std::size_t length) {
    std::string s = text.substr(0, length);
    s.resize(length, ' ');
    return s;
}

void FillTables(Module1& m) {
    m.DegToRad = 0.017453293;
    m.Tolerance = 0.001;

    static const char* const groups[GroupCount + 1] = {
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
    static const Long types[GroupCount + 1] = {0, 1, 1, 2, 2, 3, 2, 2, 2, 3, 4, 4,
                                               4, 5, 5, 5, 5, 5, 2, 2, 3, 2};
    for (int g = 1; g <= GroupCount; ++g) {
        m.GroupName[g] = PadFixed(groups[g], 32);
        m.GroupLatticeType[g] = types[g];
    }
    static const char* const typeNames[6] = {"",       "oblique",   "prim. rect.",
                                             "centrd. rect", "square", "hexagonal"};
    for (int t = 1; t <= 5; ++t) m.LatticeTypeName[t] = PadFixed(typeNames[t], 12);

    m.SuperGroupName = m.GroupName;

    m.DomainColor = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(138, 138, 255),
                     RGB(255, 106, 106), RGB(0, 255, 100),   RGB(180, 0, 150),
                     RGB(210, 210, 0),   RGB(160, 160, 160)};

    static const char* const names[CommonNameShown] = {
        "None",
        "p(1x1)",
        "p(1x2)",
        "p(2x1)",
        "p(2x2)",
        "p(3x1)",
        "p(3x2)",
        "p(3x3)",
        "p(7x7)",
        "c(2x2)",
        "c(4x2) {square only}",
        "c(4x2) {hexagonal only}",
        "c(4x4)",
        "c(6x2)",
        "c(8x2)",
        "(r2xr2)R45 {square only}",
        "(r5xr5)R26.6 {square only}",
        "(2r2xr2)R45 {square only}",
        "c(3r2xr2)R45 {square only}",
        "c(5r2xr2)R45 {square only}",
        "(r3xr3)R30 {hexagonal only}",
        "(r7xr7)R19.1 {hexagonal only}",
        "(2r3x2r3)R30 {hexagonal only}",
        "(2r3x4)rect {hexagonal only}",
        "(5r3x2)rect {hexagonal only}",
        "c(2r3x4)rect {hexagonal only}",
    };
    for (int r = 0; r < CommonNameRows; ++r)
        m.CommonName[r] = r < CommonNameShown ? PadFixed(names[r], 30) : PadFixed("", 30);
}

}  // namespace quorvex::model
