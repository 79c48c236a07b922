// pelgrin: the HWP/HWPX tool of the bundle.
//   pelgrin export-text SRC -o DIR          one UTF-8 text file per section
//   pelgrin export-hwpx SRC OUT [--verify-pages]
//   pelgrin convert SRC OUT.hwp [--verify-pages]
//   pelgrin export-pdf SRC -o OUT           (HWP, HWPX, or DOCX) through LibreOffice
#include <iostream>

#include "cli/TextFiles.h"
#include "cli/ToolMain.h"
#include "cli/Verify.h"
#include "io/DocumentIO.h"
#include "model/DocumentError.h"
#include "pdf/PdfExport.h"

namespace tavrino::docs {
namespace {

constexpr const char* usage =
    "사용법: pelgrin export-text SRC -o DIR | export-hwpx SRC OUT [--verify-pages] | "
    "convert SRC OUT [--verify-pages] | export-pdf SRC -o OUT";

// pelgrin reads only the Korean formats; a DOCX handed to it is a caller's mistake.
Document readKoreanSource(const std::filesystem::path& source) {
    LoadedDocument loaded = loadDocument(source);
    if (loaded.format == DocumentFormat::docx) {
        throw DocumentError("HWP/HWPX 문서가 아님: " + source.filename().string());
    }
    return std::move(loaded.document);
}

void exportText(const std::vector<std::string>& args) {
    if (args.size() != 4 || args[2] != "-o") throw UsageError(usage);
    TextOptions options;
    options.headersAndFooters = true;
    writeSectionTexts(readKoreanSource(args[1]), args[3], options);
}

void exportDocument(const std::vector<std::string>& args, DocumentFormat format) {
    const bool verify = args.size() == 4 && args[3] == "--verify-pages";
    if (args.size() != 3 && !verify) throw UsageError(usage);
    checkNotSource(args[1], args[2]);
    requireWritable(format);
    const Document document = readKoreanSource(args[1]);
    writeDocument(document, args[2], format);
    if (verify) verifyWritten(document, args[2]);
}

// DOCX is accepted here too so the renderer can be checked on Word files directly.
void exportPdfCommand(const std::vector<std::string>& args) {
    if (args.size() != 4 || args[2] != "-o") throw UsageError(usage);
    checkNotSource(args[1], args[3]);
    const Document document = readDocument(args[1]);
    exportPdf(document, args[3], renderOptionsFromEnvironment());
}

void run(const std::vector<std::string>& args) {
    if (args.empty()) throw UsageError(usage);
    if (args[0] == "export-text") return exportText(args);
    if (args[0] == "export-hwpx") return exportDocument(args, DocumentFormat::hwpx);
    if (args[0] == "convert") return exportDocument(args, DocumentFormat::hwp);
    if (args[0] == "export-pdf") return exportPdfCommand(args);
    throw UsageError(usage);
}

}  // namespace
}  // namespace tavrino::docs

int main(int argc, char** argv) {
    return tavrino::docs::runToolMain(argc, argv, tavrino::docs::run);
}
