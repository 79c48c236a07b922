#pragma once
// The work a run can call, as replaceable functions: the run engine dispatches every item
// through this table, so tools and document conversions plug in by filling their entry in
// standardOperations() (Operations.cpp), and tests put recording fakes in their place.
// Every entry may throw ConvertError or a platform error; the engine counts the file as
// failed and logs the error's text. Per-file entries get the facts the engine gathered for
// the file, so nothing below it classifies the file again.

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "convert/ToolResult.h"
#include "menu/FileFacts.h"
#include "menu/Tool.h"
#include "menu/WheelItem.h"
#include "run/DocRisk.h"
#include "run/OrderedWork.h"

namespace tavrino {

struct RunOperations {
    // An image or PDF to an image format or PDF; returns the file or page folder written.
    std::function<std::filesystem::path(const FileFacts&, Fmt)> convertFile;
    // One tool on one file, applicability checked first.
    std::function<ToolResult(Tool, const FileFacts&)> applyTool;
    // An HWP or HWPX document to a target.
    std::function<ToolResult(const std::filesystem::path&, DocTarget)> convertHwp;
    // A Word document to a target.
    std::function<ToolResult(const std::filesystem::path&, DocTarget)> convertWord;
    // The breakage-risk check of a source document; no value when it could not run.
    std::function<std::optional<std::vector<DocRisk>>(const std::filesystem::path&)> checkRisks;
    // Every dropped file into one PDF.
    std::function<ToolResult(std::span<const std::filesystem::path>)> mergePDF;
    // How a file is best carried out beside others, given the specific item for it. Without
    // a plan every file runs alone, one after another, on the calling thread.
    std::function<JobPlan(const WheelItem& specific, const FileFacts&)> plan;
};

// What this build can do. Operations whose code has not landed yet fail every file with
// "아직 지원하지 않음: " + the item's title (crop and merge as tools: "자르기는 따로 처리",
// "PDF 합치기는 따로 처리"), so nothing pretends to run them.
RunOperations standardOperations();

}  // namespace tavrino
