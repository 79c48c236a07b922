#include "run/RiskCheck.h"

#include <cstdint>
#include <exception>
#include <nlohmann/json.hpp>

#include "convert/ConvertError.h"
#include "documents/ToolRunner.h"
#include "platform/Log.h"
#include "platform/Paths.h"

namespace tavrino {
namespace {

[[noreturn]] void unreadableReply() {
    throw ConvertError("risk 결과(JSON)를 읽지 못함");
}

// The last non-empty line that begins with "{" exactly (leading spaces disqualify it).
std::optional<std::string_view> lastJsonLine(std::string_view output) {
    while (!output.empty()) {
        const size_t cut = output.rfind('\n');
        const std::string_view line =
            cut == std::string_view::npos ? output : output.substr(cut + 1);
        if (!line.empty() && line.front() == '{') return line;
        if (cut == std::string_view::npos) break;
        output = output.substr(0, cut);
    }
    return std::nullopt;
}

}  // namespace

std::vector<DocRisk> parseRiskReply(std::string_view output) {
    const std::optional<std::string_view> line = lastJsonLine(output);
    if (!line) unreadableReply();
    const nlohmann::json reply = nlohmann::json::parse(*line, nullptr, false);
    if (reply.is_discarded() || !reply.is_object()) unreadableReply();
    const auto found = reply.find("risks");
    if (found == reply.end() || !found->is_array()) unreadableReply();
    std::vector<DocRisk> risks;
    for (const nlohmann::json& item : *found) {
        if (!item.is_object()) unreadableReply();
        const auto code = item.find("code");
        const auto count = item.find("count");
        const auto message = item.find("message");
        if (code == item.end() || !code->is_string() || count == item.end() ||
            !count->is_number_integer() || message == item.end() || !message->is_string()) {
            continue;
        }
        // A count beyond int cannot be a real tally; such an object is as malformed as a
        // count written as text.
        const auto value = count->get<long long>();
        if (value < 0 || value > INT32_MAX) continue;
        risks.push_back(
            {code->get<std::string>(), static_cast<int>(value), message->get<std::string>()});
    }
    return risks;
}

std::vector<DocRisk> docRisks(const std::filesystem::path& path) {
    const std::string output =
        runTool(bundledToolPath(wordbridgeTool.name, wordbridgeTool.vendorDir),
                wordbridgeTool.label, {"risk", path.string()});
    return parseRiskReply(output);
}

std::optional<std::vector<DocRisk>> checkRisks(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    std::vector<DocRisk> risks;
    try {
        risks = docRisks(path);
    } catch (const std::exception& error) {
        log("깨짐 위험 검사 실패(변환 결과는 그대로): " + name + ": " + error.what());
        return std::nullopt;
    }
    if (risks.empty()) return risks;
    std::string summary = "확인 필요: " + name + ": ";
    for (size_t i = 0; i < risks.size(); ++i) {
        if (i > 0) summary += ", ";
        summary += risks[i].code + "×" + std::to_string(risks[i].count);
    }
    log(summary);
    for (const DocRisk& risk : risks)
        log("  - " + risk.message);
    return risks;
}

std::vector<std::string> riskNoticeLines(const std::vector<DocRisk>& risks) {
    // A notification has room for two lines; a longer list points at the log, which holds
    // every finding.
    if (risks.size() <= 2) {
        std::vector<std::string> lines;
        for (const DocRisk& risk : risks)
            lines.push_back(risk.message);
        return lines;
    }
    return {risks.front().message, "그 밖에 " + std::to_string(risks.size() - 1) +
                                       "가지 — 전체 목록은 " + withTilde(userLogFile())};
}

std::string riskHubText(const std::vector<RiskFinding>& findings) {
    const size_t n = findings.size();
    return n == 1 ? "확인 필요" : std::to_string(n) + "개 확인 필요";
}

std::string riskNoticeTitle(const std::vector<RiskFinding>& findings) {
    if (findings.empty()) return "확인 필요";
    std::string title = "확인 필요: " + findings.front().source.filename().string();
    if (findings.size() > 1) title += " 외 " + std::to_string(findings.size() - 1) + "개";
    return title;
}

}  // namespace tavrino
