#pragma once
// The document information in the "\x05HwpSummaryInformation" stream, an OLE property set.

#include <cstdint>
#include <span>
#include <string>

namespace tavrino::docs::hwp5 {

struct Summary {
    std::string title, subject, author, keywords, comments, lastSavedBy;
    std::string created, modified;  // ISO 8601 UTC ("2020-01-31T09:00:00Z"), or empty
};

// Reads the properties it knows and ignores the rest. A damaged property set yields whatever
// was read before the damage: the summary is informative, never worth refusing a document.
Summary parseSummary(std::span<const std::uint8_t> stream);

// FILETIME (100 ns ticks since 1601-01-01 UTC) as ISO 8601 UTC; empty for 0.
std::string fileTimeToIso(std::uint64_t ticks);

}  // namespace tavrino::docs::hwp5
