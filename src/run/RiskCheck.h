#pragma once
// The breakage-risk check that follows a conversion between Word and the Korean formats:
// wordbridge names the constructs of the source that the conversion may lose or change, the
// activity log receives the full list and the completion notification a short summary.
// The check is advisory: whatever it finds, and even when it fails, the converted file stands.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/DocRisk.h"

namespace tavrino {

// The findings in wordbridge's reply: the last output line that begins with "{" holds a JSON
// object whose "risks" array lists {code, count, message}. Objects of another shape are
// skipped. Throws ConvertError "risk 결과(JSON)를 읽지 못함" when there is no such line or it
// is not an object with a "risks" array of objects.
std::vector<DocRisk> parseRiskReply(std::string_view output);

// Runs wordbridge "risk" on the document and parses its reply; the runner's errors pass on.
std::vector<DocRisk> docRisks(const std::filesystem::path& path);

// docRisks with its outcome logged; never throws. No value when the query failed.
std::optional<std::vector<DocRisk>> checkRisks(const std::filesystem::path& path);

// At most two notification lines for one file's findings: up to two messages, or the first
// message and a pointer to the log that holds the rest.
std::vector<std::string> riskNoticeLines(const std::vector<DocRisk>& risks);

// What a run with findings shows: the hub's "확인 필요" (with the number of files when more
// than one has findings) and the notification's title naming the first of them.
std::string riskHubText(const std::vector<RiskFinding>& findings);
std::string riskNoticeTitle(const std::vector<RiskFinding>& findings);

}  // namespace tavrino
