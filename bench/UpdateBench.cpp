// Timings of the full update (with the pattern) on the window's
// QImage canvas, for the structures and zooms a user reaches, and of the two
// cheap redraws that run while the mouse moves: the scroll-bar preview and one
// step of a drag trail.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QSignalBlocker>
#include <cmath>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "model/FormLayout.h"
#include "platform/MessageBox.h"
#include "render/PixelLattice.h"
#include "window/StructureForm.h"

namespace {

using quorvex::window::StructureForm;

// Shows the first row of a list whose text contains `name` and runs its
// handler, as a user's choice does.
void Choose(QComboBox* list, const QString& name) {
    const int row = list->findText(name, Qt::MatchContains);
    if (row < 0) std::abort();
    list->setCurrentIndex(row);
    emit list->activated(row);
}

// Types into a field and confirms it, as Enter does.
void Type(StructureForm& w, QLineEdit* field, const QString& text) {
    field->setText(text);
    w.onFieldCommitted(field);
}

void PaintDomains(StructureForm& w) {
    w.includeDomainsBox->setChecked(true);
    w.paintDomainsBox->setChecked(true);
}

using Setup = std::function<void(StructureForm&)>;

void FullUpdate(benchmark::State& state, const Setup& setup) {
    StructureForm w;
    setup(w);
    // Each time a structure not drawn before, as after a change.
    for (auto _ : state) {
        quorvex::render::ForgetDrawnPixels();
        w.updateAll(StructureForm::PatternPart::Draw, StructureForm::Hold::End);
    }
    state.counters["subpatterns"] =
        static_cast<double>(w.document().derived.pattern.subpatterns.size());
}

void Default(StructureForm&) {}

void C8x2DomainsAndBases(StructureForm& w) {
    Choose(w.commonNameList, "c(8x2)");
    PaintDomains(w);
    w.includeBasesBox->setChecked(true);
}

void Hex2r3DomainsPainted(StructureForm& w) {
    Choose(w.basicGroupList, "p6mm (p6m)");
    Choose(w.commonNameList, "(2r3x2r3)R30");
    PaintDomains(w);
}

void Hex19Matrix(StructureForm& w) {
    Choose(w.basicGroupList, "p6mm (p6m)");
    Type(w, w.matrixField11, "19");
    Type(w, w.matrixField12, "1");
    Type(w, w.matrixField21, "-3");
    Type(w, w.matrixField22, "17");
    PaintDomains(w);
}

Setup ZoomedOut(int clicks) {
    return [clicks](StructureForm& w) {
        for (int i = 0; i < clicks; ++i) {
            w.onLatticeZoomOut();
            w.onPatternZoomOut();
        }
    };
}

void NeedleCell(StructureForm& w) {
    Choose(w.basicGroupList, "p2mm (pmm)");
    Type(w, w.lengthAField, "1000");
    Type(w, w.lengthBField, "0.001");
}

// A structure and view as the randomized test left them, set directly: cells
// with huge or tiny lengths, zooms far out, huge matrix entries.
struct Extreme {
    int basicGroup;
    double a, b, alpha;
    quorvex::model::SuperlatticeMatrix matrix;
    int superGroup;
    bool constrained;
    quorvex::model::PatternOptions options;
    double latticeZoom, patternZoom, rotationDegrees;
    double dotRadius, spotRadius;
};

Setup Set(const Extreme& e) {
    return [e](StructureForm& w) {
        quorvex::model::Document& d = w.document();
        d.structure.basicGroup = e.basicGroup;
        d.structure.a = e.a;
        d.structure.b = e.b;
        d.structure.alpha = e.alpha;
        d.structure.matrix = e.matrix;
        d.structure.commonNameRow = 0;
        d.structure.superGroup = e.superGroup;
        d.structure.constrained = e.constrained;
        d.structure.options = e.options;
        d.view.latticeZoom = e.latticeZoom;
        d.view.patternZoom = e.patternZoom;
        d.view.rotationDegrees = e.rotationDegrees;
        // Quarter turns exact, as the rotation buttons leave them.
        const double quarters = e.rotationDegrees / 90;
        if (quarters == std::round(quarters)) {
            const int q = static_cast<int>(std::round(quarters)) & 3;
            d.view.rotationCos = q == 0 ? 1 : q == 2 ? -1 : 0;
            d.view.rotationSin = q == 1 ? 1 : q == 3 ? -1 : 0;
        } else {
            d.view.rotationCos = std::cos(e.rotationDegrees * std::acos(-1.0) / 180);
            d.view.rotationSin = std::sin(e.rotationDegrees * std::acos(-1.0) / 180);
        }
        d.view.dotRadius = e.dotRadius;
        d.view.spotRadius = e.spotRadius;
        d.superGroupResetPending = false;
        // The update reads the boxes: they show the options, without their handlers.
        const std::pair<QCheckBox*, bool> boxes[] = {
            {w.include1x1Box, e.options.include1x1},
            {w.paintDomainsBox, e.options.paintDomains},
            {w.includeDomainsBox, e.options.includeDomains},
            {w.includeBasesBox, e.options.includeBases}};
        {
            const QSignalBlocker quiet(w.constrainedBox);
            w.constrainedBox->setChecked(e.constrained);
        }
        for (const auto& [box, on] : boxes) {
            const QSignalBlocker quiet(box);
            box->setChecked(on);
        }
    };
}

// The previews a moving thumb draws, without the redraw its release runs.
void ScrollPreview(benchmark::State& state) {
    StructureForm w;
    int position = 0;
    for (auto _ : state) {
        w.dotSizeBar->setSliderPosition(position);
        w.onDotSizeDragged();
        w.spotSizeBar->setSliderPosition(150 - position);
        w.onSpotSizeDragged();
        position = (position + 7) % 151;
    }
}

void DragTrailStep(benchmark::State& state) {
    StructureForm w;
    const auto& d = w.document().derived;
    // Press on the tip of b1, then move about inside the lattice box.
    const float tipX =
        static_cast<float>(quorvex::model::kLatticeBox.CentreX() + d.latticeScale * d.vectors.b1.x);
    const float tipY =
        static_cast<float>(quorvex::model::kLatticeBox.CentreY() - d.latticeScale * d.vectors.b1.y);
    w.onMousePressed(tipX, tipY);
    if (!w.dragging()) std::abort();
    int step = 0;
    for (auto _ : state) {
        const float x = tipX - 15.0f * static_cast<float>(step % 100);
        const float y = tipY - 15.0f * static_cast<float>(step % 37);
        w.onMouseMoved(x, y);
        ++step;
    }
    w.onMouseReleased(tipX, tipY);
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
// The slowest states the randomized test found: group, a, b, alpha, matrix, superstructure
// group, constrained, options (1x1, paint, domains, bases), zooms, rotation, dot and spot radii.
// clang-format off
BENCHMARK_CAPTURE(FullUpdate, extreme_hexagonal_a3e8_pattern_zoom_2e21,
                  Set({17, 0x1.5c28a8p+28, 0x1.5c28a8p+28, 120, {5, 5, 6, 8}, 1, true,
                       {false, false, true, true}, 1, 0x1.b068e3ecacd89p+70, -100, 150, 50}))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, extreme_rectangular_a136_b9e20_domains,
                  Set({9, 0x1.1066666666666p+7, 0x1.7bc63af2bd8c9p+69, 90, {2, 1, -1, 2}, 1, false,
                       {true, false, true, true}, 1, 1, -90, 45, 45}))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, extreme_matrix_3_130_6_m1_domains,
                  Set({6, 9.5, 1, 90, {3, 130, 6, -1}, 1, false, {true, false, true, true},
                       0x1.aaaaaaaaaaaabp-1, 0x1.3333333333333p+0, 0, 45, 46}))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, extreme_rectangular_a5e16_b5_matrix_1_m164_1_1,
                  Set({7, 0x1.715711b6d98p+55, 5, 90, {1, -164, 1, 1}, 1, true,
                       {false, false, true, false}, 1, 1, 90, 77, 44}))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, extreme_c2mm_a8e21_pattern_zoom_in_2e10,
                  Set({9, 0x1.9acde04209062p+72, 0x1.844d013a92a3p+1, 90, {2, 2, 3, 2}, 1, false,
                       {false, false, true, true}, 0x1.3333333333333p+0, 0x1.0c75adf9d759cp-34, -90,
                       29, 45}))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, extreme_p2mg_a7_b5e7_domains_painted,
                  Set({6, 7, 52470456, 90, {-8, 0, 0, 7}, 1, true, {true, true, true, false}, 1,
                       1.44, -90, 150, 61}))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FullUpdate, p6mm_matrix_3_m3_0_2_pattern_mag_minus_18_domains_painted,
                  Set({17, 5, 5, 120, {3, -3, 0, 2}, 1, true, {true, true, true, false}, 1,
                       26.62333328088523, -90, 0, 150}))
    ->Unit(benchmark::kMillisecond);
// clang-format on
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
    // Opened files and saved sets go to a test folder of this run, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(
        QStringLiteral("quorvex-bench-%1").arg(QCoreApplication::applicationPid()));
    // A refused input would open a modal box and stop the run; report it instead.
    quorvex::platform::SetMessageHandler([](const QString& text) {
        std::fprintf(stderr, "message: %s\n", text.toStdString().c_str());
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    return 0;
}
