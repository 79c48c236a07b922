#pragma once
// A whole document as one value: its information, its sections in reading order, the
// embedded files its pictures show, and the tally of what the reader could not carry.
//
// Ownership: a `Document` owns everything in it; nothing points into another object.
// Pictures refer to `media` by index, which stays valid as long as media entries are only
// appended. Readers build a Document and hand it out by value; writers only read it.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/Section.h"

namespace tavrino::docs {

struct DocumentInfo {
    std::string title;
    std::string subject;
    std::string author;
    std::string keywords;
    std::string description;
    std::string lastModifiedBy;
    std::string created;  // ISO 8601 UTC ("2024-03-01T09:41:07Z"), "" when unknown
    std::string modified;
    std::string language;                                     // "ko-KR"
    std::vector<std::pair<std::string, std::string>> custom;  // name, text value
    bool operator==(const DocumentInfo&) const = default;
};

// One embedded file (an image). `name` is a file name for writers to reuse when it is safe
// ("image1.png"); `mediaType` the MIME type ("image/png").
struct Media {
    std::string name;
    std::string mediaType;
    std::string data;  // the file's bytes
    bool operator==(const Media&) const = default;
};

// What a reader met but the model cannot hold (OLE objects, form controls, tracked changes,
// charts, ...), counted by a short stable code. Nothing is guessed in its place; the risk
// analysis reports these counts.
struct Losses {
    std::map<std::string, int> counts;
    void add(std::string_view code, int count = 1) { counts[std::string(code)] += count; }
    int total() const {
        int sum = 0;
        for (const auto& [code, count] : counts)
            sum += count;
        return sum;
    }
    bool operator==(const Losses&) const = default;
};

struct Document {
    DocumentInfo info;
    std::vector<Section> sections;
    std::vector<Media> media;
    Losses dropped;
    bool operator==(const Document&) const = default;

    // Adds an embedded file and returns its index for `Picture::mediaIndex`.
    std::size_t addMedia(Media item) {
        media.push_back(std::move(item));
        return media.size() - 1;
    }
};

}  // namespace tavrino::docs
