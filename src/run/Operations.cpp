#include "run/Operations.h"

#include "convert/PageWork.h"
#include "run/FilePlan.h"
#include "run/RiskCheck.h"
#include "tools/MediaWork.h"
#include "tools/MergeWork.h"

namespace fs = std::filesystem;

namespace tavrino {

RunOperations standardOperations() {
    RunOperations operations;
    // The media engine's work is looked up per call: a run that needs none of it (a merge
    // of PDFs, a risk check) never loads it.
    operations.convertFile = [](const FileFacts& source, Fmt fmt) {
        // A document's pages to PNG need poppler alone: the page engine writes them without
        // the media engine's libraries in memory.
        if (source.kind() == FileKind::pdf && fmt == Fmt::png) {
            if (std::optional<fs::path> folder = pageWork().pngPages(source.path())) return *folder;
        }
        return mediaWork().convertFile(source, fmt);
    };
    operations.applyTool = [](Tool tool, const FileFacts& source) {
        return mediaWork().applyTool(tool, source, ToolCheck::applicability);
    };
    operations.convertHwp = [](const fs::path& path, DocTarget target) {
        return mediaWork().convertHwp(path, target);
    };
    operations.convertWord = [](const fs::path& path, DocTarget target) {
        return mediaWork().convertWord(path, target);
    };
    operations.checkRisks = [](const fs::path& path) { return checkRisks(path); };
    operations.mergePDF = [](std::span<const fs::path> paths) {
        return mergeWork().mergePDF(paths);
    };
    operations.plan = standardPlan;
    return operations;
}

}  // namespace tavrino
