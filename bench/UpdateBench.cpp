// Timings of the full update (UpdateAll with the pattern) on the window's
// QImage canvas, for the structures and zooms a user reaches, and of the two
// cheap redraws that run while the mouse moves: the scroll-bar preview and one
// step of a drag trail.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/MessageBox.h"
#include "window/PatternForm.h"

namespace {

using quorvex::window::PatternForm;

// Shows the first row of a list whose text contains `name` and runs its click
// handler, as a user's choice does.
void Choose(QComboBox* list, const QString& name, const std::function<void()>& click) {
    for (int row = 0; row < list->count(); ++row) {
        if (list->itemText(row).contains(name)) {
            list->setCurrentIndex(row);
            click();
            return;
        }
    }
    std::abort();
}

void ChooseBasic(PatternForm& f, const QString& name) {
    Choose(f.Combo1, name, [&f] { f.Combo1_Click(); });
}

void ChooseCommon(PatternForm& f, const QString& name) {
    Choose(f.Combo3, name, [&f] { f.Combo3_Click(); });
}

void Type(QLineEdit* field, const QString& text, const std::function<void(int)>& keyUp) {
    field->setText(text);
    keyUp(13);
}

void PaintDomains(PatternForm& f) {
    f.Check3->setChecked(true);
    f.Check2->setChecked(true);
}

using Setup = std::function<void(PatternForm&)>;

void FullUpdate(benchmark::State& state, const Setup& setup) {
    PatternForm f;
    setup(f);
    for (auto _ : state) f.UpdateAll(1, 0);
    state.counters["subpatterns"] = f.State().SubpatternCount;
}

void Default(PatternForm&) {}

void C8x2DomainsAndBases(PatternForm& f) {
    ChooseCommon(f, "c(8x2)");
    PaintDomains(f);
    f.Check4->setChecked(true);
}

void Hex2r3DomainsPainted(PatternForm& f) {
    ChooseBasic(f, "p6mm (p6m)");
    ChooseCommon(f, "(2r3x2r3)R30");
    PaintDomains(f);
}

void Hex19Matrix(PatternForm& f) {
    ChooseBasic(f, "p6mm (p6m)");
    Type(f.Text6, "19", [&f](int k) { f.Text6_KeyUp(k); });
    Type(f.Text8, "1", [&f](int k) { f.Text8_KeyUp(k); });
    Type(f.Text7, "-3", [&f](int k) { f.Text7_KeyUp(k); });
    Type(f.Text9, "17", [&f](int k) { f.Text9_KeyUp(k); });
    PaintDomains(f);
}

Setup ZoomedOut(int clicks) {
    return [clicks](PatternForm& f) {
        for (int i = 0; i < clicks; ++i) {
            f.Command4_Click();  // lattice "mag -"
            f.Command6_Click();  // pattern "mag -"
        }
    };
}

void NeedleCell(PatternForm& f) {
    ChooseBasic(f, "p2mm (pmm)");
    Type(f.Text1, "1000", [&f](int k) { f.Text1_KeyUp(k); });
    Type(f.Text2, "0.001", [&f](int k) { f.Text2_KeyUp(k); });
}

void ScrollPreview(benchmark::State& state) {
    PatternForm f;
    int position = 0;
    for (auto _ : state) {
        f.VScroll1->setSliderPosition(position);
        f.VScroll1_Scroll();
        f.VScroll2->setSliderPosition(150 - position);
        f.VScroll2_Scroll();
        position = (position + 7) % 151;
    }
}

void DragTrailStep(benchmark::State& state) {
    PatternForm f;
    const auto& m = f.State();
    // Press on the tip of b1, then move about inside the lattice box.
    const float tipX = static_cast<float>(m.LatBoxCenterX + m.LatScale * m.B1X);
    const float tipY = static_cast<float>(m.LatBoxCenterY - m.LatScale * m.B1Y);
    f.Form_MouseDown(tipX, tipY);
    if (!f.State().Dragging) std::abort();
    int step = 0;
    for (auto _ : state) {
        const float x = tipX - 15.0f * static_cast<float>(step % 100);
        const float y = tipY - 15.0f * static_cast<float>(step % 37);
        f.Form_MouseMove(x, y);
        ++step;
    }
    f.Form_MouseUp(tipX, tipY);
}

}  // namespace

BENCHMARK_CAPTURE(FullUpdate, default_startup, Default)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, p4mm_c8x2_domains_bases, C8x2DomainsAndBases)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, p6mm_2r3x2r3R30_domains, Hex2r3DomainsPainted)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, p6mm_matrix_19_1_m3_17_domains, Hex19Matrix)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, default_mag_minus_30, ZoomedOut(30))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, default_mag_minus_100, ZoomedOut(100))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, default_mag_minus_160, ZoomedOut(160))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, default_mag_minus_300, ZoomedOut(300))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, default_mag_minus_4000, ZoomedOut(4000))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, p2mm_a1000_b0_001, NeedleCell)->Unit(benchmark::kMillisecond);
BENCHMARK(ScrollPreview)->Unit(benchmark::kMicrosecond);
BENCHMARK(DragTrailStep)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const QByteArray dir = QDir::tempPath().toUtf8() + "/quorvex-runtime-" +
                               QByteArray::number(static_cast<qlonglong>(getuid()));
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir), QFileDevice::ReadOwner |
                                                          QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner);
        setenv("XDG_RUNTIME_DIR", dir.constData(), 1);
    }
    QApplication app(argc, argv);
    // A refused input would open a modal box and stop the run; report it instead.
    quorvex::platform::SetMessageHandler([](const QString& text) {
        std::fprintf(stderr, "message: %s\n", text.toStdString().c_str());
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
