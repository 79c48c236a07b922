// One full paint of the 352-point wheel at device pixel ratio 2 into an image, as the panel
// repaints it up to 120 times a second while hovering and 60 while working. Goal: a median
// under 2 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "wheel/WheelView.h"

using namespace tavrino;
using namespace tavrino::wheel;

namespace {

enum class Scene { idle, hovered, working };

void paintWheel(benchmark::State& state, Scene scene) {
    WheelView view;
    view.resize(352, 352);
    view.configure(DragInfo{{"/tmp/sample-screenshot.png"}, 1234567, Fmt::png, {}, false}, false);
    view.setForceReduceMotion(false);
    if (scene == Scene::hovered) {
        view.setHovered(0);
        std::vector<double> progress(view.slots().size(), 0.0);
        progress[0] = 0.7;  // mid-ease: glow, gradient and lift all drawn
        view.setProgress(progress);
    }
    if (scene == Scene::working) {
        view.setHubState(HubWorking{1, 5, "한글 문서는\n조금 걸립니다"});
    }
    view.stopAnimation();
    view.stopSpinner();
    QImage image(704, 704, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    double t = 0.5;
    for (auto _ : state) {
        view.setFixedElapsed(t += 1.0 / 60);  // a new phase of the spinner every frame
        image.fill(Qt::transparent);
        QPainter painter(&image);
        view.paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

}  // namespace

BENCHMARK_CAPTURE(paintWheel, idle, Scene::idle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paintWheel, hovered, Scene::hovered)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paintWheel, working, Scene::working)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
