#pragma once
// One finding of a document's breakage-risk check, and the findings of one source file as
// the run engine collects them.

#include <filesystem>
#include <string>
#include <vector>

namespace tavrino {

struct DocRisk {
    std::string code;
    int count = 0;
    std::string message;
    bool operator==(const DocRisk&) const = default;
};

struct RiskFinding {
    std::filesystem::path source;
    std::vector<DocRisk> risks;
    bool operator==(const RiskFinding&) const = default;
};

}  // namespace tavrino
