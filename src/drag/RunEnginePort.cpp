#include "drag/RunEnginePort.h"

#include "run/RiskCheck.h"

namespace tavrino {

RunEnginePort::RunEnginePort() : operations_(standardOperations()) {}

RunReport RunEnginePort::run(const WheelItem& item, const std::vector<std::filesystem::path>& files,
                             const ProgressCallback& progress) {
    return runItem(item, files, operations_, progress);
}

std::vector<std::string> RunEnginePort::riskNoticeLines(const std::vector<DocRisk>& risks) {
    return tavrino::riskNoticeLines(risks);
}

}  // namespace tavrino
