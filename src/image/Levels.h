// How a measured image's grey levels become the shown 8-bit picture: black
// and white points, gamma and invert, as fractions of the full 16-bit range.
#pragma once

#include <QImage>
#include <QSize>
#include <array>
#include <cstdint>
#include <vector>

namespace quorvex::image {

struct Levels {
    double black = 0;  // 0..1: this grey and darker show black
    double white = 1;  // 0..1, above black: this grey and brighter show white
    double gamma = 1;  // above 1 lifts the middle greys
    bool invert = false;

    bool operator==(const Levels&) const = default;
};

constexpr double kLeastGamma = 0.1, kMostGamma = 10;
// The narrowest window between black and white points.
constexpr double kLeastLevelSpan = 1.0 / 65535;

// The levels put into their ranges: black and white within 0..1 and apart,
// gamma within its range (NaN counts as the default).
Levels Sanitised(Levels levels);

// The shown value (0..255) of every 16-bit grey.
std::array<std::uint8_t, 65536> LevelsTable(const Levels& levels);

// The picture a view shows: each grey through the table, as an 8-bit grey
// image, or as RGB32 (what a view draws without converting per frame).
QImage ApplyLevels(const std::vector<std::uint16_t>& grey, QSize size, const Levels& levels,
                   QImage::Format format = QImage::Format_Grayscale8);

// How many pixels have each 16-bit grey; made once per image.
class Histogram {
  public:
    Histogram() = default;
    explicit Histogram(const std::vector<std::uint16_t>& grey);

    std::uint64_t Total() const { return total_; }
    // The grey (0..1) below which `fraction` of the pixels lie.
    double Percentile(double fraction) const;
    // The counts gathered into `bins` equal bins over the full range.
    std::vector<std::uint64_t> Bins(int bins) const;

  private:
    std::vector<std::uint64_t> counts_ = std::vector<std::uint64_t>(65536, 0);
    std::uint64_t total_ = 0;
};

// "Auto": black at the 0.5 % and white at the 99.5 % percentile, the rest kept.
Levels AutoLevels(const Histogram& histogram, Levels from);

}  // namespace quorvex::image
