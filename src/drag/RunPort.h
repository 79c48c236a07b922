#pragma once
// The work of one run as the GUI side sees it. RunEnginePort hands it to the run engine;
// checks put a scripted fake in its place.

#include <filesystem>
#include <string>
#include <vector>

#include "menu/WheelItem.h"
#include "run/DocRisk.h"
#include "run/RunEngine.h"

namespace tavrino {

class RunPort {
  public:
    virtual ~RunPort() = default;
    // Called on a worker thread, never the GUI thread: carries the item out over the files
    // one after another (or merges them), writing the per-file log lines, and reports after
    // each file. Crop never comes here.
    virtual RunReport run(const WheelItem& item, const std::vector<std::filesystem::path>& files,
                          const ProgressCallback& progress) = 0;
    // The notification lines for one source's findings (at most two). GUI thread.
    virtual std::vector<std::string> riskNoticeLines(const std::vector<DocRisk>& risks) = 0;
};

}  // namespace tavrino
