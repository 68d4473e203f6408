#include "window/ScreenPicture.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <cstring>
#include <map>
#include <mutex>
#include <numeric>
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
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The rows [rowLow, rowHigh) of an image that one thread draws into.
struct Band {
    QRgb* pixels = nullptr;  // the image's first pixel
    qsizetype stride = 0;    // pixels from one line to the next
    int width = 0, rowLow = 0, rowHigh = 0;

    QRgb* Line(int y) const { return pixels + y * stride; }
};

Band BandOf(QImage& image, int rowLow, int rowHigh) {
    return {reinterpret_cast<QRgb*>(image.bits()), image.bytesPerLine() / 4, image.width(),
            rowLow, rowHigh};
}

// Where a spot lands: the pixel that holds it and which of the sub-pixel
// positions within that pixel.
struct Placement {
    int x, y, subPixel;
};

// The placement of a point of the image plane within kPlaceable pixels of
// the image: one conversion to an integer gives both the pixel and the
// sub-pixel position (the offset makes the truncation a floor).
constexpr int kPlaceable = 64;
Placement Place(double x, double y) {
    const int sx = static_cast<int>((x + kPlaceable) * kSubPixels);
    const int sy = static_cast<int>((y + kPlaceable) * kSubPixels);
    return {sx / kSubPixels - kPlaceable, sy / kSubPixels - kPlaceable,
            (sy % kSubPixels) * kSubPixels + sx % kSubPixels};
}

// Whether a stamp reaching `reach` pixels around a placement touches the band.
bool Touches(const Placement& at, int reach, const Band& band) {
    return at.x + reach >= 0 && at.x - reach < band.width && at.y + reach >= band.rowLow &&
           at.y - reach < band.rowHigh;
}

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

    // ORs the coloured stamp into the band around (x, y).
    void Stamp(const Band& band, const Placement& at, const Coloured& coloured) const {
        if (!Touches(at, reach_, band)) return;
        const Shape& shape = shapes_[at.subPixel];
        const QRgb* values = coloured[static_cast<std::size_t>(at.subPixel)].data();
        const bool inside = at.x - reach_ >= 0 && at.x + reach_ < band.width &&
                            at.y - reach_ >= band.rowLow && at.y + reach_ < band.rowHigh;
        for (const Run& run : shape.runs) {
            const int py = at.y + run.dy;
            if (!inside && (py < band.rowLow || py >= band.rowHigh)) continue;
            QRgb* line = band.Line(py) + at.x + run.dx;
            const QRgb* v = values + run.first;
            if (inside) {
                for (int i = 0; i < run.length; ++i) line[i] |= v[i];
            } else {
                for (int i = 0; i < run.length; ++i) {
                    const int px = at.x + run.dx + i;
                    if (px >= 0 && px < band.width) line[i] |= v[i];
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

    // Adds the light of a spot at (x, y) to the band's rows of `light`
    // (one float per pixel of the image).
    void Add(std::vector<float>& light, const Band& band, const Placement& at, float weight) const {
        if (!Touches(at, reach_, band)) return;
        const std::vector<float>& w = weights_[at.subPixel];
        const int side = 2 * reach_ + 1, width = band.width;
        const int x0 = std::max(0, at.x - reach_), x1 = std::min(width - 1, at.x + reach_);
        const int y0 = std::max(band.rowLow, at.y - reach_);
        const int y1 = std::min(band.rowHigh - 1, at.y + reach_);
        const int n = x1 - x0 + 1;
        for (int py = y0; py <= y1; ++py) {
            float* __restrict out =
                &light[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x0)];
            const float* __restrict in = w.data() + (py - at.y + reach_) * side + x0 - at.x + reach_;
            for (int i = 0; i < n; ++i) out[i] += weight * in[i];
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

// Calls draw(layer, lattice, x, y, extinct) for every point of every visible
// layer inside the acceptance whose image row y lies in [rowLow, rowHigh),
// with the indices of the layer and of the lattice in LatticesOf(layer).
template <typename Draw>
void ForEachSpot(const std::vector<ScreenLayer>& layers, const model::ScreenSettings& settings,
                 const ScreenGeometry& geometry, Draw draw,
                 double rowLow = -std::numeric_limits<double>::infinity(),
                 double rowHigh = std::numeric_limits<double>::infinity()) {
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const ScreenLayer& layer = layers[i];
        if (!layer.visible) continue;
        const model::ScreenScale scale = model::MakeScreenScale(layer.structure, settings);
        const double gMax = scale.GMaxDocument();
        // Image pixels per reciprocal unit, taken once for every point.
        const double f = geometry.radius * scale.perUnit / (scale.k * scale.sinAcceptance);
        const double cx = geometry.centre.x(), cy = geometry.centre.y();
        // y = cy - f g.y: the rows as a band of g.y.
        const model::YBand band{(cy - rowHigh) / f, (cy - rowLow) / f};
        const std::vector<LatticeToDraw> lattices = LatticesOf(layer);
        for (std::size_t j = 0; j < lattices.size(); ++j) {
            const model::Glides glides = lattices[j].glides;
            const bool anyGlide = glides.alongFirst || glides.alongSecond;
            model::ForEachPointWithin(
                lattices[j].p, lattices[j].q, gMax, kPointLimit,
                [&](long long n1, long long n2, Vec2 g) {
                    const double y = cy - f * g.y;
                    if (y >= rowLow && y < rowHigh)
                        draw(i, j, cx + f * g.x, y, anyGlide && Extinct(glides, n1, n2));
                },
                band);
        }
    }
}

// A spot waiting to be stamped: where, and which look of the picture's.
struct PendingSpot {
    Placement at;
    std::uint32_t look;
};

// The spots of a band sorted into strips of rows.
class SpotStrips {
  public:
    // About `expected` spots will come.
    SpotStrips(const Band& band, double expected)
        : width_(band.width), low_(band.rowLow), high_(band.rowHigh),
          strips_(static_cast<std::size_t>(std::max(0, band.rowHigh - band.rowLow)) / kRows + 1) {
        const double each = std::clamp(1.2 * expected / static_cast<double>(strips_.size()), 0.0, 1e6);
        for (std::vector<PendingSpot>& strip : strips_) strip.reserve(static_cast<std::size_t>(each));
    }
    void Add(double x, double y, std::uint32_t look) {
        // No stamp reaches further than kPlaceable pixels.
        if (!(x > -kPlaceable && x < width_ + kPlaceable && y > low_ - kPlaceable &&
              y < high_ + kPlaceable))
            return;
        // Spots above or below the band go to its first or last strip.
        const Placement at = Place(x, y);
        const int row = std::clamp(at.y, low_, high_);
        const auto strip = static_cast<std::size_t>(row - low_) / kRows;
        strips_[std::min(strip, strips_.size() - 1)].push_back({at, look});
    }
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (const std::vector<PendingSpot>& strip : strips_)
            for (const PendingSpot& spot : strip) visit(spot);
    }

  private:
    static constexpr std::size_t kRows = 16;
    int width_, low_, high_;
    std::vector<std::vector<PendingSpot>> strips_;
};

// Turns the light of the gaussian spots in the band's rows into the green
// of the phosphor, white where it saturates.
void LightPhosphor(const std::vector<float>& light, const Band& band) {
    const auto w = static_cast<std::size_t>(band.width);
    for (int y = band.rowLow; y < band.rowHigh; ++y) {
        QRgb* line = band.Line(y);
        const float* row = &light[static_cast<std::size_t>(y) * w];
        for (int x = 0; x < band.width; ++x) {
            const float l = row[x];
            if (l <= 0.002f) continue;
            const QRgb base = line[x];
            const int green = std::min(255, qGreen(base) + static_cast<int>(l * 255));
            const int white = std::clamp(static_cast<int>((l - 0.8f) * 200), 0, 200);
            line[x] = qRgb(std::max(qRed(base), white), green, std::max(qBlue(base), white));
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

// Black, with the glow of the phosphor in the photo look. The glow is the
// same from one picture to the next while the geometry stays: it is painted
// once and copied.
void PaintBackground(QImage& image, const ScreenGeometry& geometry, bool photo) {
    if (!photo) {
        image.fill(Qt::black);
        return;
    }
    static std::mutex guard;
    static QImage glow;
    static ScreenGeometry glowGeometry;
    const std::lock_guard<std::mutex> lock(guard);
    if (glow.size() != image.size() || glow.format() != image.format() ||
        glow.devicePixelRatio() != image.devicePixelRatio() ||
        glowGeometry.centre != geometry.centre || glowGeometry.radius != geometry.radius) {
        glow = QImage(image.size(), image.format());
        glow.setDevicePixelRatio(image.devicePixelRatio());
        glow.fill(Qt::black);
        QPainter p(&glow);
        p.setRenderHint(QPainter::Antialiasing);
        PaintGlow(p, geometry);
        glowGeometry = geometry;
    }
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), glow.constScanLine(y),
                    static_cast<std::size_t>(image.bytesPerLine()));
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
    PaintBackground(image, geometry, photo);
    const double r = SpotRadiusOn(geometry, layers, settings);
    const int w = image.width(), h = image.height();

    // What each lattice's spots look like, made before any thread starts.
    // Plot: a coloured stamp each (kind 0 is the faint ring of an extinct
    // spot); photo: the weight of the gaussian.
    struct Look {
        const Stamps* stamp = nullptr;
        const Stamps::Coloured* coloured = nullptr;
        float weight = 1;
    };
    std::vector<Look> looks;
    std::vector<std::vector<std::uint32_t>> lookOf(layers.size());
    const Stamps& faint = StampsFor(Marker::Disc, r * 1.3, true);
    looks.push_back({&faint, &faint.In(qRgb(90, 90, 90)), 0});
    const Stamps& ring = StampsFor(Marker::Disc, r * 1.6, true);
    for (std::size_t i = 0; i < layers.size(); ++i)
        for (const LatticeToDraw& lattice : LatticesOf(layers[i])) {
            lookOf[i].push_back(static_cast<std::uint32_t>(looks.size()));
            const Stamps& stamp = lattice.substrate ? ring : StampsFor(layers[i].marker, r, false);
            looks.push_back({&stamp, photo ? nullptr : &stamp.In(lattice.colour),
                             lattice.substrate ? 1.0f : 0.8f});
        }
    std::optional<GaussStamps> gauss;
    std::vector<float> light;
    if (photo) {
        gauss.emplace(r * 0.8);
        light.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0.f);
    }

    // Many spots are drawn on two threads, each into its own band of rows.
    // A band looks only at the spots whose stamps can reach its rows, counts
    // those whose centre it holds (the first and last band also those above
    // and below the image), sorts them into strips of rows and stamps them
    // strip by strip, so that the pixels being drawn stay in the cache.
    const double spotsExpected = EstimatedSpots(layers, settings);
    const int bands = spotsExpected > kSpotsForThreads &&
                              std::thread::hardware_concurrency() >= 2
                          ? 2
                          : 1;
    const double reach = std::ceil(3 * r) + 3;
    std::vector<int> drawn(static_cast<std::size_t>(bands), 0);
    auto drawBand = [&](int index, int low, int high) {
        const Band band = BandOf(image, low, high);
        const double countLow = index == 0 ? -kInfinity : low;
        const double countHigh = index == bands - 1 ? kInfinity : high;
        SpotStrips strips(band, spotsExpected / bands);
        int count = 0;  // kept here, not beside the other thread's count
        ForEachSpot(
            layers, settings, geometry,
            [&](std::size_t layer, std::size_t lattice, double x, double y, bool extinct) {
                if (extinct) {
                    if (settings.extinctRings && !photo) strips.Add(x, y, 0);
                    return;
                }
                count += y >= countLow && y < countHigh;
                strips.Add(x, y, lookOf[layer][lattice]);
            },
            index == 0 ? -kInfinity : low - reach, index == bands - 1 ? kInfinity : high + reach);
        strips.ForEach([&](const PendingSpot& spot) {
            const Look& look = looks[spot.look];
            if (photo)
                gauss->Add(light, band, spot.at, look.weight);
            else
                look.stamp->Stamp(band, spot.at, *look.coloured);
        });
        if (photo) LightPhosphor(light, band);
        drawn[static_cast<std::size_t>(index)] = count;
    };
    image.bits();  // detached here, not on the threads
    if (bands == 1) {
        drawBand(0, 0, h);
    } else {
        std::thread other([&] { drawBand(1, h / 2, h); });
        drawBand(0, 0, h / 2);
        other.join();
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
    std::vector<std::vector<LatticeToDraw>> lattices;
    for (const ScreenLayer& layer : layers) lattices.push_back(LatticesOf(layer));
    std::optional<QColor> ringStyle, discStyle;
    ForEachSpot(layers, settings, geometry,
                [&](std::size_t layerIndex, std::size_t latticeIndex, double x, double y,
                    bool extinct) {
                    const ScreenLayer& layer = layers[layerIndex];
                    const LatticeToDraw& lattice = lattices[layerIndex][latticeIndex];
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
