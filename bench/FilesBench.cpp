// Opening a structure file against the update it ends with: the difference is
// what reading, checking and showing the file cost. Also the reader alone.
#include <benchmark/benchmark.h>

#include <QFile>
#include <cstdlib>

#include "files/StructureFile.h"
#include "window/MainWindow.h"

namespace {

using quorvex::window::MainWindow;
using quorvex::window::StructureForm;

QString Example(const char* name) {
    return QStringLiteral(QUORVEX_EXAMPLES_DIR "/") + QString::fromLatin1(name);
}

void OpenStructureFile(benchmark::State& state, const char* name) {
    MainWindow w;
    const QString path = Example(name);
    QString error;
    for (auto _ : state)
        if (!w.openStructureFile(path, &error)) state.SkipWithError(error.toStdString().c_str());
}

// The update an opened file ends with, on the same structure.
void UpdateOfOpenedFile(benchmark::State& state, const char* name) {
    MainWindow w;
    QString error;
    if (!w.openStructureFile(Example(name), &error)) std::abort();
    for (auto _ : state)
        w.form().updateAll(StructureForm::PatternPart::Draw, StructureForm::Hold::End);
}

void ReadStructureJson(benchmark::State& state, const char* name) {
    QFile file(Example(name));
    if (!file.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray json = file.readAll();
    for (auto _ : state) benchmark::DoNotOptimize(quorvex::files::FromJson(json, "x.qvx"));
}

}  // namespace

BENCHMARK_CAPTURE(OpenStructureFile, p4mm_c2x2, "p4mm-c2x2.qvx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UpdateOfOpenedFile, p4mm_c2x2, "p4mm-c2x2.qvx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenStructureFile, p6mm_19_1_m3_17_domains, "p6mm-19-1-3-17.qvx")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UpdateOfOpenedFile, p6mm_19_1_m3_17_domains, "p6mm-19-1-3-17.qvx")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadStructureJson, p6mm_19_1_m3_17_domains, "p6mm-19-1-3-17.qvx")
    ->Unit(benchmark::kMicrosecond);
