#pragma once
// What converting a document to the other family (Word to HWP/HWPX, HWP/HWPX to Word) will
// lose or change: the constructs our readers could not carry, and those the target format or
// our writers cannot hold or only approximate. A construct that converts faithfully is not
// reported. wordbridge "risk" prints the findings as one JSON line.

#include <string>
#include <vector>

#include "io/DocumentIO.h"
#include "model/Document.h"

namespace tavrino::docs {

struct Risk {
    std::string code;  // stable, short: "nestedTable", "comment", ...
    int count = 0;
    std::string message;  // one Korean sentence for the user
    bool operator==(const Risk&) const = default;
};

// The findings for `document` as read from a file of `source` format, in a fixed order:
// first what the reader dropped, then what the conversion changes.
std::vector<Risk> conversionRisks(const Document& document, DocumentFormat source);

// {"risks":[{"code":...,"count":...,"message":...},...]} on one line.
std::string risksJson(const std::vector<Risk>& risks);

}  // namespace tavrino::docs
