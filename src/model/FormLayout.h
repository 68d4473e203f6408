// Where things are on the main window. Positions are in twips, the layout
// unit of the window: 1/1440 inch, 15 twips to a logical pixel, x to the
// right and y downwards.
#pragma once

namespace quorvex::model {

constexpr double kTwipsPerPixel = 15;
constexpr double kClientWidthTwips = 9756;
constexpr double kClientHeightTwips = 8388;

// An axis-parallel box of the window.
struct Box {
    double left, top, width, height;

    constexpr double Right() const { return left + width; }
    constexpr double Bottom() const { return top + height; }
    constexpr double HalfWidth() const { return width / 2; }
    constexpr double HalfHeight() const { return height / 2; }
    constexpr double CentreX() const { return left + HalfWidth(); }
    constexpr double CentreY() const { return top + HalfHeight(); }
};

struct TwipPoint {
    double x, y;
};

// The real-space lattice box and the diffraction pattern box.
constexpr Box kLatticeBox{240, 4680, 3480, 3480};
constexpr Box kPatternBox{4560, 4680, 3480, 3480};

// The frames of the two symmetry diagrams: the diagram is centred in its
// frame and its radius is the frame's height.
constexpr Box kBasicDiagramFrame{5640, 1320, 1680, 960};
constexpr Box kSuperDiagramFrame{7800, 1320, 1680, 960};

// The domain-colour legend: its first box's top-left corner; the boxes run
// to the right up to kLegendRight.
constexpr TwipPoint kLegendOrigin{8280, 4920};
constexpr double kLegendRight = 9480;

// The centres of the two size previews under the scroll bars.
constexpr TwipPoint kDotPreviewCentre{3960, 8160};
constexpr TwipPoint kSpotPreviewCentre{4320, 8160};

}  // namespace quorvex::model
