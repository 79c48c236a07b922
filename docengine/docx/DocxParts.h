#pragma once
// Shared state of one DOCX being written: the parts produced so far, the media they embed
// and the notes they cite. Identifiers are counters, so equal documents give equal bytes.

#include <map>
#include <string>
#include <vector>

#include "model/Document.h"

namespace tavrino::docs {

struct PartRelationship {
    std::string id;      // "rId3"
    std::string type;    // last segment of the relationship type ("image", "hyperlink", ...)
    std::string target;  // relative to the source part's folder, or a URL
    bool external = false;
};

struct DocxOutput {
    const Document& document;
    std::map<std::string, std::string> parts;         // part name -> bytes, written in name order
    std::map<std::string, std::string> contentTypes;  // part name -> override content type
    std::map<std::size_t, std::string> mediaParts;    // media index -> "media/imageN.ext"
    std::vector<std::vector<Block>> footnotes;        // id = index + 1
    std::vector<std::vector<Block>> endnotes;
    std::map<int, std::map<int, ListInfo>> lists;  // list id -> level -> its look
    int headerCount = 0;
    int footerCount = 0;
    int nextDrawingId = 1;
    bool evenHeaders = false;

    explicit DocxOutput(const Document& source) : document(source) {}
};

}  // namespace tavrino::docs
