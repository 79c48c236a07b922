#include "run/Operations.h"

#include "convert/ConvertError.h"
#include "convert/ConvertFile.h"
#include "tools/PdfMerge.h"
#include "tools/Tools.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

[[noreturn]] void notYet(std::string_view title) {
    throw ConvertError("아직 지원하지 않음: " + std::string(title));
}

}  // namespace

RunOperations standardOperations() {
    RunOperations operations;
    operations.convertFile = [](const fs::path& url, Fmt fmt) { return convertFile(url, fmt); };
    operations.applyTool = [](Tool tool, const fs::path& url) {
        return applyTool(tool, url, ToolCheck::applicability);
    };
    operations.convertHwp = [](const fs::path&, DocTarget target) -> ToolResult {
        notYet("HWP → " + title(target));
    };
    operations.convertWord = [](const fs::path&, DocTarget target) -> ToolResult {
        notYet("Word → " + title(target));
    };
    operations.checkRisks = [](const fs::path&) -> std::optional<std::vector<DocRisk>> {
        return std::nullopt;
    };
    operations.mergePDF = [](std::span<const fs::path> urls) { return mergePDF(urls); };
    return operations;
}

}  // namespace tavrino
