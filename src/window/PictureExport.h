// Pictures and spot lists of the structure for other programs: the pattern
// box, the lattice box, the LEED screen or the whole form as PNG (at 1x the
// window's own pixels), SVG and PDF (spots as circles, lines as lines, text
// as text), and the spots as CSV. Everything is drawn by the window's own
// render code; files are written whole or not at all.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "model/LeedScreen.h"
#include "window/ScreenPicture.h"

namespace quorvex::window {

class StructureForm;

enum class ExportView { Pattern, Lattice, Screen, Form };
enum class ExportFormat { Png, Svg, Pdf, Csv };

constexpr int kMaxExportScale = 8;

struct ExportOptions {
    ExportView view = ExportView::Pattern;
    int scale = 1;  // 1 to kMaxExportScale: pixels (PNG) or page size (SVG, PDF)
    // Every domain in the colour of an unpainted pattern.
    bool oneColour = false;
    // The picture's background; the form keeps the window's colours.
    bool whiteBackground = false;
    // The domain-colour legend and a caption line naming the structure.
    bool legendAndCaptions = false;
};

// The background a view has in the window: white for the lattice box, black
// for the pattern and the screen.
bool WindowBackgroundIsWhite(ExportView view);

// What an export reads: the form (document, drawings, controls) and the
// LEED screen as it is set up.
struct ExportSource {
    StructureForm* form = nullptr;
    std::vector<ScreenLayer> screenLayers;  // the current structure first
    model::ScreenSettings screen;
    QSize screenSize{600, 600};  // logical pixels of the screen's picture
    // With a measured image open: the image with the spots over it, fitted
    // into a rectangle of any painter; the screen view exports that.
    std::function<void(QPainter&, const QRectF&)> measuredScene;
};

// "png", "svg", "pdf", "csv" by the file name's extension, in any case.
std::optional<ExportFormat> FormatOfFileName(const QString& path);
QString ViewName(ExportView view);
std::optional<ExportView> ViewNamed(const QString& name);

// The picture as pixels, scale times the window's size.
QImage ExportImage(const ExportSource& source, const ExportOptions& options);
QByteArray ExportSvg(const ExportSource& source, const ExportOptions& options);
QByteArray ExportPdf(const ExportSource& source, const ExportOptions& options);
// The spots inside the pattern box, or on the screen at its energy and acceptance.
QByteArray ExportSpotList(const ExportSource& source, const ExportOptions& options);

// What keeps an export from being made ("" when nothing does).
QString ExportProblem(const ExportSource& source, const ExportOptions& options,
                      ExportFormat format);

// Writes the file in the format its name says, atomically. False, with one
// sentence naming the problem in *error, when it cannot; an existing file
// is then left as it was.
bool ExportToFile(const ExportSource& source, const ExportOptions& options, const QString& path,
                  QString* error);

}  // namespace quorvex::window
