#pragma once
// What the menus, the run and the operations need to know about one dropped file, gathered
// once: the run engine builds one value per file and hands it down, so a file is classified
// (and its header read) at most once per run however many layers ask.

#include <filesystem>
#include <optional>
#include <string>

#include "menu/Formats.h"

namespace tavrino {

class FileFacts {
  public:
    // Reads nothing but the directory flag, unless the extension says nothing about the
    // kind: then the header is probed, and that one read also answers frameCount().
    explicit FileFacts(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    bool isDirectory() const { return isDirectory_; }
    FileKind kind() const { return kind_; }
    const std::string& lowerExt() const { return lowerExt_; }
    const std::string& normalizedExt() const { return normalizedExt_; }

    // Frames (GIF) or pages (TIFF, HEIC) from the header, 0 when unreadable. Read on first
    // use and kept.
    int frameCount() const;
    bool isAnimatedGIF() const { return lowerExt_ == "gif" && frameCount() > 1; }
    bool isMultiPageTIFF() const {
        return (lowerExt_ == "tif" || lowerExt_ == "tiff") && frameCount() >= 2;
    }

  private:
    std::filesystem::path path_;
    std::string lowerExt_;
    std::string normalizedExt_;
    FileKind kind_ = FileKind::other;
    bool isDirectory_ = false;
    mutable std::optional<int> frames_;
};

}  // namespace tavrino
