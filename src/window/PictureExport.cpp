#include "window/PictureExport.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>
#include <cstdlib>

#include "model/FormLayout.h"
#include "model/PlaneGroups.h"
#include "model/SpotTable.h"
#include "platform/ImageSurface.h"
#include "platform/PainterSurface.h"
#include "render/PatternDrawing.h"
#include "render/RealLattice.h"
#include "window/MainWindow.h"
#include "window/StructureForm.h"

namespace quorvex::window {

namespace {

using model::kPatternBox;

constexpr double kTwips = model::kTwipsPerPixel;
// The caption line under a box or the screen, in logical pixels.
constexpr int kCaptionBand = 22;
constexpr double kCaptionGapTwips = 60;

int Px(double twips) {
    return platform::PixelIndex(twips, kTwips);
}

QRect BoxPixels(const model::Box& b) {
    return QRect(QPoint(Px(b.left), Px(b.top)), QPoint(Px(b.Right()), Px(b.Bottom())));
}

const model::Box& BoxOf(ExportView view) {
    return view == ExportView::Lattice ? model::kLatticeBox : kPatternBox;
}

model::PatternOptions ShownOptions(const ExportSource& source, const ExportOptions& o) {
    model::PatternOptions options = source.form->document().structure.options;
    if (o.oneColour) options.paintDomains = false;
    return options;
}

bool LegendIncluded(const ExportSource& source, const ExportOptions& o) {
    return o.view == ExportView::Pattern && o.legendAndCaptions &&
           render::LegendShown(ShownOptions(source, o)) &&
           source.form->document().derived.pattern.domainsIncluded;
}

constexpr const char* kLegendTitle = "Domain colors :";

int TextWidth(const QString& text) {
    return QFontMetrics(QApplication::font()).horizontalAdvance(text) + 4;
}

QString Caption(const ExportSource& source, const ExportOptions& o);

// The part of the window a box view shows, in logical pixels, widened for
// the legend's title and the caption where they reach further.
QRect BoxViewRegion(const ExportSource& source, const ExportOptions& o) {
    QRect r = BoxPixels(BoxOf(o.view));
    if (LegendIncluded(source, o))
        r.setRight(
            std::max(Px(model::kLegendRight),
                     Px(model::kLegendOrigin.x) + TextWidth(QString::fromLatin1(kLegendTitle))));
    if (o.legendAndCaptions) {
        r.setBottom(r.bottom() + kCaptionBand);
        r.setWidth(std::max(r.width(), TextWidth(Caption(source, o))));
    }
    return r;
}

QSize ScreenPictureSize(const ExportSource& source, const ExportOptions& o) {
    QSize size = source.screenSize;
    if (o.legendAndCaptions) size.rheight() += kCaptionBand;
    return size;
}

// The picture's size in logical pixels, before the scale.
QSize LogicalSize(const ExportSource& source, const ExportOptions& o) {
    switch (o.view) {
        case ExportView::Pattern:
        case ExportView::Lattice:
            return BoxViewRegion(source, o).size();
        case ExportView::Screen:
            return ScreenPictureSize(source, o);
        case ExportView::Form:
            return QSize(Px(model::kClientWidthTwips), Px(model::kClientHeightTwips));
    }
    return {};
}

std::string GroupShortName(model::Int32 group) {
    if (!model::IsGroup(group)) return "";
    // "[11]  Square p4mm (p4m)": the full symbol is the word before any
    // short form in brackets.
    std::string_view name = model::kGroupNames[static_cast<std::size_t>(group)];
    if (const auto bracket = name.find(" ("); bracket != std::string_view::npos)
        name = name.substr(0, bracket);
    return std::string(name.substr(name.rfind(' ') + 1));
}

QString Caption(const ExportSource& source, const ExportOptions& o) {
    const model::Document& d = source.form->document();
    const model::Structure& s = d.structure;
    const QString name = StructureName(s);
    switch (o.view) {
        case ExportView::Pattern: {
            QString text = QStringLiteral("%1  %2 / %3")
                               .arg(name, QString::fromStdString(GroupShortName(s.basicGroup)),
                                    QString::fromStdString(GroupShortName(s.superGroup)));
            if (d.derived.pattern.domainsIncluded)
                text += QStringLiteral("  ") +
                        QString::fromStdString(d.derived.pattern.DomainCaption());
            return text;
        }
        case ExportView::Lattice:
            return QStringLiteral("%1  a = %2, b = %3, \u03b1 = %4\u00b0")
                .arg(name)
                .arg(s.a, 0, 'g', 6)
                .arg(s.b, 0, 'g', 6)
                .arg(s.alpha, 0, 'g', 6);
        case ExportView::Screen:
            return QStringLiteral("%1  E = %2 eV, acceptance %3\u00b0, a = %4 \u00c5")
                .arg(name)
                .arg(source.screen.energy, 0, 'g', 6)
                .arg(source.screen.acceptanceDegrees, 0, 'g', 6)
                .arg(source.screen.latticeConstant, 0, 'g', 6);
        case ExportView::Form:
            break;
    }
    return {};
}

// One box view onto a surface in window twips: the render code's drawing,
// then the legend's title and the caption when asked for. The text is in
// the colour that stands out on the box's own background.
void DrawBoxView(platform::Surface& s, const ExportSource& source, const ExportOptions& o) {
    const model::Document& d = source.form->document();
    const model::PatternOptions options = ShownOptions(source, o);
    const model::Box& box = BoxOf(o.view);
    model::Rgb text = model::kBlack;
    if (o.view == ExportView::Pattern) {
        model::Structure structure = d.structure;
        structure.options = options;
        const model::Pattern pattern =
            model::ComputePattern(d.derived.vectors, structure, d.view, d.derived.allowedGroups);
        render::DrawPattern(s, pattern, options, d.view.spotRadius);
        text = model::kWhite;
        if (LegendIncluded(source, o)) {
            s.SetTextColor(text);
            s.SetCurrentPosition(model::kLegendOrigin.x, box.top + kTwips);
            s.Print(kLegendTitle);
        }
    } else {
        render::DrawLatticeBox(s, d.derived.vectors, d.derived.latticeScale, d.view.dotRadius,
                               options.include1x1);
    }
    if (o.legendAndCaptions) {
        s.SetTextColor(text);
        s.SetCurrentPosition(box.left, box.Bottom() + kCaptionGapTwips);
        s.Print(Caption(source, o).toStdString());
    }
}

// Pure black and pure white exchanged: the picture on the other background,
// the domains' colours as they were.
void SwapBlackWhite(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb v = line[x] | 0xff000000u;
            if (v == 0xff000000u)
                line[x] = 0xffffffffu;
            else if (v == 0xffffffffu)
                line[x] = 0xff000000u;
        }
    }
}

std::vector<ScreenLayer> ShownLayers(const ExportSource& source, const ExportOptions& o) {
    std::vector<ScreenLayer> layers = source.screenLayers;
    if (o.oneColour)
        for (ScreenLayer& layer : layers) layer.structure.options.paintDomains = false;
    return layers;
}

void PaintCaptionText(QPainter& p, const QRectF& band, const QString& text, const QColor& colour) {
    p.save();
    p.setFont(QApplication::font());
    p.setPen(colour);
    p.drawText(band.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

// The form's controls over its drawings, each where the window shows it.
void RenderControls(QPainter& p, StructureForm& form) {
    for (QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden() || child->isWindow()) continue;
        child->render(&p, child->pos(), QRegion(), QWidget::DrawChildren);
    }
}

QImage ScreenImage(const ExportSource& source, const ExportOptions& o) {
    QImage image(ScreenPictureSize(source, o) * o.scale, QImage::Format_RGB32);
    if (source.measuredScene) {
        image.fill(Qt::black);
        QPainter p(&image);
        p.scale(o.scale, o.scale);
        source.measuredScene(p, QRectF(QPointF(0, 0), QSizeF(source.screenSize)));
    } else if (o.whiteBackground) {
        // A plot on white: the painter's drawing, as in the vector formats.
        image.fill(Qt::white);
        QPainter p(&image);
        p.scale(o.scale, o.scale);
        PaintScreen(p, ShownLayers(source, o), source.screen,
                    ScreenGeometry::Fitting(source.screenSize), ScreenColours::OnWhite);
    } else {
        // The window's own raster picture.
        const QSize picture = source.screenSize * o.scale;
        QImage screen(picture, QImage::Format_ARGB32_Premultiplied);
        PaintScreen(screen, ShownLayers(source, o), source.screen,
                    ScreenGeometry::Fitting(picture));
        image.fill(Qt::black);
        QPainter p(&image);
        p.drawImage(QPoint(0, 0), screen);
    }
    if (o.legendAndCaptions) {
        QPainter p(&image);
        p.scale(o.scale, o.scale);
        PaintCaptionText(
            p, QRectF(0, source.screenSize.height(), source.screenSize.width(), kCaptionBand),
            Caption(source, o), o.whiteBackground ? Qt::black : Qt::white);
    }
    return image;
}

QImage FormImage(const ExportSource& source, const ExportOptions& o) {
    StructureForm& form = *source.form;
    const platform::Rgb back = form.canvas().BackColor();
    platform::ImageSurface surface(static_cast<int>(model::kClientWidthTwips),
                                   static_cast<int>(model::kClientHeightTwips), back, o.scale);
    form.drawPictureOn(surface, ShownOptions(source, o));
    QImage image = surface.Image();
    QPainter p(&image);
    form.paintVisibleLines(p);
    RenderControls(p, form);
    p.end();
    image.setDevicePixelRatio(1);
    return image;
}

// Everything of a vector picture, in logical pixels from its top-left corner.
void PaintVector(QPainter& p, const ExportSource& source, const ExportOptions& o) {
    const QFont font = QApplication::font();
    switch (o.view) {
        case ExportView::Pattern:
        case ExportView::Lattice: {
            const QRect region = BoxViewRegion(source, o);
            const bool windowWhite = WindowBackgroundIsWhite(o.view);
            p.fillRect(QRect(QPoint(0, 0), region.size()),
                       o.whiteBackground ? Qt::white : Qt::black);
            platform::PainterSurface s(p, region.left() * kTwips, region.top() * kTwips,
                                       windowWhite ? model::kWhite : model::kBlack, font);
            s.SetBlackWhiteSwapped(windowWhite != o.whiteBackground);
            DrawBoxView(s, source, o);
            break;
        }
        case ExportView::Screen: {
            const QColor back = o.whiteBackground ? Qt::white : Qt::black;
            p.fillRect(QRect(QPoint(0, 0), ScreenPictureSize(source, o)), back);
            if (source.measuredScene)
                source.measuredScene(p, QRectF(QPointF(0, 0), QSizeF(source.screenSize)));
            else
                PaintScreen(p, ShownLayers(source, o), source.screen,
                            ScreenGeometry::Fitting(source.screenSize),
                            o.whiteBackground ? ScreenColours::OnWhite : ScreenColours::AsShown);
            if (o.legendAndCaptions)
                PaintCaptionText(
                    p,
                    QRectF(0, source.screenSize.height(), source.screenSize.width(), kCaptionBand),
                    Caption(source, o), o.whiteBackground ? Qt::black : Qt::white);
            break;
        }
        case ExportView::Form: {
            StructureForm& form = *source.form;
            const platform::Rgb back = form.canvas().BackColor();
            p.fillRect(QRect(QPoint(0, 0), LogicalSize(source, o)), platform::ToQColor(back));
            platform::PainterSurface s(p, 0, 0, back, font);
            form.drawPictureOn(s, ShownOptions(source, o));
            form.paintVisibleLines(p);
            RenderControls(p, form);
            break;
        }
    }
}

bool WriteAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace

bool WindowBackgroundIsWhite(ExportView view) {
    return view == ExportView::Lattice;
}

std::optional<ExportFormat> FormatOfFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return ExportFormat::Png;
    if (suffix == QLatin1String("svg")) return ExportFormat::Svg;
    if (suffix == QLatin1String("pdf")) return ExportFormat::Pdf;
    if (suffix == QLatin1String("csv")) return ExportFormat::Csv;
    return std::nullopt;
}

QString ViewName(ExportView view) {
    switch (view) {
        case ExportView::Pattern:
            return QStringLiteral("pattern");
        case ExportView::Lattice:
            return QStringLiteral("lattice");
        case ExportView::Screen:
            return QStringLiteral("screen");
        case ExportView::Form:
            return QStringLiteral("form");
    }
    return {};
}

std::optional<ExportView> ViewNamed(const QString& name) {
    for (ExportView v :
         {ExportView::Pattern, ExportView::Lattice, ExportView::Screen, ExportView::Form})
        if (ViewName(v) == name) return v;
    return std::nullopt;
}

QImage ExportImage(const ExportSource& source, const ExportOptions& o) {
    switch (o.view) {
        case ExportView::Screen:
            return ScreenImage(source, o);
        case ExportView::Form:
            return FormImage(source, o);
        case ExportView::Pattern:
        case ExportView::Lattice:
            break;
    }
    const QRect region = BoxViewRegion(source, o);
    const bool windowWhite = WindowBackgroundIsWhite(o.view);
    // The whole window's twips, and room for the legend and the caption.
    const double width = std::max((region.right() + 1) * kTwips, model::kClientWidthTwips);
    const double height = std::max((region.bottom() + 1) * kTwips, model::kClientHeightTwips);
    platform::ImageSurface surface(static_cast<int>(width), static_cast<int>(height),
                                   windowWhite ? model::kWhite : model::kBlack, o.scale);
    DrawBoxView(surface, source, o);
    QImage image = surface.Image().copy(QRect(region.topLeft() * o.scale, region.size() * o.scale));
    image.setDevicePixelRatio(1);
    if (windowWhite != o.whiteBackground) SwapBlackWhite(image);
    return image;
}

QByteArray ExportSvg(const ExportSource& source, const ExportOptions& o) {
    const QSize size = LogicalSize(source, o);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size * o.scale);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Quorvex ") + ViewName(o.view));
    svg.setDescription(Caption(source, o));
    QPainter p(&svg);
    PaintVector(p, source, o);
    p.end();
    return bytes;
}

QByteArray ExportPdf(const ExportSource& source, const ExportOptions& o) {
    const QSize size = LogicalSize(source, o);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setCreator(QStringLiteral("Quorvex"));
    pdf.setTitle(QStringLiteral("Quorvex ") + ViewName(o.view));
    pdf.setResolution(96);
    // A page the picture's size: 96 logical pixels to the inch, times the scale.
    const QSizeF points(size.width() * 0.75 * o.scale, size.height() * 0.75 * o.scale);
    pdf.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter p(&pdf);
    p.scale(static_cast<double>(pdf.width()) / size.width(),
            static_cast<double>(pdf.height()) / size.height());
    PaintVector(p, source, o);
    p.end();
    return bytes;
}

QByteArray ExportSpotList(const ExportSource& source, const ExportOptions& o) {
    model::SpotListOptions list;
    if (o.view == ExportView::Screen) {
        const ScreenLayer& layer = source.screenLayers.front();
        const model::ScreenScale scale = model::MakeScreenScale(layer.structure, source.screen);
        list.gMax = scale.GMaxDocument();
        list.include1x1 = layer.structure.options.include1x1;
        list.indexDenominator = std::llabs(layer.structure.matrix.Determinant());
        const auto spots = model::ListSpots(layer.pattern, layer.vectors, list);
        return QByteArray::fromStdString(model::SpotTableCsv(spots, scale.perUnit, scale));
    }
    const model::Document& d = source.form->document();
    const model::Pattern& pattern = d.derived.pattern;
    const model::Box& box = kPatternBox;
    list.gMax = std::hypot(box.HalfWidth(), box.HalfHeight()) / std::abs(pattern.scale);
    list.include1x1 = d.structure.options.include1x1;
    list.indexDenominator = std::llabs(d.structure.matrix.Determinant());
    std::vector<model::ListedSpot> spots = model::ListSpots(pattern, d.derived.vectors, list);
    // What the box shows of each spot: the lattices that draw it there.
    const double spotRadius = d.view.spotRadius;
    for (model::ListedSpot& spot : spots) {
        if (spot.substrate &&
            !render::LatticeSpotDrawn(pattern.scale, pattern.ra1, pattern.ra2, spot.h.Value(),
                                      spot.k.Value(), render::SubstrateRingRadius(spotRadius)))
            spot.substrate = false;
        for (std::size_t i = 0; i < pattern.subpatterns.size() && i < 32; ++i) {
            const model::DomainSet bit = model::DomainSet{1} << i;
            if ((spot.domains & bit) == 0) continue;
            const model::Subpattern& sub = pattern.subpatterns[i];
            const double cell = model::Cross(sub.p, sub.q);
            const double n1 = std::round(model::Cross(spot.g, sub.q) / cell);
            const double n2 = std::round(model::Cross(sub.p, spot.g) / cell);
            if (!render::LatticeSpotDrawn(pattern.scale, sub.p, sub.q, n1, n2, spotRadius))
                spot.domains &= ~bit;
        }
    }
    // Spots lost to a glide count where a spot of the same size would be seen.
    std::erase_if(spots, [&](const model::ListedSpot& spot) {
        if (spot.Shown()) return false;
        const double x = box.CentreX() + pattern.scale * spot.g.x;
        const double y = box.CentreY() - pattern.scale * spot.g.y;
        return !(box.left + spotRadius < x && x < box.Right() - spotRadius &&
                 box.top + spotRadius < y && y < box.Bottom() - spotRadius);
    });
    const double perUnit = model::MakeScreenScale(d.structure, source.screen).perUnit;
    return QByteArray::fromStdString(model::SpotTableCsv(spots, perUnit, std::nullopt));
}

QString ExportProblem(const ExportSource& source, const ExportOptions& o, ExportFormat format) {
    if (o.scale < 1 || o.scale > kMaxExportScale)
        return QStringLiteral("The scale must be a whole number from 1 to %1.")
            .arg(kMaxExportScale);
    if (format == ExportFormat::Csv && o.view != ExportView::Pattern &&
        o.view != ExportView::Screen)
        return QStringLiteral("A spot list comes from the pattern or the screen view.");
    const bool drawn = source.form->document().derived.patternValid;
    if (o.view == ExportView::Screen && source.screenLayers.empty())
        return QStringLiteral("The screen shows no structure: the superlattice is too large.");
    if ((o.view == ExportView::Pattern || o.view == ExportView::Lattice) && !drawn)
        return QStringLiteral("Nothing to export: the superlattice is too large to draw.");
    return {};
}

bool ExportToFile(const ExportSource& source, const ExportOptions& o, const QString& path,
                  QString* error) {
    const std::optional<ExportFormat> format = FormatOfFileName(path);
    if (!format) {
        *error = QStringLiteral("Cannot tell the format of %1: use .png, .svg, .pdf or .csv.")
                     .arg(QFileInfo(path).fileName());
        return false;
    }
    if (const QString problem = ExportProblem(source, o, *format); !problem.isEmpty()) {
        *error = problem;
        return false;
    }
    QByteArray bytes;
    switch (*format) {
        case ExportFormat::Png: {
            const QImage image = ExportImage(source, o);
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (image.isNull() || !image.save(&buffer, "PNG")) {
                *error =
                    QStringLiteral("The picture is too large to make at %1\u00d7.").arg(o.scale);
                return false;
            }
            break;
        }
        case ExportFormat::Svg:
            bytes = ExportSvg(source, o);
            break;
        case ExportFormat::Pdf:
            bytes = ExportPdf(source, o);
            break;
        case ExportFormat::Csv:
            bytes = ExportSpotList(source, o);
            break;
    }
    return WriteAtomically(path, bytes, error);
}

}  // namespace quorvex::window
