#include "cli/Verify.h"

#include "io/DocumentIO.h"
#include "model/DocumentError.h"
#include "text/TextExport.h"

namespace tavrino::docs {
namespace {

std::string difference(const Document& expected, const std::filesystem::path& written) {
    try {
        const Document actual = readDocument(written);
        if (actual.sections.size() != expected.sections.size()) {
            return "구역 수가 다름(" + std::to_string(expected.sections.size()) + " → " +
                   std::to_string(actual.sections.size()) + ")";
        }
        TextOptions options;
        options.headersAndFooters = true;
        if (documentText(actual, options) != documentText(expected, options)) {
            return "글자가 다름";
        }
        return {};
    } catch (const DocumentError& error) {
        return std::string("다시 열 수 없음 — ") + error.what();
    }
}

}  // namespace

void verifyWritten(const Document& expected, const std::filesystem::path& written) {
    const std::string problem = difference(expected, written);
    if (problem.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(written, ignored);
    throw DocumentError("만든 문서 검증 실패: " + problem);
}

}  // namespace tavrino::docs
