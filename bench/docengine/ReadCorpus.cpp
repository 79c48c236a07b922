// Reading each corpus document into the model and exporting its text, in process: the cost of
// the document engine itself, without the tool's start-up. One benchmark per document.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CorpusFiles.h"
#include "io/DocumentIO.h"
#include "io/Files.h"
#include "text/TextExport.h"

namespace {

void readAndExport(benchmark::State& state, const std::string& bytes) {
    std::size_t characters = 0;
    for (auto _ : state) {
        auto document = tavrino::docs::readDocumentBytes(bytes);
        std::string text = tavrino::docs::documentText(document);
        characters = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["text_bytes"] = static_cast<double>(characters);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    for (const auto& path : corpusDocuments()) {
        std::string bytes = tavrino::docs::readFileBytes(path);
        std::string name = path.parent_path().filename().string() + "/" + path.filename().string();
        benchmark::RegisterBenchmark(name.c_str(), readAndExport, bytes)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
