// Timings of export: each export path in the program (pattern, lattice,
// screen and form pictures, SVG, PDF, the spot list) for the dense p6mm
// (19 1 / -3 17) pattern with its six subpatterns painted, and the command
// line's headless export timed as a whole process, start to exit.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "window/MainWindow.h"
#include "window/PictureExport.h"

namespace {

using quorvex::window::ExportOptions;
using quorvex::window::ExportView;
using quorvex::window::MainWindow;

// The main window showing p6mm (19 1 / -3 17), domains included and painted.
std::unique_ptr<MainWindow> DenseHexagonalWindow() {
    auto main = std::make_unique<MainWindow>();
    quorvex::window::StructureForm& f = main->form();
    const int row = f.basicGroupList->findText(QStringLiteral("p6mm (p6m)"), Qt::MatchContains);
    if (row < 0) std::abort();
    f.basicGroupList->setCurrentIndex(row);
    emit f.basicGroupList->activated(row);
    const char* entries[] = {"19", "1", "-3", "17"};
    QLineEdit* fields[] = {f.matrixField11, f.matrixField12, f.matrixField21, f.matrixField22};
    for (int i = 0; i < 4; ++i) {
        fields[i]->setText(QString::fromLatin1(entries[i]));
        f.onFieldCommitted(fields[i]);
    }
    f.includeDomainsBox->setChecked(true);
    f.paintDomainsBox->setChecked(true);
    if (f.document().derived.pattern.subpatterns.size() != 6) std::abort();
    return main;
}

enum class Output { Png, Svg, Pdf, Csv };

void ExportInProgram(benchmark::State& state, ExportView view, Output output) {
    const auto main = DenseHexagonalWindow();
    const quorvex::window::ExportSource source = main->exportSource();
    ExportOptions options;
    options.view = view;
    qsizetype bytes = 0;
    for (auto _ : state) {
        switch (output) {
            case Output::Png:
                bytes = quorvex::window::ExportImage(source, options).sizeInBytes();
                break;
            case Output::Svg:
                bytes = quorvex::window::ExportSvg(source, options).size();
                break;
            case Output::Pdf:
                bytes = quorvex::window::ExportPdf(source, options).size();
                break;
            case Output::Csv:
                bytes = quorvex::window::ExportSpotList(source, options).size();
                break;
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK_CAPTURE(ExportInProgram, pattern_png, ExportView::Pattern, Output::Png)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, pattern_svg, ExportView::Pattern, Output::Svg)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, pattern_pdf, ExportView::Pattern, Output::Pdf)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, pattern_csv, ExportView::Pattern, Output::Csv)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, lattice_png, ExportView::Lattice, Output::Png)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, screen_png, ExportView::Screen, Output::Png)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, screen_svg, ExportView::Screen, Output::Svg)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, screen_csv, ExportView::Screen, Output::Csv)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, form_png, ExportView::Form, Output::Png)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportInProgram, form_pdf, ExportView::Form, Output::Pdf)
    ->Unit(benchmark::kMillisecond);

// The example structure file of p6mm (19 1 / -3 17) with domains painted.
QString DenseHexagonalFile() {
    const QDir examples(QStringLiteral(QUORVEX_SOURCE_DIR "/examples"));
    const QStringList found =
        examples.entryList({QStringLiteral("*19*17*.qvx")}, QDir::Files, QDir::Name);
    return found.isEmpty() ? QString() : examples.filePath(found.front());
}

// `quorvex --export OUT --view pattern FILE` from process start to exit,
// with no display.
void ExportProcess(benchmark::State& state, const char* extension) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.") + QLatin1String(extension));
    QStringList arguments{QStringLiteral("--export"), out, QStringLiteral("--view"),
                          QStringLiteral("pattern")};
    const QString file = DenseHexagonalFile();
    if (!file.isEmpty()) arguments << file;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QUORVEX_PROGRAM), arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("the export failed");
            break;
        }
    }
    state.SetLabel(file.isEmpty() ? "default structure (no example file)"
                                  : QDir(file).dirName().toStdString());
}

BENCHMARK_CAPTURE(ExportProcess, png, "png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ExportProcess, svg, "svg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ExportProcess, csv, "csv")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
