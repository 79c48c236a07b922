#pragma once
// The sections as a format whose every section starts on a new page writes them. Both Korean
// formats change the column layout in mid-page without a new section, which their writers
// here do not do yet; a section that continues on the page of the one before is joined to it
// instead (unless it has running heads of its own), so that it does not gain a page break the
// document never had.

#include <optional>
#include <vector>

#include "model/Section.h"

namespace tavrino::docs {

// Nothing when no section continues another (write the document's own sections then).
std::optional<std::vector<Section>> joinContinuingSections(const std::vector<Section>& sections);

}  // namespace tavrino::docs
