#include "drag/RunEnginePort.h"

#include "platform/Log.h"
#include "platform/Paths.h"

namespace tavrino {

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
                                       "가지 — 전체 목록은 " + withTilde(userLogFile())};
}

}  // namespace tavrino
