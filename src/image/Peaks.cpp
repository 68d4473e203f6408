#include "image/Peaks.h"

#include <algorithm>
#include <cmath>

namespace quorvex::image {

namespace {

// The lower quartile of the ring [radius, radius + 2] around a point: the
// background a spot stands on, little raised by a neighbouring spot.
double RingBackground(const MeasuredImage& image, QPointF at, double radius) {
    std::vector<std::uint16_t> ring;
    const double outer = radius + 2;
    const int x0 = static_cast<int>(std::floor(at.x() - outer)), x1 = static_cast<int>(std::ceil(at.x() + outer));
    const int y0 = static_cast<int>(std::floor(at.y() - outer)), y1 = static_cast<int>(std::ceil(at.y() + outer));
    for (int y = std::max(0, y0); y <= std::min(image.height - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(image.width - 1, x1); ++x) {
            const double d = std::hypot(x + 0.5 - at.x(), y + 0.5 - at.y());
            if (d >= radius && d <= outer) ring.push_back(image.At(x, y));
        }
    if (ring.empty()) return 0;
    const auto quartile = ring.begin() + static_cast<std::ptrdiff_t>(ring.size() / 4);
    std::nth_element(ring.begin(), quartile, ring.end());
    return *quartile;
}

bool Finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

}  // namespace

double SnapRadius(const MeasuredImage& image) {
    return std::clamp(std::min(image.width, image.height) / 150.0, 5.0, 30.0);
}

std::optional<QPointF> SnapToSpot(const MeasuredImage& image, QPointF click, double radius) {
    if (!Finite(click) || !(radius > 0) || !(radius <= kMostPixelsPerSide)) return std::nullopt;
    // The brightest pixel within the disc around the click.
    const double reach = radius + 1;
    if (click.x() < -reach || click.y() < -reach || click.x() > image.width + reach ||
        click.y() > image.height + reach)
        return std::nullopt;
    int bestX = -1, bestY = -1, best = -1;
    for (int y = std::max(0, static_cast<int>(std::floor(click.y() - radius)));
         y <= std::min(image.height - 1, static_cast<int>(std::ceil(click.y() + radius))); ++y)
        for (int x = std::max(0, static_cast<int>(std::floor(click.x() - radius)));
             x <= std::min(image.width - 1, static_cast<int>(std::ceil(click.x() + radius))); ++x) {
            if (std::hypot(x + 0.5 - click.x(), y + 0.5 - click.y()) > radius) continue;
            if (image.At(x, y) > best) {
                best = image.At(x, y);
                bestX = x;
                bestY = y;
            }
        }
    if (best < 0) return std::nullopt;
    QPointF centre(bestX + 0.5, bestY + 0.5);
    const double background = RingBackground(image, centre, radius);
    if (best <= background) return std::nullopt;
    // The centroid of the light above the background within the disc,
    // re-centred until it settles: a disc centred on the spot is symmetric
    // about it, so the centroid then has no pull to either side.
    for (int round = 0; round < 20; ++round) {
        double sum = 0, sx = 0, sy = 0;
        for (int y = std::max(0, static_cast<int>(std::floor(centre.y() - radius)));
             y <= std::min(image.height - 1, static_cast<int>(std::ceil(centre.y() + radius))); ++y)
            for (int x = std::max(0, static_cast<int>(std::floor(centre.x() - radius)));
                 x <= std::min(image.width - 1, static_cast<int>(std::ceil(centre.x() + radius))); ++x) {
                const double px = x + 0.5, py = y + 0.5;
                if (std::hypot(px - centre.x(), py - centre.y()) > radius) continue;
                const double w = image.At(x, y) - background;
                if (w <= 0) continue;
                sum += w;
                sx += w * px;
                sy += w * py;
            }
        if (!(sum > 0)) break;
        const QPointF next(sx / sum, sy / sum);
        const bool settled = std::hypot(next.x() - centre.x(), next.y() - centre.y()) < 1e-4;
        centre = next;
        if (settled) break;
    }
    return centre;
}

std::vector<QPointF> StrongMaxima(const MeasuredImage& image, const Histogram& histogram,
                                  double radius) {
    const double median = histogram.Percentile(0.5) * 65535;
    const double high = histogram.Percentile(0.999) * 65535;
    const double threshold = median + (high - median) / 3;
    struct Candidate {
        int x, y;
        std::uint16_t v;
    };
    std::vector<Candidate> candidates;
    if (!(high > median)) return {};
    for (int y = 1; y + 1 < image.height; ++y) {
        const std::uint16_t* row = &image.grey[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width)];
        const std::ptrdiff_t w = image.width;  // signed: the row above is row - w
        for (int x = 1; x + 1 < image.width; ++x) {
            const std::uint16_t v = row[x];
            if (v < threshold) continue;
            // At least as bright as its eight neighbours.
            if (v < row[x - 1] || v < row[x + 1] || v < row[x - w] || v < row[x + w] ||
                v < row[x - w - 1] || v < row[x - w + 1] || v < row[x + w - 1] || v < row[x + w + 1])
                continue;
            candidates.push_back({x, y, v});
        }
    }
    // Brightest first; one maximum per spot.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.v > b.v; });
    std::vector<QPointF> peaks;
    auto near = [&](QPointF p) {
        return std::any_of(peaks.begin(), peaks.end(), [&](QPointF q) {
            return std::hypot(p.x() - q.x(), p.y() - q.y()) < radius;
        });
    };
    std::vector<QPointF> seeds;
    for (const Candidate& c : candidates) {
        const QPointF at(c.x + 0.5, c.y + 0.5);
        if (std::any_of(seeds.begin(), seeds.end(), [&](QPointF q) {
                return std::hypot(at.x() - q.x(), at.y() - q.y()) < radius;
            }))
            continue;
        seeds.push_back(at);
        const QPointF centre = SnapToSpot(image, at, radius).value_or(at);
        if (!near(centre)) peaks.push_back(centre);
    }
    return peaks;
}

SpotScore ScoreSpots(const std::vector<QPointF>& maxima, const std::vector<QPointF>& simulated,
                     QSize size, double tolerance) {
    SpotScore score;
    score.spotMatched.assign(simulated.size(), false);
    std::vector<bool> explained(maxima.size(), false);
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    for (std::size_t i = 0; i < simulated.size(); ++i) {
        const QPointF s = simulated[i];
        const bool inside = Finite(s) && bounds.contains(s);
        if (inside) ++score.spots;
        for (std::size_t j = 0; j < maxima.size(); ++j) {
            if (std::hypot(maxima[j].x() - s.x(), maxima[j].y() - s.y()) > tolerance) continue;
            explained[j] = true;
            if (inside && !score.spotMatched[i]) {
                score.spotMatched[i] = true;
                ++score.matched;
            }
        }
    }
    for (std::size_t j = 0; j < maxima.size(); ++j)
        if (!explained[j]) score.unexplained.push_back(static_cast<int>(j));
    return score;
}

}  // namespace quorvex::image
