#pragma once
// The shared corpus of real documents and small helpers to compare documents.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/Document.h"

namespace tavrino::docs::test {

// The corpus files of one kind ("docx", "hwpx"), sorted; empty when the corpus is missing.
std::vector<std::filesystem::path> corpusFiles(const std::string& kind);

// What a round trip must keep: the text, the number of paragraphs and each table's shape.
struct Fingerprint {
    std::string text;
    int paragraphs = 0;
    std::vector<std::string> tables;  // "rows x columns: (row,col,rowSpan,colSpan) ..."
    bool operator==(const Fingerprint&) const = default;
};

Fingerprint fingerprint(const Document& document);

// A folder under the system's temporary directory, removed when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace tavrino::docs::test
