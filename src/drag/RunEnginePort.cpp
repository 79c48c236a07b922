#include "drag/RunEnginePort.h"

#include <cstdlib>

#include "platform/Log.h"

namespace tavrino {
namespace {

// The activity log as the user would type it, with the home folder written "~".
std::string logFileForPeople() {
    const std::string file = userLogFile().string();
    const char* home = std::getenv("HOME");
    const std::string prefix = home ? std::string(home) + "/" : std::string();
    if (!prefix.empty() && file.starts_with(prefix)) return "~/" + file.substr(prefix.size());
    return file;
}

}  // namespace

RunEnginePort::RunEnginePort() : operations_(standardOperations()) {}

RunReport RunEnginePort::run(const WheelItem& item, const std::vector<std::filesystem::path>& files,
                             const ProgressCallback& progress) {
    return runItem(item, files, operations_, progress);
}

std::vector<std::string> RunEnginePort::riskNoticeLines(const std::vector<DocRisk>& risks) {
    // A notification has room for two lines; a longer list points at the log, which holds
    // every finding.
    if (risks.size() <= 2) {
        std::vector<std::string> lines;
        for (const DocRisk& risk : risks)
            lines.push_back(risk.message);
        return lines;
    }
    return {risks.front().message, "그 밖에 " + std::to_string(risks.size() - 1) +
                                       "가지 — 전체 목록은 " + logFileForPeople()};
}

}  // namespace tavrino
