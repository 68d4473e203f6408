// The one document of the program: the structure being simulated, the view
// settings and the results of the last recompute. Every procedure of the
// program reads and writes these members under their names.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quorvex::model {

using Long = std::int32_t;
using Rgb = std::int32_t;  // red + 256 * green + 65536 * blue

constexpr Rgb RGB(int r, int g, int b) { return r + 256 * g + 65536 * b; }
constexpr int RedOf(Rgb c) { return c & 0xFF; }
constexpr int GreenOf(Rgb c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Rgb c) { return (c >> 16) & 0xFF; }

constexpr int GroupCount = 21;        // plane groups 1..21 (18..21 superstructure only)
constexpr int BasicGroupCount = 17;   // groups offered for the basic structure
constexpr int CommonNameRows = 31;    // rows 0..30, rows 26..30 stay empty
constexpr int CommonNameShown = 26;   // rows 0..25 are filled and listed
constexpr int MaxSubpatterns = 12;

struct Vec2 {
    double x = 0.0;
    double y = 0.0;
};

// One saved parameter set, fields in their stored order.
struct StoredState {
    Long basicGroup = 0;
    double a = 0.0;
    double b = 0.0;
    double alpha = 0.0;
    Long m11 = 0;
    Long m22 = 0;
    Long m12 = 0;
    Long m21 = 0;
    Long commonName = 0;
    Long superGroup = 0;
    bool constrained = false;
    bool includeDomains = false;
    bool paintDomains = false;
    bool include1x1 = false;
    bool includeBases = false;
    double latMag = 0.0;
    double patMag = 0.0;
    double rotAngle = 0.0;
    double rotCos = 0.0;
    double rotSin = 0.0;
    double latDotRadius = 0.0;
    double spotRadius = 0.0;

    bool operator==(const StoredState&) const = default;
};

// Arrays indexed by group number use index 1..21; index 0 is unused.
template <typename T>
using GroupArray = std::array<T, GroupCount + 1>;

struct Module1 {
    // Constants and tables, filled by FillTables() at start-up.
    double Tolerance = 0.001;
    double DegToRad = 0.017453293;
    GroupArray<std::string> GroupName{};
    GroupArray<std::string> SuperGroupName{};
    GroupArray<Long> GroupLatticeType{};
    std::array<std::string, 6> LatticeTypeName{};  // 1..5
    std::array<std::string, CommonNameRows> CommonName{};
    std::array<Rgb, 8> DomainColor{};

    // Basic structure.
    double LatticeA = 1.0;
    double LatticeB = 1.0;
    double LatticeAlpha = 90.0;
    Long BasicGroup = 11;
    double A1X = 0, A1Y = 0, A2X = 0, A2Y = 0;

    // Superlattice.
    Long M11 = 1, M12 = 0, M21 = 0, M22 = 1;
    Long CommonNameIndex = 1;
    Long SuperGroup = 11;
    bool ResetSuperGroup = true;
    GroupArray<bool> AllowedSuperGroup{};
    GroupArray<bool> GroupAxisSwap{};
    bool Constrained = true;
    Long SuperLatticeType = 4;
    Long CentredAxis = 0;
    bool SuperRightHanded = false;
    bool PatternValid = false;
    double B1X = 0, B1Y = 0, B2X = 0, B2Y = 0;
    bool MatrixHold = false;

    // View.
    double LatMag = 1.0;
    double PatMag = 1.0;
    double LatScale = 0.0;
    double PatScale = 0.0;
    double RotAngle = 0.0;
    double RotCos = 1.0;
    double RotSin = 0.0;
    double LatDotRadius = 45;
    double SpotRadius = 45;
    double LatDotRadiusDefault = 45;
    double SpotRadiusDefault = 45;
    double LatBoxLeft = 240, LatBoxTop = 4680, LatBoxWidth = 3480, LatBoxHeight = 3480;
    double LatBoxCenterX = 1980, LatBoxCenterY = 6420, LatBoxHalfW = 1740, LatBoxHalfH = 1740;
    double PatBoxLeft = 4560, PatBoxTop = 4680, PatBoxWidth = 3480, PatBoxHeight = 3480;
    double PatBoxCenterX = 6300, PatBoxCenterY = 6420, PatBoxHalfW = 1740, PatBoxHalfH = 1740;

    // Options, mirrors of the check boxes.
    bool Include1x1 = true;
    bool PaintDomains = false;
    bool IncludeDomains = false;
    bool IncludeBases = false;

    // Results of the pattern computation.
    double RA1X = 0, RA1Y = 0, RA2X = 0, RA2Y = 0;
    double RB1X = 0, RB1Y = 0, RB2X = 0, RB2Y = 0;
    Long PointOpCount = 0;
    Long SubpatternCount = 0;
    std::array<Vec2, MaxSubpatterns + 1> SubpatternVec1{};  // 1..12
    std::array<Vec2, MaxSubpatterns + 1> SubpatternVec2{};
    bool BasicGlide1 = false, BasicGlide2 = false;
    bool SuperGlide1 = false, SuperGlide2 = false;

    // Drawing work variables.
    double SegX1 = 0, SegY1 = 0, SegX2 = 0, SegY2 = 0;
    double SymCos = 1, SymSin = 0, SymOriginX = 0, SymOriginY = 0;

    // Interaction.
    Long DownN1 = 0, DownN2 = 0, UpN1 = 0, UpN2 = 0;
    bool Dragging = false;
    Long DragMode = 0;
    Long StoreCount = 0;
    Long StoreCapacity = 10;
    Long StoreIndex = 0;
    std::array<StoredState, 11> StoreStack{};  // positions 1..10

    // Window bookkeeping.
    bool RedrawOnActivate = true;
    std::string AppPath;
};

// Start-up steps 1, 3, 5 (the copy), 6 and 7: constants and tables.
void FillTables(Module1& m);

// The rows of the three lists, exactly as stored (padded to their fixed lengths).
std::string PadFixed(const std::string& text, std::size_t length);

}  // namespace quorvex::model
