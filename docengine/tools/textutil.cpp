// textutil: the plain-text converter of the bundle, for Word documents.
//   textutil -convert txt -output OUT SRC
#include "cli/ToolMain.h"
#include "io/DocumentIO.h"
#include "io/Files.h"
#include "model/DocumentError.h"
#include "text/TextExport.h"

namespace tavrino::docs {
namespace {

constexpr const char* usage = "사용법: textutil -convert txt -output OUT SRC";

void run(const std::vector<std::string>& args) {
    if (args.size() != 5 || args[0] != "-convert" || args[2] != "-output") throw UsageError(usage);
    if (args[1] != "txt") throw UsageError("지원하지 않는 변환: " + args[1] + " (txt만 가능)");
    const std::filesystem::path output = args[3];
    const std::filesystem::path source = args[4];
    checkNotSource(source, output);
    const LoadedDocument loaded = loadDocument(source);
    if (loaded.format != DocumentFormat::docx) {
        throw DocumentError("Word(DOCX) 문서가 아님: " + source.filename().string());
    }
    TextOptions options;
    options.notes = false;  // notes print at the end of a page, not inside the paragraph
    writeFileAtomically(output, documentText(loaded.document, options));
}

}  // namespace
}  // namespace tavrino::docs

int main(int argc, char** argv) {
    return tavrino::docs::runToolMain(argc, argv, tavrino::docs::run);
}
