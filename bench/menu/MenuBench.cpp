// How long the menu takes while the user is dragging: mixed drops of 100 and 1,000 files,
// and drops of GIFs and TIFFs whose frames must be counted from their headers.

#include <benchmark/benchmark.h>
#include <vips/vips.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "menu/MenuRules.h"
#include "platform/ImageProbe.h"
#include "platform/Vips.h"

namespace {

namespace fs = std::filesystem;

fs::path benchDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "tavrino-bench-menu";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// A real picture in the named format (frames > 1 makes an animated GIF or multi-page TIFF).
fs::path picture(const std::string& name, int frames = 1) {
    const fs::path path = benchDir() / name;
    if (fs::exists(path)) return path;
    tavrino::ensureVips();
    VipsImage* black = nullptr;
    vips_black(&black, 640, 480 * frames, "bands", 3, nullptr);
    vips_image_set_int(black, "page-height", 480);
    vips_image_write_to_file(black, path.c_str(), nullptr);
    g_object_unref(black);
    return path;
}

fs::path plainFile(const std::string& name) {
    const fs::path path = benchDir() / name;
    if (!fs::exists(path)) std::ofstream(path) << "x";
    return path;
}

std::vector<fs::path> mixedFiles(int count) {
    const std::vector<fs::path> kinds{picture("a.png"),    picture("b.jpg"),    picture("c.jpeg"),
                                      plainFile("d.pdf"),  plainFile("e.pdf"),  plainFile("f.hwp"),
                                      plainFile("g.hwpx"), plainFile("h.docx"), picture("i.heic"),
                                      plainFile("j.bmp"),  plainFile("k.txt")};
    std::vector<fs::path> files;
    for (int i = 0; i < count; ++i)
        files.push_back(kinds[static_cast<size_t>(i) % kinds.size()]);
    return files;
}

void MixedDrop(benchmark::State& state) {
    const auto files = mixedFiles(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tavrino::menuItems(files, tavrino::MenuKind::convert));
        benchmark::DoNotOptimize(tavrino::menuItems(files, tavrino::MenuKind::tools));
    }
}
BENCHMARK(MixedDrop)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void FramedDrop(benchmark::State& state) {
    std::vector<fs::path> files;
    for (int i = 0; i < 10; ++i) {
        files.push_back(picture("anim" + std::to_string(i) + ".gif", 5));
        files.push_back(picture("scan" + std::to_string(i) + ".tiff", 5));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(tavrino::menuItems(files, tavrino::MenuKind::convert));
    }
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(FramedDrop)->Unit(benchmark::kMicrosecond);

void FrameCount(benchmark::State& state) {
    const fs::path file = state.range(0) ? picture("count.gif", 5) : picture("count.tiff", 5);
    for (auto _ : state)
        benchmark::DoNotOptimize(tavrino::imageFrameCount(file));
    state.SetLabel(file.extension().string());
}
BENCHMARK(FrameCount)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
