#include "window/ScreenPicture.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <optional>
#include <thread>

#include "model/DomainColours.h"
#include "model/Spots.h"

namespace quorvex::window {

namespace {

using model::Vec2;
using Marker = ScreenLayer::Marker;

// Lattice points looked at per lattice, at most: far beyond what a screen shows.
constexpr std::size_t kPointLimit = 8'000'000;
// Sub-pixel positions of a stamp per axis.
constexpr int kSubPixels = 4;
// Labels are written only while there are few enough spots to read them.
constexpr int kMostLabels = 400;
// Beyond this many spots the picture is drawn on two threads.
constexpr double kSpotsForThreads = 20000;
// The gun's shadow, as a fraction of the screen radius.
constexpr double kGunRadius = 0.07;

// Coverage (0..255) of one marker shape around a point, for each sub-pixel
// position of the point, precomputed by supersampling.
class Stamps {
  public:
    Stamps(Marker marker, double radius, bool ring) : reach_(static_cast<int>(std::ceil(radius)) + 1) {
        const int side = 2 * reach_ + 1;
        constexpr int kSamples = 4;
        for (int oy = 0; oy < kSubPixels; ++oy)
            for (int ox = 0; ox < kSubPixels; ++ox) {
                std::vector<std::uint8_t>& c = coverage_[oy * kSubPixels + ox];
                c.assign(static_cast<std::size_t>(side * side), 0);
                const double fx = (ox + 0.5) / kSubPixels - 0.5, fy = (oy + 0.5) / kSubPixels - 0.5;
                for (int y = -reach_; y <= reach_; ++y)
                    for (int x = -reach_; x <= reach_; ++x) {
                        int hits = 0;
                        for (int sy = 0; sy < kSamples; ++sy)
                            for (int sx = 0; sx < kSamples; ++sx) {
                                const double px = x + (sx + 0.5) / kSamples - 0.5 - fx;
                                const double py = y + (sy + 0.5) / kSamples - 0.5 - fy;
                                hits += Inside(marker, px, py, radius, ring);
                            }
                        c[static_cast<std::size_t>((y + reach_) * side + x + reach_)] =
                            static_cast<std::uint8_t>(hits * 256 / (kSamples * kSamples) - (hits > 0));
                    }
                Shape& shape = shapes_[oy * kSubPixels + ox];
                for (int y = -reach_; y <= reach_; ++y) {
                    const std::uint8_t* row = &c[static_cast<std::size_t>((y + reach_) * side)];
                    int x = -reach_;
                    while (x <= reach_) {
                        while (x <= reach_ && row[x + reach_] == 0) ++x;
                        if (x > reach_) break;
                        Run run{y, x, 0, shape.alpha.size()};
                        while (x <= reach_ && row[x + reach_] != 0) {
                            shape.alpha.push_back(row[x + reach_]);
                            ++run.length;
                            ++x;
                        }
                        shape.runs.push_back(run);
                    }
                }
            }
    }

    using Coloured = std::vector<std::vector<QRgb>>;

    // ORs the coloured stamp into the rows [rowLow, rowHigh) of the image around (x, y).
    void Stamp(QImage& image, double x, double y, const Coloured& coloured, int rowLow,
               int rowHigh) const {
        const int width = image.width(), height = rowHigh;
        if (!(x > -reach_ - 1 && x < width + reach_ && y > rowLow - reach_ - 1 && y < height + reach_))
            return;
        const double fx = std::floor(x), fy = std::floor(y);
        const int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
        const int ox = std::clamp(static_cast<int>((x - fx) * kSubPixels), 0, kSubPixels - 1);
        const int oy = std::clamp(static_cast<int>((y - fy) * kSubPixels), 0, kSubPixels - 1);
        const Shape& shape = shapes_[oy * kSubPixels + ox];
        const QRgb* values = coloured[static_cast<std::size_t>(oy * kSubPixels + ox)].data();
        uchar* bits = image.bits();
        const qsizetype stride = image.bytesPerLine();
        const bool inside = cx - reach_ >= 0 && cx + reach_ < width && cy - reach_ >= rowLow &&
                            cy + reach_ < height;
        for (const Run& run : shape.runs) {
            const int py = cy + run.dy;
            if (!inside && (py < rowLow || py >= height)) continue;
            auto* line = reinterpret_cast<QRgb*>(bits + py * stride) + cx + run.dx;
            const QRgb* v = values + run.first;
            if (inside) {
                for (int i = 0; i < run.length; ++i) line[i] |= v[i];
            } else {
                for (int i = 0; i < run.length; ++i) {
                    const int px = cx + run.dx + i;
                    if (px >= 0 && px < width) line[i] |= v[i];
                }
            }
        }
    }

  private:
    static bool Inside(Marker marker, double x, double y, double r, bool ring) {
        const double d = std::hypot(x, y);
        if (ring) return d <= r && d >= r - 1.2;
        switch (marker) {
            case Marker::Disc:
                return d <= r;
            case Marker::Square:
                return std::abs(x) <= r * 0.85 && std::abs(y) <= r * 0.85;
            case Marker::Triangle:
                return y <= r * 0.7 && y >= -r + 1.7 * std::abs(x);
            case Marker::Diamond:
                return std::abs(x) + std::abs(y) <= r * 1.15;
            case Marker::Cross:
                return (std::abs(x) <= r * 0.3 || std::abs(y) <= r * 0.3) && d <= r * 1.1;
        }
        return false;
    }

    // The covered pixels of one sub-pixel position, as runs along rows.
    struct Run {
        int dy, dx, length;
        std::size_t first;  // into alpha
    };
    struct Shape {
        std::vector<Run> runs;
        std::vector<std::uint8_t> alpha;
    };

  public:
    // The pixels of each shape in one colour, scaled by their coverage:
    // (v * c + v) / 256 is v at full coverage and 0 at none. Made on first
    // use: ask for every colour before drawing on several threads.
    const Coloured& In(QRgb colour) const {
        auto it = coloured_.find(colour);
        if (it == coloured_.end()) {
            std::vector<std::vector<QRgb>> all(kSubPixels * kSubPixels);
            const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
            for (std::size_t i = 0; i < all.size(); ++i)
                for (const std::uint8_t c : shapes_[i].alpha)
                    all[i].push_back(qRgba((r * c + r) >> 8, (g * c + g) >> 8, (b * c + b) >> 8, 255));
            it = coloured_.emplace(colour, std::move(all)).first;
        }
        return it->second;
    }

  private:
    int reach_;
    std::vector<std::uint8_t> coverage_[kSubPixels * kSubPixels];
    Shape shapes_[kSubPixels * kSubPixels];
    mutable std::map<QRgb, Coloured> coloured_;
};

const Stamps& StampsFor(Marker marker, double radius, bool ring) {
    // Radii are kept to quarter pixels, so that a resize makes few new stamps.
    static std::map<std::tuple<int, int, bool>, Stamps> cache;
    const int quarter = static_cast<int>(std::lround(std::clamp(radius, 0.5, 64.0) * 4));
    const auto key = std::make_tuple(static_cast<int>(marker), quarter, ring);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, Stamps(marker, quarter / 4.0, ring)).first;
    return it->second;
}

// The light of a gaussian spot around a point, for each sub-pixel position.
class GaussStamps {
  public:
    explicit GaussStamps(double sigma) : reach_(static_cast<int>(std::ceil(3 * sigma))) {
        const int side = 2 * reach_ + 1;
        for (int oy = 0; oy < kSubPixels; ++oy)
            for (int ox = 0; ox < kSubPixels; ++ox) {
                std::vector<float>& w = weights_[oy * kSubPixels + ox];
                w.resize(static_cast<std::size_t>(side * side));
                const double fx = (ox + 0.5) / kSubPixels, fy = (oy + 0.5) / kSubPixels;
                for (int y = -reach_; y <= reach_; ++y)
                    for (int x = -reach_; x <= reach_; ++x) {
                        const double dx = (x - fx + 0.5) / sigma, dy = (y - fy + 0.5) / sigma;
                        w[static_cast<std::size_t>((y + reach_) * side + x + reach_)] =
                            static_cast<float>(std::exp(-0.5 * (dx * dx + dy * dy)));
                    }
            }
    }

    // Adds the light of a spot at (x, y) to the rows [rowLow, rowHigh).
    void Add(std::vector<float>& light, int width, int rowLow, int rowHigh, double x, double y,
             float weight) const {
        const int height = rowHigh;
        if (!(x > -reach_ - 1 && x < width + reach_ && y > rowLow - reach_ - 1 && y < height + reach_))
            return;
        const double fx = std::floor(x), fy = std::floor(y);
        const int cx = static_cast<int>(fx), cy = static_cast<int>(fy);
        const int ox = std::clamp(static_cast<int>((x - fx) * kSubPixels), 0, kSubPixels - 1);
        const int oy = std::clamp(static_cast<int>((y - fy) * kSubPixels), 0, kSubPixels - 1);
        const std::vector<float>& w = weights_[oy * kSubPixels + ox];
        const int side = 2 * reach_ + 1;
        const int x0 = std::max(0, cx - reach_), x1 = std::min(width - 1, cx + reach_);
        for (int py = std::max(rowLow, cy - reach_); py <= std::min(height - 1, cy + reach_); ++py) {
            float* row = &light[static_cast<std::size_t>(py) * static_cast<std::size_t>(width)];
            const float* stamp = &w[static_cast<std::size_t>((py - cy + reach_) * side - cx + reach_)];
            for (int px = x0; px <= x1; ++px) row[px] += weight * stamp[px];
        }
    }

  private:
    int reach_;
    std::vector<float> weights_[kSubPixels * kSubPixels];
};

QRgb ToQRgb(model::Rgb c) { return qRgb(model::RedOf(c), model::GreenOf(c), model::BlueOf(c)); }

bool Painted(const model::Structure& s) {
    return s.options.paintDomains && s.options.includeDomains;
}

bool Extinct(model::Glides glides, long long n1, long long n2) {
    return (glides.alongFirst && n2 == 0 && n1 % 2 != 0) ||
           (glides.alongSecond && n1 == 0 && n2 % 2 != 0);
}

// Every lattice of a layer with what its points look like.
struct LatticeToDraw {
    Vec2 p, q;
    model::Glides glides;
    QRgb colour;
    bool substrate;
};

std::vector<LatticeToDraw> LatticesOf(const ScreenLayer& layer) {
    std::vector<LatticeToDraw> lattices;
    const model::Pattern& pattern = layer.pattern;
    if (layer.structure.options.include1x1)
        lattices.push_back({pattern.ra1, pattern.ra2, pattern.substrateGlides,
                            qRgb(255, 255, 255), true});
    const bool painted = Painted(layer.structure);
    for (std::size_t i = 0; i < pattern.subpatterns.size(); ++i)
        lattices.push_back({pattern.subpatterns[i].p, pattern.subpatterns[i].q, pattern.superGlides,
                            ToQRgb(model::SubpatternColour(static_cast<int>(i) + 1, painted)),
                            false});
    return lattices;
}

// Calls draw(position, lattice, extinct) for every point of every visible
// layer inside the acceptance.
template <typename Draw>
void ForEachSpot(const std::vector<ScreenLayer>& layers, const model::ScreenSettings& settings,
                 const ScreenGeometry& geometry, Draw draw) {
    for (const ScreenLayer& layer : layers) {
        if (!layer.visible) continue;
        const model::ScreenScale scale = model::MakeScreenScale(layer.structure, settings);
        const double gMax = scale.GMaxDocument();
        // Image pixels per reciprocal unit, taken once for every point.
        const double f = geometry.radius * scale.perUnit / (scale.k * scale.sinAcceptance);
        const double cx = geometry.centre.x(), cy = geometry.centre.y();
        for (const LatticeToDraw& lattice : LatticesOf(layer)) {
            const bool glides = lattice.glides.alongFirst || lattice.glides.alongSecond;
            model::ForEachPointWithin(
                lattice.p, lattice.q, gMax, kPointLimit, [&](long long n1, long long n2, Vec2 g) {
                    draw(layer, lattice, cx + f * g.x, cy - f * g.y,
                         glides && Extinct(lattice.glides, n1, n2));
                });
        }
    }
}

// About how many spots the layers put on the screen: the area of the disc
// over the area of each lattice's cell.
double EstimatedSpots(const std::vector<ScreenLayer>& layers, const model::ScreenSettings& settings) {
    double spots = 0;
    for (const ScreenLayer& layer : layers) {
        if (!layer.visible) continue;
        const double gMax = model::MakeScreenScale(layer.structure, settings).GMaxDocument();
        for (const LatticeToDraw& lattice : LatticesOf(layer)) {
            const double cell = std::abs(model::Cross(lattice.p, lattice.q));
            if (cell > 0) spots += model::kPi * gMax * gMax / cell;
        }
    }
    return spots;
}

// The gun and the arm that holds it, down past the rim.
QRectF GunArm(const ScreenGeometry& geometry) {
    const double r = geometry.radius * kGunRadius;
    return QRectF(geometry.centre.x() - r * 0.35, geometry.centre.y(), r * 0.7,
                  geometry.radius * 1.05);
}

bool HiddenByGun(QPointF at, const ScreenGeometry& geometry) {
    const QPointF d = at - geometry.centre;
    const double r = geometry.radius * kGunRadius;
    return d.x() * d.x() + d.y() * d.y() <= r * r || GunArm(geometry).contains(at);
}

void PaintGun(QPainter& p, const ScreenGeometry& geometry, bool photo, bool onWhite = false) {
    const double r = geometry.radius * kGunRadius;
    p.setPen(Qt::NoPen);
    p.setBrush(onWhite ? QColor(210, 210, 210) : photo ? QColor(4, 8, 4) : QColor(45, 45, 45));
    p.drawEllipse(geometry.centre, r, r);
    p.drawRect(GunArm(geometry));
}

void PaintRim(QPainter& p, const ScreenGeometry& geometry, bool photo) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(photo ? QColor(20, 60, 20) : QColor(90, 90, 90), 1.0));
    p.drawEllipse(geometry.centre, geometry.radius, geometry.radius);
}

// The index labels of the current (first) layer, when they are few enough to read.
void PaintLabels(QPainter& p, const std::vector<ScreenLayer>& layers,
                 const model::ScreenSettings& settings, const ScreenGeometry& geometry,
                 bool onWhite = false) {
    if (layers.empty() || !layers.front().visible) return;
    const ScreenLayer& layer = layers.front();
    const model::ScreenScale scale = model::MakeScreenScale(layer.structure, settings);
    model::SpotListOptions options;
    options.gMax = scale.GMaxDocument();
    options.include1x1 = layer.structure.options.include1x1;
    options.indexDenominator = std::llabs(layer.structure.matrix.Determinant());
    options.limit = kMostLabels + 1;
    const std::vector<model::ListedSpot> spots =
        model::ListSpots(layer.pattern, layer.vectors, options);
    if (spots.size() > static_cast<std::size_t>(kMostLabels)) return;
    QFont font = p.font();
    font.setPixelSize(std::clamp(static_cast<int>(geometry.radius / 40), 8, 16));
    p.setFont(font);
    p.setPen(onWhite ? QColor(60, 60, 60) : QColor(200, 200, 200));
    const double offset = SpotRadiusOn(geometry) + 2;
    for (const model::ListedSpot& spot : spots) {
        if (!spot.Shown()) continue;
        const QPointF at = geometry.ToImage(spot.g, scale);
        if (settings.gunShown && HiddenByGun(at, geometry)) continue;
        p.drawText(at + QPointF(offset, -offset), QString::fromStdString(spot.IndexText()));
    }
}

// The faint glow of a phosphor screen in the photo look.
void PaintGlow(QPainter& p, const ScreenGeometry& geometry) {
    QRadialGradient glow(geometry.centre, geometry.radius);
    glow.setColorAt(0, QColor(10, 34, 12));
    glow.setColorAt(0.8, QColor(6, 22, 8));
    glow.setColorAt(1, QColor(2, 8, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(geometry.centre, geometry.radius, geometry.radius);
}

}  // namespace

ScreenGeometry ScreenGeometry::Fitting(QSize size) {
    ScreenGeometry g;
    const double side = std::max(1, std::min(size.width(), size.height()));
    g.centre = QPointF(size.width() / 2.0, size.height() / 2.0);
    g.radius = std::max(1.0, side / 2.0 - std::max(4.0, side * 0.02));
    return g;
}

QPointF ScreenGeometry::ToImage(Vec2 g, const model::ScreenScale& scale) const {
    const double f = radius * scale.perUnit / (scale.k * scale.sinAcceptance);
    return {centre.x() + f * g.x, centre.y() - f * g.y};
}

Vec2 ScreenGeometry::ToReciprocal(QPointF p, const model::ScreenScale& scale) const {
    const double f = radius * scale.perUnit / (scale.k * scale.sinAcceptance);
    return {(p.x() - centre.x()) / f, (centre.y() - p.y()) / f};
}

double SpotRadiusOn(const ScreenGeometry& geometry) {
    return std::clamp(geometry.radius * 0.011, 1.2, 12.0);
}

double SpotRadiusOn(const ScreenGeometry& geometry, const std::vector<ScreenLayer>& layers,
                    const model::ScreenSettings& settings) {
    // Spots stay apart: at most a third of the closest spacing of any lattice shown.
    double radius = SpotRadiusOn(geometry);
    for (const ScreenLayer& layer : layers) {
        if (!layer.visible) continue;
        const model::ScreenScale scale = model::MakeScreenScale(layer.structure, settings);
        const double perPixel = geometry.radius * scale.perUnit / (scale.k * scale.sinAcceptance);
        for (const LatticeToDraw& lattice : LatticesOf(layer)) {
            const model::ReducedBasis b = model::ReduceBasisOf(lattice.p, lattice.q);
            const double spacing = std::hypot(b.r1.x, b.r1.y) * perPixel;
            if (std::isfinite(spacing)) radius = std::min(radius, spacing / 3);
        }
    }
    return std::max(radius, 0.7);
}

int PaintScreen(QImage& image, const std::vector<ScreenLayer>& layers,
                const model::ScreenSettings& settings, const ScreenGeometry& geometry) {
    const bool photo = settings.photoLook;
    image.fill(Qt::black);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        if (photo) PaintGlow(p, geometry);
    }
    const double r = SpotRadiusOn(geometry, layers, settings);
    const int w = image.width(), h = image.height();
    // Many spots are drawn on two threads, each into its own band of rows.
    const int bands = EstimatedSpots(layers, settings) > kSpotsForThreads &&
                              std::thread::hardware_concurrency() >= 2
                          ? 2
                          : 1;
    std::vector<int> drawn(static_cast<std::size_t>(bands), 0);
    auto inBands = [&](auto drawBand) {
        if (bands == 1) {
            drawBand(0, 0, h);
            return;
        }
        std::thread other([&] { drawBand(1, h / 2, h); });
        drawBand(0, 0, h / 2);
        other.join();
    };
    // A spot is counted by the band that holds its centre.
    auto counts = [&](int band, double y, int low, int high) {
        return (y >= low && y < high) || (band == 0 && y < 0) || (band == bands - 1 && y >= h);
    };
    if (photo) {
        // Gaussian spots add up in a light buffer, then light the phosphor.
        std::vector<float> light(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0.f);
        const GaussStamps stamps(r * 0.8);
        inBands([&](int band, int low, int high) {
            ForEachSpot(layers, settings, geometry,
                        [&](const ScreenLayer&, const LatticeToDraw& lattice, double x, double y,
                            bool extinct) {
                            if (extinct) return;
                            drawn[static_cast<std::size_t>(band)] += counts(band, y, low, high);
                            stamps.Add(light, w, low, high, x, y, lattice.substrate ? 1.0f : 0.8f);
                        });
            for (int y = low; y < high; ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                const float* row = &light[static_cast<std::size_t>(y) * static_cast<std::size_t>(w)];
                for (int x = 0; x < w; ++x) {
                    const float l = row[x];
                    if (l <= 0.002f) continue;
                    const QRgb base = line[x];
                    const int green = std::min(255, qGreen(base) + static_cast<int>(l * 255));
                    const int white = std::clamp(static_cast<int>((l - 0.8f) * 200), 0, 200);
                    line[x] = qRgb(std::max(qRed(base), white), green, std::max(qBlue(base), white));
                }
            }
        });
    } else {
        const Stamps& faint = StampsFor(Marker::Disc, r * 1.3, true);
        const Stamps& ring = StampsFor(Marker::Disc, r * 1.6, true);
        const Stamps::Coloured& grey = faint.In(qRgb(90, 90, 90));
        // Every stamp and colour is made before the threads start.
        std::map<std::pair<int, QRgb>, const Stamps::Coloured*> spotStamps, ringStamps;
        std::map<int, const Stamps*> markers;
        for (const ScreenLayer& layer : layers) {
            const Stamps& marker = StampsFor(layer.marker, r, false);
            markers[static_cast<int>(layer.marker)] = &marker;
            for (const LatticeToDraw& lattice : LatticesOf(layer)) {
                spotStamps[{static_cast<int>(layer.marker), lattice.colour}] = &marker.In(lattice.colour);
                ringStamps[{0, lattice.colour}] = &ring.In(lattice.colour);
            }
        }
        inBands([&](int band, int low, int high) {
            // Spots come lattice by lattice: the last one's stamp is kept at hand.
            const LatticeToDraw* last = nullptr;
            const Stamps* stamp = nullptr;
            const Stamps::Coloured* coloured = nullptr;
            ForEachSpot(layers, settings, geometry,
                        [&](const ScreenLayer& layer, const LatticeToDraw& lattice, double x,
                            double y, bool extinct) {
                            if (extinct) {
                                if (settings.extinctRings) faint.Stamp(image, x, y, grey, low, high);
                                return;
                            }
                            drawn[static_cast<std::size_t>(band)] += counts(band, y, low, high);
                            if (&lattice != last) {
                                last = &lattice;
                                const int marker = static_cast<int>(layer.marker);
                                stamp = lattice.substrate ? &ring : markers.at(marker);
                                coloured = lattice.substrate
                                               ? ringStamps.at({0, lattice.colour})
                                               : spotStamps.at({marker, lattice.colour});
                            }
                            stamp->Stamp(image, x, y, *coloured, low, high);
                        });
        });
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (settings.gunShown) PaintGun(p, geometry, photo);
    PaintRim(p, geometry, photo);
    if (settings.indexLabels && !photo) PaintLabels(p, layers, settings, geometry);
    return std::accumulate(drawn.begin(), drawn.end(), 0);
}

void PaintScreen(QPainter& p, const std::vector<ScreenLayer>& layers,
                 const model::ScreenSettings& settings, const ScreenGeometry& geometry,
                 ScreenColours colours) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // On white the screen is a plot: no glow, and what is white on the
    // screen is black.
    const bool onWhite = colours == ScreenColours::OnWhite;
    const bool photo = settings.photoLook && !onWhite;
    if (photo) PaintGlow(p, geometry);
    const double r = SpotRadiusOn(geometry, layers, settings);
    std::optional<QColor> ringStyle, discStyle;
    ForEachSpot(layers, settings, geometry,
                [&](const ScreenLayer& layer, const LatticeToDraw& lattice, double x, double y,
                    bool extinct) {
                    const QPointF at(x, y);
                    if (extinct && !(settings.extinctRings && !photo)) return;
                    QColor colour = photo ? QColor(60, 255, 80) : QColor(lattice.colour);
                    if (onWhite && colour == QColor(Qt::white)) colour = Qt::black;
                    if (extinct || lattice.substrate) {
                        const QColor ringColour = extinct ? QColor(90, 90, 90) : colour;
                        if (!ringStyle || ringStyle != ringColour) {
                            p.setBrush(Qt::NoBrush);
                            p.setPen(QPen(ringColour, 1.0));
                            ringStyle = ringColour;
                            discStyle.reset();
                        }
                        const double ring = r * (extinct ? 1.3 : 1.6);
                        p.drawEllipse(at, ring, ring);
                        return;
                    }
                    // The painter's state changes only with the colour: a
                    // vector file then groups the spots of one colour.
                    if (!discStyle || discStyle != colour) {
                        p.setPen(Qt::NoPen);
                        p.setBrush(colour);
                        discStyle = colour;
                        ringStyle.reset();
                    }
                    switch (layer.marker) {
                        case Marker::Square:
                            p.drawRect(QRectF(at.x() - r * 0.85, at.y() - r * 0.85, r * 1.7, r * 1.7));
                            break;
                        case Marker::Diamond: {
                            const double d = r * 1.15;
                            p.drawPolygon(QPolygonF({at + QPointF(0, -d), at + QPointF(d, 0),
                                                     at + QPointF(0, d), at + QPointF(-d, 0)}));
                            break;
                        }
                        case Marker::Triangle:
                            p.drawPolygon(QPolygonF({at + QPointF(0, -r), at + QPointF(r, r * 0.7),
                                                     at + QPointF(-r, r * 0.7)}));
                            break;
                        case Marker::Cross:
                            p.drawRect(QRectF(at.x() - r, at.y() - r * 0.3, 2 * r, r * 0.6));
                            p.drawRect(QRectF(at.x() - r * 0.3, at.y() - r, r * 0.6, 2 * r));
                            break;
                        case Marker::Disc:
                            p.drawEllipse(at, r, r);
                            break;
                    }
                });
    if (settings.gunShown) PaintGun(p, geometry, photo, onWhite);
    PaintRim(p, geometry, photo);
    if (settings.indexLabels && !photo) PaintLabels(p, layers, settings, geometry, onWhite);
    p.restore();
}

}  // namespace quorvex::window
