// One repaint of the crop canvas for a 24-megapixel photo (6000 × 4000) at device pixel ratio
// 2 while a corner is dragged, as the window repaints on every mouse move. Goal: under 8 ms.
// Beside it, the same frame drawn by rescaling the full-size picture, which is what the
// screen-sized copy saves; the ratio of the two is the saving.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <memory>

#include "app/CropCanvas.h"
#include "app/CropWindowController.h"
#include "convert/ImageWriter.h"

using namespace tavrino;
using namespace tavrino::app;
namespace fs = std::filesystem;

namespace {

constexpr int photoWidth = 6000;
constexpr int photoHeight = 4000;

// A photo-sized JPEG with detail everywhere, written once per run.
const fs::path& photo() {
    static const fs::path path = [] {
        PixelBuffer pixels{photoWidth, photoHeight, 3, {}};
        pixels.bytes.resize(pixels.rowBytes() * photoHeight);
        for (int y = 0; y < photoHeight; ++y) {
            std::uint8_t* row = pixels.bytes.data() + pixels.rowBytes() * y;
            for (int x = 0; x < photoWidth; ++x) {
                row[3 * x] = static_cast<std::uint8_t>(x * 7 + y);
                row[3 * x + 1] = static_cast<std::uint8_t>((x ^ y) & 0xff);
                row[3 * x + 2] = static_cast<std::uint8_t>(y * 3);
            }
        }
        const fs::path file = fs::temp_directory_path() / "tavrino-bench-crop-24mp.jpg";
        fs::remove(file);
        writeImage(Image::fromPixels(pixels), file, Fmt::jpg, 0.9);
        return file;
    }();
    return path;
}

// A drag step on the bottom-right corner, different every frame.
void dragCorner(CropCanvas& canvas, int frame) {
    crop::CropGeometry& geometry = canvas.geometry();
    const crop::Rect view = canvas.cropInView();
    if (!geometry.grip()) geometry.press({view.maxX(), view.maxY()}, canvas.bounds());
    const double offset = -100.0 - (frame % 50);
    geometry.dragTo({canvas.bounds().width - 24 + offset, canvas.bounds().height - 24 + offset},
                    canvas.bounds());
}

void repaintCanvas(benchmark::State& state) {
    CropWindowController controller(photo(), loadOrientedImage(photo()), 2.0);
    CropCanvas& canvas = *controller.canvas();
    QImage frame(canvas.size() * 2, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    int n = 0;
    for (auto _ : state) {
        dragCorner(canvas, n++);
        canvas.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

// The picture alone, rescaled from full size into the canvas every frame.
void rescaleFullSize(benchmark::State& state) {
    const PixelBuffer pixels = loadOrientedImage(photo()).pixels();
    const QImage full = QImage(pixels.bytes.data(), pixels.width, pixels.height,
                               static_cast<qsizetype>(pixels.rowBytes()), QImage::Format_RGB888)
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage frame(848 * 2, 648 * 2, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    for (auto _ : state) {
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(24, 24, 800, 533.33), full);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}

}  // namespace

BENCHMARK(repaintCanvas)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(rescaleFullSize)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove(photo());
    return 0;
}
