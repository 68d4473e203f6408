// Timings of the measured image in the LEED screen window, at 2048 x 2048:
// opening a 16-bit TIFF until it is drawn, a step of a level slider and a
// step of a calibration drag from event to finished frame, and a fit to 20
// marks.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWindow>
#include <cstdlib>

#include "image/Calibration.h"
#include "synthetic/SyntheticLeed.h"
#include "window/MainWindow.h"

namespace {

using quorvex::synthetic::LeedPhoto;

LeedPhoto LargePhoto() {
    LeedPhoto photo;
    photo.width = photo.height = 2048;
    photo.centre = {1030.4, 1011.7};
    photo.scale = 1100;
    photo.sigma = 7;
    photo.rotationDegrees = 4;
    photo.beams = quorvex::synthetic::SquareBeams(QStringLiteral("p(2x2)"), photo);
    return photo;
}

// Written once per run into the temporary folder.
const QString& LargeTiff() {
    static const QString path = [] {
        const QString p = QDir::temp().filePath(QStringLiteral("quorvex-bench-2048-16bit.tif"));
        if (!quorvex::synthetic::Render(LargePhoto(), 16, false).save(p, "TIFF")) std::abort();
        return p;
    }();
    return path;
}

// The screen window with p(2x2) current, its view 900 x 900, shown.
struct ShownWindow {
    ShownWindow() {
        main.form().matrixField11->setText(QStringLiteral("2"));
        main.form().onFieldCommitted(main.form().matrixField11);
        main.form().matrixField22->setText(QStringLiteral("2"));
        main.form().onFieldCommitted(main.form().matrixField22);
        screen().view->setFixedSize(900, 900);
        main.showScreen();
        QElapsedTimer waited;
        waited.start();
        while (!(screen().windowHandle() && screen().windowHandle()->isExposed())) {
            if (waited.elapsed() > 5000) std::abort();
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        screen().view->repaint();
    }
    quorvex::window::ScreenWindow& screen() { return main.screen(); }
    quorvex::window::MainWindow main;
};

void OpenTiff2048x2048x16(benchmark::State& state) {
    const QString& path = LargeTiff();
    ShownWindow shown;
    for (auto _ : state) {
        if (!shown.screen().openImage(path)) std::abort();
        shown.screen().view->repaint();
    }
    state.counters["spotsScored"] = static_cast<double>(shown.screen().score().spots);
}

void LevelSliderStep2048(benchmark::State& state) {
    ShownWindow shown;
    if (!shown.screen().openImage(LargeTiff())) std::abort();
    QSlider* slider = shown.screen().imagePanel->whitePointSlider;
    int step = 0;
    for (auto _ : state) {
        slider->setValue(300 + (step++ % 2) * 10);
        shown.screen().view->repaint();
    }
}

void GammaSliderStep2048(benchmark::State& state) {
    ShownWindow shown;
    if (!shown.screen().openImage(LargeTiff())) std::abort();
    QSlider* slider = shown.screen().imagePanel->gammaSlider;
    int step = 0;
    for (auto _ : state) {
        slider->setValue(30 + (step++ % 2) * 5);
        shown.screen().view->repaint();
    }
}

void CalibrationDragStep2048(benchmark::State& state) {
    ShownWindow shown;
    quorvex::window::ScreenWindow& s = shown.screen();
    if (!s.openImage(LargeTiff())) std::abort();
    const QPointF start = s.viewPointOf(quorvex::window::RingHandle(s.calibration(), s.settings()));
    QMouseEvent press(QEvent::MouseButtonPress, start, s.view->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.view, &press);
    int step = 0;
    for (auto _ : state) {
        const QPointF at = start + QPointF(-(step % 40), step % 40);
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, s.view->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(s.view, &move);
        s.view->repaint();
    }
    QMouseEvent release(QEvent::MouseButtonRelease, start, s.view->mapToGlobal(start), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(s.view, &release);
}

void FitTwentyMarks(benchmark::State& state) {
    const LeedPhoto photo = LargePhoto();
    quorvex::image::FitRequest request;
    request.energy = photo.energy;
    request.latticeConstant = photo.latticeConstant;
    request.affine = state.range(0) != 0;
    for (const auto& beam : photo.beams) {
        if (request.marks.size() == 20) break;
        if (beam.h == 0 && beam.k == 0) continue;
        const double f = 2 * 3.14159265358979323846 / photo.latticeConstant;
        request.marks.push_back({quorvex::synthetic::SpotCentre(photo, beam), {beam.h * f, beam.k * f}});
    }
    for (auto _ : state) {
        const quorvex::image::FitResult fit = quorvex::image::FitCalibration(request);
        if (!fit.calibration) std::abort();
        benchmark::DoNotOptimize(fit.rms);
    }
}

}  // namespace

BENCHMARK(OpenTiff2048x2048x16)->Unit(benchmark::kMillisecond);
BENCHMARK(LevelSliderStep2048)->Unit(benchmark::kMillisecond);
BENCHMARK(GammaSliderStep2048)->Unit(benchmark::kMillisecond);
BENCHMARK(CalibrationDragStep2048)->Unit(benchmark::kMillisecond);
BENCHMARK(FitTwentyMarks)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
