#include "image/Levels.h"

#include <algorithm>
#include <cmath>

namespace quorvex::image {

Levels Sanitised(Levels levels) {
    auto finiteOr = [](double v, double fallback) { return std::isfinite(v) ? v : fallback; };
    levels.black = std::clamp(finiteOr(levels.black, 0.0), 0.0, 1.0 - kLeastLevelSpan);
    levels.white = std::clamp(finiteOr(levels.white, 1.0), levels.black + kLeastLevelSpan, 1.0);
    levels.gamma = std::clamp(finiteOr(levels.gamma, 1.0), kLeastGamma, kMostGamma);
    return levels;
}

std::array<std::uint8_t, 65536> LevelsTable(const Levels& given) {
    const Levels levels = Sanitised(given);
    std::array<std::uint8_t, 65536> table{};
    const double low = levels.black * 65535, high = levels.white * 65535;
    const double exponent = 1 / levels.gamma;
    for (int v = 0; v < 65536; ++v) {
        double t = std::clamp((v - low) / (high - low), 0.0, 1.0);
        if (exponent != 1 && t > 0 && t < 1) t = std::pow(t, exponent);
        if (levels.invert) t = 1 - t;
        table[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(std::lround(t * 255));
    }
    return table;
}

QImage ApplyLevels(const std::vector<std::uint16_t>& grey, QSize size, const Levels& levels,
                   QImage::Format format) {
    const bool rgb = format == QImage::Format_RGB32;
    QImage out(size, rgb ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    const auto w = static_cast<std::size_t>(std::max(0, size.width()));
    if (out.isNull() || grey.size() < w * static_cast<std::size_t>(size.height())) return out;
    const std::array<std::uint8_t, 65536> table = LevelsTable(levels);
    for (int y = 0; y < size.height(); ++y) {
        const std::uint16_t* source = &grey[static_cast<std::size_t>(y) * w];
        if (rgb) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (std::size_t x = 0; x < w; ++x) {
                const unsigned v = table[source[x]];
                line[x] = 0xFF000000u | v << 16 | v << 8 | v;
            }
        } else {
            uchar* line = out.scanLine(y);
            for (std::size_t x = 0; x < w; ++x) line[x] = table[source[x]];
        }
    }
    return out;
}

Histogram::Histogram(const std::vector<std::uint16_t>& grey) {
    for (const std::uint16_t v : grey) ++counts_[v];
    total_ = grey.size();
}

double Histogram::Percentile(double fraction) const {
    if (total_ == 0) return 0;
    const double wanted = std::clamp(fraction, 0.0, 1.0) * static_cast<double>(total_);
    std::uint64_t below = 0;
    for (std::size_t v = 0; v < counts_.size(); ++v) {
        below += counts_[v];
        if (static_cast<double>(below) >= wanted && below > 0) return static_cast<double>(v) / 65535;
    }
    return 1;
}

std::vector<std::uint64_t> Histogram::Bins(int bins) const {
    const int n = std::clamp(bins, 1, 65536);
    std::vector<std::uint64_t> out(static_cast<std::size_t>(n), 0);
    for (std::size_t v = 0; v < counts_.size(); ++v)
        out[v * static_cast<std::size_t>(n) / counts_.size()] += counts_[v];
    return out;
}

Levels AutoLevels(const Histogram& histogram, Levels from) {
    from.black = histogram.Percentile(0.005);
    from.white = histogram.Percentile(0.995);
    return Sanitised(from);
}

}  // namespace quorvex::image
