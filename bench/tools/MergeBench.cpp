// The merge without process start-up: our mergePDF against qpdf's own job engine doing
// what `qpdf --empty --pages FILES -- OUT` does, in the same process, on the same inputs.
// bench/tools/run.sh writes the inputs and passes their folder in TAVRINO_BENCH_PDFS.

#include <benchmark/benchmark.h>

// qpdf 11 warns unless told that we use its std::shared_ptr interfaces only.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDFJob.hh>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/PdfMerge.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputs() {
    const char* folder = std::getenv("TAVRINO_BENCH_PDFS");
    std::vector<fs::path> files;
    if (!folder) return files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("doc") && name.ends_with(".pdf")) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void mergeTavrino(benchmark::State& state) {
    const std::vector<fs::path> files = inputs();
    if (files.empty()) return state.SkipWithError("TAVRINO_BENCH_PDFS names no PDFs");
    for (auto _ : state)
        fs::remove(tavrino::mergePDF(files).output);
}

void mergeQpdfJob(benchmark::State& state) {
    const std::vector<fs::path> files = inputs();
    if (files.empty()) return state.SkipWithError("TAVRINO_BENCH_PDFS names no PDFs");
    const std::string out = (files.front().parent_path() / "qpdfjob.pdf").string();
    std::vector<std::string> words{"qpdf", "--empty", "--pages"};
    for (const fs::path& file : files)
        words.push_back(file.string());
    words.insert(words.end(), {"--", out});
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);
    for (auto _ : state) {
        QPDFJob job;
        job.initializeFromArgv(argv.data());
        job.run();
        fs::remove(out);
    }
}

BENCHMARK(mergeTavrino)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(mergeQpdfJob)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
