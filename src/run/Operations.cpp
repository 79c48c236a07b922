#include "run/Operations.h"

#include "convert/ConvertError.h"
#include "convert/ConvertFile.h"
#include "convert/DocumentConvert.h"
#include "run/FilePlan.h"
#include "run/RiskCheck.h"
#include "tools/PdfMerge.h"
#include "tools/Tools.h"

namespace fs = std::filesystem;

namespace tavrino {

RunOperations standardOperations() {
    RunOperations operations;
    operations.convertFile = [](const FileFacts& source, Fmt fmt) {
        return convertFile(source, fmt);
    };
    operations.applyTool = [](Tool tool, const FileFacts& source) {
        return applyTool(tool, source, ToolCheck::applicability);
    };
    operations.convertHwp = [](const fs::path& path, DocTarget target) {
        return convertHwp(path, target);
    };
    operations.convertWord = [](const fs::path& path, DocTarget target) {
        return convertWord(path, target);
    };
    operations.checkRisks = [](const fs::path& path) { return checkRisks(path); };
    operations.mergePDF = [](std::span<const fs::path> paths) { return mergePDF(paths); };
    operations.plan = standardPlan;
    return operations;
}

}  // namespace tavrino
