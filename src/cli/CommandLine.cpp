#include "cli/CommandLine.h"

#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <variant>

#include "model/LeedScreen.h"
#include "platform/MessageBox.h"
#include "window/MainWindow.h"
#include "window/PictureExport.h"

namespace quorvex::cli {

namespace {

using window::ExportOptions;
using window::ExportView;

int Fail(const QString& line) {
    std::fprintf(stderr, "quorvex: %s\n", qPrintable(line));
    return 1;
}

struct Options {
    QCommandLineOption exportTo{
        QStringLiteral("export"),
        QStringLiteral("Write the picture or spot list to OUT (format from its extension: png, "
                       "svg, pdf, csv) without showing a window, then exit."),
        QStringLiteral("OUT")};
    QCommandLineOption view{QStringLiteral("view"),
                            QStringLiteral("What to export: pattern (default), lattice, screen "
                                           "or form."),
                            QStringLiteral("VIEW")};
    QCommandLineOption energy{QStringLiteral("energy"),
                              QStringLiteral("The beam energy of the screen view, in eV."),
                              QStringLiteral("EV")};
    QCommandLineOption scale{QStringLiteral("scale"),
                             QStringLiteral("Pixels per window pixel (PNG) or page size, 1 to 8."),
                             QStringLiteral("N")};
    QCommandLineOption oneColour{QStringLiteral("one-colour"),
                                 QStringLiteral("Every domain in one colour.")};
    QCommandLineOption background{
        QStringLiteral("background"),
        QStringLiteral("black or white (default: as the window shows the view)."),
        QStringLiteral("COLOUR")};
    QCommandLineOption captions{QStringLiteral("captions"),
                                QStringLiteral("Add the domain legend and a caption line.")};
};

struct Request {
    bool exporting = false;
    QString output;
    QString file;
    ExportOptions options;
    std::optional<double> energy;
};

// The parsed request, or the line that says what is wrong with the arguments.
std::variant<Request, QString> Interpret(const QCommandLineParser& parser, const Options& o) {
    Request r;
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return QStringLiteral("give at most one structure file");
    if (!files.isEmpty()) r.file = files.front();
    r.exporting = parser.isSet(o.exportTo);
    if (!r.exporting) {
        for (const QCommandLineOption* option :
             {&o.view, &o.energy, &o.scale, &o.oneColour, &o.background, &o.captions})
            if (parser.isSet(*option))
                return QStringLiteral("--%1 needs --export").arg(option->names().front());
        return r;
    }
    r.output = parser.value(o.exportTo);
    if (!window::FormatOfFileName(r.output))
        return QStringLiteral("cannot tell the format of '%1': use .png, .svg, .pdf or .csv")
            .arg(r.output);
    if (parser.isSet(o.view)) {
        const std::optional<ExportView> view = window::ViewNamed(parser.value(o.view));
        if (!view)
            return QStringLiteral("unknown view '%1': use pattern, lattice, screen or form")
                .arg(parser.value(o.view));
        r.options.view = *view;
    }
    if (parser.isSet(o.energy)) {
        bool ok = false;
        const double e = parser.value(o.energy).toDouble(&ok);
        if (!ok || !model::kEnergyRange.Contains(e))
            return QStringLiteral("--energy must be a number of eV from %1 to %2")
                .arg(model::kEnergyRange.low)
                .arg(model::kEnergyRange.high);
        r.energy = e;
    }
    if (parser.isSet(o.scale)) {
        bool ok = false;
        const int scale = parser.value(o.scale).toInt(&ok);
        if (!ok || scale < 1 || scale > window::kMaxExportScale)
            return QStringLiteral("--scale must be a whole number from 1 to %1")
                .arg(window::kMaxExportScale);
        r.options.scale = scale;
    }
    r.options.oneColour = parser.isSet(o.oneColour);
    r.options.whiteBackground = window::WindowBackgroundIsWhite(r.options.view);
    if (parser.isSet(o.background)) {
        const QString b = parser.value(o.background);
        if (b != QLatin1String("black") && b != QLatin1String("white"))
            return QStringLiteral("--background must be black or white");
        r.options.whiteBackground = b == QLatin1String("white");
    }
    r.options.legendAndCaptions = parser.isSet(o.captions);
    return r;
}

int Export(const Request& r) {
    // The window's messages go to stderr: no box waits for a click.
    QString message;
    platform::SetMessageHandler([&message](const QString& text) {
        if (message.isEmpty()) message = text;
    });
    window::MainWindow window;
    QString error;
    if (!r.file.isEmpty() && !window.openStructureFile(r.file, &error)) return Fail(error);
    if (!message.isEmpty()) return Fail(message);
    window::ExportSource source = window.exportSource();
    if (r.energy) source.screen.energy = *r.energy;
    if (!window::ExportToFile(source, r.options, r.output, &error)) return Fail(error);
    return 0;
}

// Qt warns on stderr when the runtime folder is not set, which a display
// session sets; a headless export gets a private one.
void UsePrivateRuntimeFolder() {
    if (std::getenv("XDG_RUNTIME_DIR")) return;
    const QString folder =
        QDir::tempPath() +
        QStringLiteral("/quorvex-runtime-%1").arg(static_cast<qulonglong>(getuid()));
    QDir().mkpath(folder);
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("XDG_RUNTIME_DIR", QFile::encodeName(folder).constData(), 1);
}

}  // namespace

int Main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("quorvex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEX_VERSION));
    // The arguments are read before any application exists: an export, the
    // help and every mistake must work with no display. Qt's own -platform
    // is left to Qt.
    QStringList arguments;
    bool platformGiven = false;
    for (int i = 0; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (i > 0 && argument == QLatin1String("-platform") && i + 1 < argc) {
            platformGiven = true;
            ++i;
            continue;
        }
        arguments << argument;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates the LEED pattern of a surface structure. Without --export, "
                       "opens the structure file in the window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A structure file (.qvx) to open or export."),
                                 QStringLiteral("[file.qvx]"));
    const Options o;
    parser.addOptions(
        {o.exportTo, o.view, o.energy, o.scale, o.oneColour, o.background, o.captions});

    if (!parser.parse(arguments)) return Fail(parser.errorText());
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (parser.isSet(help) || helpAll || parser.isSet(version)) {
        QCoreApplication app(argc, argv);
        if (parser.isSet(help) || helpAll) parser.showHelp(0);
        parser.showVersion();
    }
    const auto interpreted = Interpret(parser, o);
    if (const QString* problem = std::get_if<QString>(&interpreted)) return Fail(*problem);
    const Request& request = std::get<Request>(interpreted);

    if (request.exporting) {
        if (!platformGiven && !std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        UsePrivateRuntimeFolder();
        QApplication app(argc, argv);
        return Export(request);
    }
    QApplication app(argc, argv);
    window::MainWindow window;
    window.show();
    if (QString error; !request.file.isEmpty()) {
        window.openStructureFile(request.file, &error);
        // Refused, or opened without its measured image.
        if (!error.isEmpty()) platform::ShowMessage(error);
    }
    return app.exec();
}

}  // namespace quorvex::cli
