#include "run/RunEngine.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <iterator>

#include "convert/ConvertError.h"
#include "menu/MenuRules.h"
#include "platform/Log.h"
#include "tools/Refusal.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

// What carrying out one file produced.
struct FileOutcome {
    fs::path output;
    std::optional<std::string> note;  // tool and document results only
    bool fromTool = false;            // its note (or lack of one) becomes the last note
};

struct FileJob {
    const RunOperations& operations;
    std::vector<RiskFinding>& risks;

    void checkRisks(const fs::path& source) const {
        std::optional<std::vector<DocRisk>> found = operations.checkRisks(source);
        if (found && !found->empty()) risks.push_back({source, std::move(*found)});
    }

    FileOutcome fromResult(ToolResult result) const {
        return {std::move(result.output), std::move(result.note), true};
    }

    FileOutcome document(const fs::path& path, DocTarget target) const {
        FileOutcome outcome = fromResult(operations.convertHwp(path, target));
        if (target == DocTarget::docx) checkRisks(path);
        return outcome;
    }

    FileOutcome word(const fs::path& path, DocTarget target) const {
        FileOutcome outcome = fromResult(operations.convertWord(path, target));
        if (target != DocTarget::txt) checkRisks(path);
        return outcome;
    }

    // A mixed-set item becomes the specific item for this file's kind first.
    FileOutcome carryOut(const WheelItem& specific, const FileFacts& file) const {
        const fs::path& path = file.path();
        if (std::holds_alternative<CommonItem>(specific)) {
            throw ConvertError("이 파일에 맞는 대상 없음");
        }
        if (const auto* convert = std::get_if<ConvertItem>(&specific)) {
            return {operations.convertFile(file, convert->fmt), std::nullopt, false};
        }
        if (const auto* tool = std::get_if<ToolItem>(&specific)) {
            return fromResult(operations.applyTool(tool->tool, file));
        }
        if (const auto* doc = std::get_if<DocumentItem>(&specific)) {
            return document(path, doc->target);
        }
        return word(path, std::get<FromWordItem>(specific).target);
    }
};

// One file of a per-file run: its facts, gathered just before it may start, and what
// carrying it out gave, kept until its turn to be reported.
struct FileRun {
    std::optional<FileFacts> facts;
    std::optional<WheelItem> specific;  // no value: skipped
    std::optional<FileOutcome> outcome;
    std::string error;
    std::vector<RiskFinding> risks;
    std::chrono::steady_clock::duration elapsed{};
};

std::string nameOf(const fs::path& path) {
    return path.filename().string();
}

std::string seconds(std::chrono::steady_clock::duration elapsed) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::chrono::duration<double>(elapsed).count());
    return text;
}

std::string doneLine(const std::string& title, const fs::path& source, const FileOutcome& outcome,
                     std::chrono::steady_clock::duration elapsed) {
    std::string line = title + " 완료: " + nameOf(source) + " -> " + nameOf(outcome.output);
    if (outcome.note) line += " (" + *outcome.note + ")";
    return line + " [" + seconds(elapsed) + "초]";
}

}  // namespace

int progressTotal(const WheelItem& item, std::size_t fileCount) {
    return isMergeItem(item) ? 1 : static_cast<int>(fileCount);
}

std::string workingHint(const WheelItem& item) {
    const bool convertOrTool =
        std::holds_alternative<ConvertItem>(item) || std::holds_alternative<ToolItem>(item);
    return convertOrTool ? "큰 파일은\n조금 걸립니다" : "문서는\n조금 걸립니다";
}

bool isMergeItem(const WheelItem& item) {
    const auto* tool = std::get_if<ToolItem>(&item);
    return tool && tool->tool == Tool::mergePDF;
}

RunReport runPerFile(const WheelItem& item, const std::vector<fs::path>& files,
                     const RunOperations& operations, const ProgressCallback& progress,
                     const WorkLimits& limits) {
    const std::string itemTitle = title(item);
    RunReport report;
    report.total = static_cast<int>(files.size());
    std::vector<FileRun> runs(files.size());
    const auto plan = [&](std::size_t i) {
        FileRun& run = runs[i];
        const FileFacts& file = run.facts.emplace(files[i]);
        if (applies(item, file) == Applies::skip) return JobPlan{JobPlan::Kind::nothing, 0};
        const WheelItem& specific = run.specific.emplace(specificItem(item, file));
        return operations.plan ? operations.plan(specific, file) : JobPlan{};
    };
    const auto job = [&](std::size_t i) {
        FileRun& run = runs[i];
        const auto start = std::chrono::steady_clock::now();
        try {
            run.outcome = FileJob{operations, run.risks}.carryOut(*run.specific, *run.facts);
        } catch (const std::exception& error) {
            run.error = error.what();
        }
        run.elapsed = std::chrono::steady_clock::now() - start;
    };
    const auto finished = [&](std::size_t i) {
        FileRun& run = runs[i];
        const fs::path& path = files[i];
        if (!run.specific) {
            ++report.skipped;
            log(itemTitle + " 건너뜀: " + nameOf(path) + "는 이미 " + itemTitle);
        } else if (run.outcome) {
            ++report.done;
            if (run.outcome->fromTool && run.outcome->note) report.lastNote = run.outcome->note;
            log(doneLine(itemTitle, path, *run.outcome, run.elapsed));
        } else {
            log(itemTitle + " 실패: " + nameOf(path) + ": " + run.error);
        }
        std::move(run.risks.begin(), run.risks.end(), std::back_inserter(report.risks));
        run = FileRun{};
        if (progress) progress(static_cast<int>(i) + 1, report.total);
    };
    try {
        runInOrder(files.size(), limits, plan, job, finished);
    } catch (const RunStopped& stopped) {
        log(itemTitle + " 중단: " + stopped.what());
        throw;
    }
    report.finish =
        finishMessage(report.total, report.done, report.skipped, report.lastNote, itemTitle);
    return report;
}

RunReport runMerge(const std::vector<fs::path>& files, const RunOperations& operations) {
    RunReport report;
    report.total = 1;
    try {
        const ToolResult result = operations.mergePDF(files);
        report.done = 1;
        report.lastNote = result.note;
        log("PDF 합치기 완료: " + std::to_string(files.size()) + "개 -> " + nameOf(result.output) +
            " (" + result.note.value_or("") + ")");
        report.finish = {true, result.note.value_or("완료")};
    } catch (const std::exception& error) {
        log(std::string("PDF 합치기 실패: ") + error.what());
        report.finish = {false, "실패"};
    }
    return report;
}

RunReport runItem(const WheelItem& item, const std::vector<fs::path>& files,
                  const RunOperations& operations, const ProgressCallback& progress,
                  const WorkLimits& limits) {
    if (const auto* tool = std::get_if<ToolItem>(&item); tool && tool->tool == Tool::crop) {
        refuseAsPerFileWork(Tool::crop);
    }
    if (isMergeItem(item)) return runMerge(files, operations);
    return runPerFile(item, files, operations, progress, limits);
}

}  // namespace tavrino
