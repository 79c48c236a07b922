#pragma once
// The "\x05HwpSummaryInformation" stream: an OLE property set with the document's title,
// subject, author, keywords, comments, last author and dates, as far as the model has them.

#include <cstdint>
#include <string>
#include <vector>

#include "model/Document.h"

namespace tavrino::docs::hwp5 {

std::vector<std::uint8_t> writeSummary(const DocumentInfo& info);

// ISO 8601 UTC ("2024-03-01T09:41:07Z") as FILETIME ticks; 0 when the text is no such date.
std::uint64_t isoToFileTime(const std::string& iso);

}  // namespace tavrino::docs::hwp5
