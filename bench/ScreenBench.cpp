// Timings of the LEED screen: a full redraw of a dense pattern in both looks,
// one step of the energy as the wheel gives it, the read-out under the
// pointer, and a typical small pattern.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWheelEvent>
#include <QWindow>
#include <cstdlib>

#include "window/MainWindow.h"

namespace {

using quorvex::model::ScreenSettings;
using quorvex::window::MainWindow;
using quorvex::window::ScreenLayer;

void ChooseRow(QComboBox* list, const char* text) {
    const int row = list->findText(QString::fromLatin1(text), Qt::MatchContains);
    if (row < 0) std::abort();
    list->setCurrentIndex(row);
    emit list->activated(row);
}

void TypeInto(quorvex::window::StructureForm& form, QLineEdit* field, const char* text) {
    field->setText(QString::fromLatin1(text));
    form.onFieldCommitted(field);
}

// p6mm with the matrix (19 1 / -3 17), its domains included and painted: six subpatterns.
ScreenLayer DenseHexagonal() {
    MainWindow main;
    quorvex::window::StructureForm& f = main.form();
    ChooseRow(f.basicGroupList, "p6mm (p6m)");
    TypeInto(f, f.matrixField11, "19");
    TypeInto(f, f.matrixField12, "1");
    TypeInto(f, f.matrixField21, "-3");
    TypeInto(f, f.matrixField22, "17");
    f.includeDomainsBox->setChecked(true);
    f.paintDomainsBox->setChecked(true);
    if (f.document().derived.pattern.subpatterns.size() != 6) std::abort();
    return main.CurrentLayer();
}

ScreenLayer SquareC2x2() {
    MainWindow main;
    ChooseRow(main.form().commonNameList, "c(2x2)");
    return main.CurrentLayer();
}

ScreenSettings At(double energy, double acceptance, bool photo) {
    ScreenSettings s;
    s.energy = energy;
    s.acceptanceDegrees = acceptance;
    s.photoLook = photo;
    return s;
}

void Redraw(benchmark::State& state, ScreenLayer (*make)(), ScreenSettings settings) {
    const std::vector<ScreenLayer> layers = {make()};
    QImage image(1000, 1000, QImage::Format_ARGB32_Premultiplied);
    const auto geometry = quorvex::window::ScreenGeometry::Fitting(image.size());
    int drawn = 0;
    for (auto _ : state) {
        drawn = quorvex::window::PaintScreen(image, layers, settings, geometry);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["spots"] = drawn;
}

// The screen window around a 1000 x 1000 view, showing the dense pattern.
struct ShownScreen {
    ShownScreen() {
        screen.showStructure(DenseHexagonal());
        screen.setSettings(At(1000, 180, false));
        screen.view->setFixedSize(1000, 1000);
        screen.show();
        QElapsedTimer waited;
        waited.start();
        while (!(screen.windowHandle() && screen.windowHandle()->isExposed())) {
            if (waited.elapsed() > 5000) std::abort();
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        screen.view->repaint();
    }
    quorvex::window::ScreenWindow screen;
};

// A notch of the wheel, down and up in turn: 1000, 999, 1000 eV..., each
// step drawn as the view repaints.
void EnergyStep(benchmark::State& state) {
    ShownScreen shown;
    quorvex::window::ScreenView* view = shown.screen.view;
    const QPointF at(500, 500);
    int direction = -1;
    for (auto _ : state) {
        QWheelEvent wheel(at, view->mapToGlobal(at), {}, {0, 120 * direction}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        view->repaint();
        direction = -direction;
    }
    if (shown.screen.settings().energy < 999) std::abort();
    state.counters["spots"] = view->spotsDrawn();
    state.counters["width"] = view->picture().width();
}

// The read-out of a spot of the third domain under the pointer.
void ReadoutUnderPointer(benchmark::State& state) {
    ShownScreen shown;
    const ScreenLayer layer = shown.screen.layers().front();
    const quorvex::model::Subpattern& third = layer.pattern.subpatterns[2];
    const quorvex::model::Vec2 g{7 * third.p.x - 4 * third.q.x, 7 * third.p.y - 4 * third.q.y};
    const auto scale = quorvex::model::MakeScreenScale(layer.structure, shown.screen.settings());
    const QPointF point =
        shown.screen.view->geometry().ToImage(g, scale) / shown.screen.view->devicePixelRatioF();
    for (auto _ : state) {
        std::optional<QString> text = shown.screen.readoutAt(point);
        if (!text) std::abort();
        benchmark::DoNotOptimize(text);
    }
}

}  // namespace

BENCHMARK_CAPTURE(Redraw, p6mm_19_1_m3_17_domains_1000eV_180deg_plot, DenseHexagonal,
                  At(1000, 180, false))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, p6mm_19_1_m3_17_domains_1000eV_180deg_plot_cpu_of_both_threads, DenseHexagonal,
                  At(1000, 180, false))
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Redraw, p6mm_19_1_m3_17_domains_1000eV_180deg_photo, DenseHexagonal,
                  At(1000, 180, true))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(EnergyStep)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadoutUnderPointer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Redraw, p4mm_c2x2_100eV_plot, SquareC2x2, At(100, 110, false))
    ->Unit(benchmark::kMillisecond);
