#pragma once
// Run control's hold on the run engine, with this build's operations.

#include "drag/RunPort.h"

namespace tavrino {

class RunEnginePort : public RunPort {
  public:
    RunEnginePort();
    RunReport run(const WheelItem& item, const std::vector<std::filesystem::path>& files,
                  const ProgressCallback& progress) override;
    std::vector<std::string> riskNoticeLines(const std::vector<DocRisk>& risks) override;

  private:
    RunOperations operations_;
};

}  // namespace tavrino
