#include "run/Operations.h"

#include "convert/ConvertError.h"
#include "convert/ConvertFile.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

[[noreturn]] void notYet(std::string_view title) {
    throw ConvertError("아직 지원하지 않음: " + std::string(title));
}

ToolResult unbuiltTool(Tool tool, const fs::path&) {
    // Crop needs its window and merge takes all files at once; neither is a per-file tool.
    if (tool == Tool::crop || tool == Tool::mergePDF) {
        throw ConvertError(std::string(title(tool)) + "는 따로 처리");
    }
    notYet(title(tool));
}

}  // namespace

RunOperations standardOperations() {
    RunOperations operations;
    operations.convertFile = [](const fs::path& url, Fmt fmt) { return convertFile(url, fmt); };
    operations.applyTool = unbuiltTool;
    operations.convertHwp = [](const fs::path&, DocTarget target) -> ToolResult {
        notYet("HWP → " + title(target));
    };
    operations.convertWord = [](const fs::path&, DocTarget target) -> ToolResult {
        notYet("Word → " + title(target));
    };
    operations.checkRisks = [](const fs::path&) -> std::optional<std::vector<DocRisk>> {
        return std::nullopt;
    };
    operations.mergePDF = [](std::span<const fs::path>) -> ToolResult {
        notYet(title(Tool::mergePDF));
    };
    return operations;
}

}  // namespace tavrino
