// Writing each corpus document as HWP 5 in process, the model already read: the cost of the
// writer itself, beside HWPX writing of the same model for scale. One pair per document.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CorpusFiles.h"
#include "io/DocumentIO.h"
#include "io/Files.h"

namespace {

using tavrino::docs::Document;
using tavrino::docs::DocumentFormat;

void writeAs(benchmark::State& state, const Document& document, DocumentFormat format) {
    std::size_t size = 0;
    for (auto _ : state) {
        std::string bytes = tavrino::docs::documentBytes(document, format);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["file_bytes"] = static_cast<double>(size);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Document> documents;
    std::vector<std::string> names;
    for (const auto& path : corpusDocuments()) {
        documents.push_back(tavrino::docs::readDocument(path));
        names.push_back(path.parent_path().filename().string() + "/" + path.filename().string());
    }
    for (std::size_t i = 0; i < documents.size(); ++i) {
        benchmark::RegisterBenchmark((names[i] + " hwp").c_str(), writeAs, documents[i],
                                     DocumentFormat::hwp)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((names[i] + " hwpx").c_str(), writeAs, documents[i],
                                     DocumentFormat::hwpx)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
