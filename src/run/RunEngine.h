#pragma once
// The run engine: carries one petal's item out over the dropped files, without any user
// interface. The wheel's controller calls it on one worker thread and shows progress and the
// result; tavrino-cli calls it directly. It touches no global state except the activity log,
// into which it writes one line per file (or per merge).

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "menu/HubText.h"
#include "menu/WheelItem.h"
#include "run/DocRisk.h"
#include "run/Operations.h"
#include "run/OrderedWork.h"

namespace tavrino {

struct RunReport {
    int total = 0;    // the progress total: the number of files, 1 for a merge
    int done = 0;     // finished successfully
    int skipped = 0;  // already in the target format
    // The note of the most recent successful tool or document result.
    std::optional<std::string> lastNote;
    // One entry per source whose risk check found something, in file order.
    std::vector<RiskFinding> risks;
    // The hub's result: ok is false when a file (or the merge) failed.
    FinishMessage finish;

    int failed() const { return total - done - skipped; }
};

// After each file (skipped ones included): handled = i + 1, and the total. Called on the
// thread that runs the job. It may throw RunStopped (run/OrderedWork.h) to end the run early:
// no file after the ones in flight starts, those in flight finish and log their lines, the
// run logs title + " 중단: " + the exception's text, and the exception leaves the run.
using ProgressCallback = std::function<void(int handled, int total)>;

// The progress display's total for a drop: 1 for the merge petal, the file count otherwise.
int progressTotal(const WheelItem& item, std::size_t fileCount);

// The hint the hub shows when work takes long: documents take a while, big files too.
std::string workingHint(const WheelItem& item);

// Whether the item runs as one job over all files (merge) rather than file by file.
bool isMergeItem(const WheelItem& item);

// The per-file job (every item but merge and crop): each file is skipped when it is already
// in the target format, or carried out through `operations`; a failure is logged and counted
// and the run goes on. Files the operations' plan lets run side by side are carried out
// several at a time within `limits`, but names, log lines, progress and the report come out
// exactly as one file after another would give them. Each file logs exactly one line, in
// file order:
//   title + " 완료: " + source name + " -> " + output name [+ " (" + note + ")"] + " [1.23초]"
//   title + " 건너뜀: " + name + "는 이미 " + title
//   title + " 실패: " + name + ": " + error text
RunReport runPerFile(const WheelItem& item, const std::vector<std::filesystem::path>& files,
                     const RunOperations& operations, const ProgressCallback& progress = {},
                     const WorkLimits& limits = WorkLimits::ofMachine());

// The merge job: one call over all files, total 1. Logs "PDF 합치기 완료: N개 -> name (note)"
// or "PDF 합치기 실패: " + error text; the hub text is the note (or "완료"), or "실패".
RunReport runMerge(const std::vector<std::filesystem::path>& files,
                   const RunOperations& operations);

// Either job, chosen by the item. Crop needs its window and is refused here: throws
// ConvertError "자르기는 따로 처리" before touching any file.
RunReport runItem(const WheelItem& item, const std::vector<std::filesystem::path>& files,
                  const RunOperations& operations, const ProgressCallback& progress = {},
                  const WorkLimits& limits = WorkLimits::ofMachine());

}  // namespace tavrino
