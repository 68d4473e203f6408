// A measured LEED image as the program works with it: one grey level per
// pixel at 16 bits, whatever the file held (8- or 16-bit, grey or colour).
// Pixel (x, y) covers [x, x+1) x [y, y+1) of the image's continuous
// coordinates, so its centre lies at (x + 0.5, y + 0.5).
#pragma once

#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace quorvex::image {

// The largest side an image may have, in pixels.
constexpr int kMostPixelsPerSide = 8192;

struct MeasuredImage {
    int width = 0, height = 0;
    std::vector<std::uint16_t> grey;  // row by row, 0..65535
    int bitsPerChannel = 8;           // of the file: 8 or 16
    bool colour = false;              // the file held colour (shown here as its luminance)

    QSize Size() const { return {width, height}; }
    std::uint16_t At(int x, int y) const {
        return grey[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

struct LoadedImage {
    std::optional<MeasuredImage> image;
    QString error;  // names the file and what is wrong with it, when there is no image
};

// Reads a PNG, JPEG, BMP or TIFF file. Anything else, and a truncated,
// corrupt, empty or oversized file, or one of an unsupported depth, gives
// no image and one message.
LoadedImage LoadMeasuredImage(const QString& path);

// The image averaged (or, when enlarged, repeated) onto `size` pixels: the
// picture a view shows, made once per size.
std::vector<std::uint16_t> Resampled(const MeasuredImage& image, QSize size);

}  // namespace quorvex::image
