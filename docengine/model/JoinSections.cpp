#include "model/JoinSections.h"

#include <algorithm>

namespace tavrino::docs {
namespace {

// A section with running heads of its own stays one: joined, its heads would be lost.
bool continues(const Section& section) {
    return (section.start == SectionStart::continuous ||
            section.start == SectionStart::newColumn) &&
           section.headers.empty() && section.footers.empty();
}

}  // namespace

std::optional<std::vector<Section>> joinContinuingSections(const std::vector<Section>& sections) {
    if (sections.size() < 2 || std::none_of(sections.begin() + 1, sections.end(), continues))
        return std::nullopt;
    std::vector<Section> joined;
    for (const Section& section : sections) {
        if (joined.empty() || !continues(section)) {
            joined.push_back(section);
            continue;
        }
        Section& into = joined.back();
        into.blocks.insert(into.blocks.end(), section.blocks.begin(), section.blocks.end());
    }
    return joined;
}

}  // namespace tavrino::docs
