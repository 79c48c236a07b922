// bench_convert: the conversions the side-by-side script (bench/convert/run.sh) times
// against vips, ImageMagick and pdftoppm, and the HEIC encoder settings measured against
// libheif's default.
//
//   bench_convert convert FILE FMT     one convertFile, as the convert petal does it
//   bench_convert heic FILE [PRESET]   encode FILE's pixels as HEIC at Q 90 with an x265
//                                      preset ("default" = libheif's own), print seconds
//                                      and bytes
//   bench_convert [benchmark flags]    Google Benchmark runs of the naming and placement

#include <benchmark/benchmark.h>
#include <vips/vips.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "convert/ConvertError.h"
#include "convert/ConvertFile.h"
#include "convert/Image.h"
#include "convert/OutputNaming.h"
#include "convert/PendingFile.h"
#include "platform/HeifEncoder.h"
#include "platform/Machine.h"
#include "platform/Vips.h"

namespace fs = std::filesystem;
using namespace tavrino;

namespace {

int convertOnce(const fs::path& file, const std::string& format) {
    const auto fmt = fmtFromRawValue(format);
    if (!fmt) {
        std::cerr << "unknown format: " << format << '\n';
        return 2;
    }
    std::cout << convertFile(file, *fmt).string() << '\n';
    return 0;
}

// Peak signal-to-noise ratio of a written file against the pixels it was made from, in dB:
// the same quality at a smaller size, or the same size at a higher PSNR, is better.
double psnr(const fs::path& written, const PixelBuffer& original) {
    ensureVips();
    VipsImageRef decoded(vips_image_new_from_file(written.c_str(), nullptr));
    VipsImageRef reference(vips_image_new_from_memory(original.bytes.data(), original.bytes.size(),
                                                      original.width, original.height,
                                                      original.bands, VIPS_FORMAT_UCHAR));
    VipsImageRef difference, squared;
    double mse = 0;
    if (!decoded || !reference ||
        vips_subtract(decoded.get(), reference.get(), difference.out(), nullptr) ||
        vips_multiply(difference.get(), difference.get(), squared.out(), nullptr) ||
        vips_avg(squared.get(), &mse, nullptr)) {
        vips_error_clear();
        return 0;
    }
    return mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : 99;
}

int heicOnce(const fs::path& file, const std::string& preset) {
    const PixelBuffer pixels = loadImage(file).pixels();
    HeicSettings settings;
    settings.preset = preset == "default" ? "" : preset;
    const fs::path out = fs::temp_directory_path() / ("bench-heic-" + preset + ".heic");
    const auto start = std::chrono::steady_clock::now();
    const std::string error = encodeHeicFile(pixels, out, settings);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!error.empty()) {
        std::cerr << error << '\n';
        return 1;
    }
    std::printf("%s %.2f s %ju bytes %.2f dB\n", preset.c_str(), seconds,
                static_cast<uintmax_t>(fs::file_size(out)), psnr(out, pixels));
    fs::remove(out);
    return 0;
}

// Choosing and taking a name when the first 50 candidates are taken: the cost of the
// counter rule in a folder that already holds many earlier results.
void BM_PlaceAfterFiftyTakenNames(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "tavrino-bench-naming";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const OutputName name = outputName(folder / "photo.jpg", "png");
    for (int n = 1; n <= 50; ++n)
        std::fclose(std::fopen(name.candidate(n).c_str(), "w"));
    for (auto _ : state) {
        PendingFile pending(name);
        std::FILE* file = std::fopen(pending.path().c_str(), "w");
        std::fputs("x", file);
        std::fclose(file);
        const fs::path placed = pending.place();
        state.PauseTiming();
        fs::remove(placed);
        state.ResumeTiming();
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_PlaceAfterFiftyTakenNames);

}  // namespace

int main(int argc, char** argv) {
    // As tavrino-cli does, so that the peak memory measured is the program's.
    returnLargeBuffersToTheSystem();
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "convert" && argc == 4) return convertOnce(argv[2], argv[3]);
        if (mode == "heic" && argc >= 3) return heicOnce(argv[2], argc > 3 ? argv[3] : "fast");
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
