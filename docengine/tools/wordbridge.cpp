// wordbridge: Word documents to and from the Korean formats, and inspection.
//   wordbridge hwp2docx SRC OUT.docx
//   wordbridge docx2hwp SRC OUT.hwpx|OUT.hwp
//   wordbridge inspect PATH
//   wordbridge risk PATH          what converting PATH to the other family loses, as JSON
#include <iostream>

#include "cli/ToolMain.h"
#include "cli/Verify.h"
#include "io/DocumentIO.h"
#include "model/DocumentError.h"
#include "model/Walk.h"
#include "risk/RiskAnalysis.h"

namespace tavrino::docs {
namespace {

constexpr const char* usage =
    "사용법: wordbridge hwp2docx SRC OUT | docx2hwp SRC OUT.hwp|OUT.hwpx | inspect PATH | risk "
    "PATH";

void convert(const std::vector<std::string>& args, bool fromWord) {
    if (args.size() != 3) throw UsageError(usage);
    const std::filesystem::path source = args[1];
    const std::filesystem::path output = args[2];
    checkNotSource(source, output);
    const DocumentFormat target = fromWord ? formatFromExtension(output) : DocumentFormat::docx;
    if (fromWord && target == DocumentFormat::docx) {
        throw DocumentError("docx2hwp의 결과는 .hwp나 .hwpx여야 함");
    }
    requireWritable(target);
    const LoadedDocument loaded = loadDocument(source);
    if ((loaded.format == DocumentFormat::docx) != fromWord) {
        throw DocumentError(std::string(fromWord ? "Word(DOCX)" : "HWP/HWPX") +
                            " 문서가 아님: " + source.filename().string());
    }
    writeDocument(loaded.document, output, target);
}

// Opens a document with our own reader and prints what it holds; a file that does not open
// is a failure with the reason as the last line.
void inspect(const std::vector<std::string>& args) {
    if (args.size() != 2) throw UsageError(usage);
    const LoadedDocument loaded = loadDocument(args[1]);
    const DocumentStats stats = statistics(loaded.document);
    std::cout << "format: " << formatName(loaded.format) << "\n"
              << "sections: " << loaded.document.sections.size() << "\n"
              << "paragraphs: " << stats.paragraphs << "\n"
              << "tables: " << stats.tables << "\n"
              << "pictures: " << stats.pictures << "\n"
              << "unsupported: " << loaded.document.dropped.total() << std::endl;
}

// The last line is the reply the application reads; nothing is printed after it.
void risk(const std::vector<std::string>& args) {
    if (args.size() != 2) throw UsageError(usage);
    const LoadedDocument loaded = loadDocument(args[1]);
    std::cout << risksJson(conversionRisks(loaded.document, loaded.format)) << std::endl;
}

void run(const std::vector<std::string>& args) {
    if (args.empty()) throw UsageError(usage);
    if (args[0] == "hwp2docx") return convert(args, false);
    if (args[0] == "docx2hwp") return convert(args, true);
    if (args[0] == "inspect") return inspect(args);
    if (args[0] == "risk") return risk(args);
    throw UsageError(usage);
}

}  // namespace
}  // namespace tavrino::docs

int main(int argc, char** argv) {
    return tavrino::docs::runToolMain(argc, argv, tavrino::docs::run);
}
