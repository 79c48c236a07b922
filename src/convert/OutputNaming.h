#pragma once
// Where results go. Every result lands in its source's folder under a name derived from the
// source's name and never replaces anything: when a name is taken (by a file or a folder) a
// counter " 2", " 3", ... goes before the extension.
//
// Names are only *chosen* here; they are taken atomically by PendingFile and
// placeExclusively (convert/PendingFile.h), so two writers never end up with the same name
// even when they choose at the same moment.

#include <filesystem>
#include <string>
#include <string_view>

#include "menu/Formats.h"

namespace tavrino {

// A family of candidate names in one folder: "base.ext", then "base 2.ext", "base 3.ext", ...
// With a suffix it follows the base after a space ("photo 압축.jpg", "photo 압축 2.jpg"); with
// an empty extension the candidates have no dot ("report 이미지", "report 이미지 2").
// An exact name has a single candidate.
//
// A counted name that would be longer than the folder takes (255 bytes on most file
// systems) loses the end of its base, at a character boundary, so that a source with a long
// name still gets its result; the suffix, counter and extension are kept.
struct OutputName {
    std::filesystem::path folder;
    std::string base;
    std::string extension;
    bool counted = true;
    std::string suffix;

    // n counts from 1; n >= 2 is only meaningful for a counted name.
    std::filesystem::path candidate(int n) const;
    // The first candidate at whose path nothing exists right now (no upper limit).
    std::filesystem::path firstFree() const;
    // "." + the first candidate's name + "-", the start of a hidden work name beside the
    // result; shortened so that `extra` more bytes still fit the folder.
    std::string hiddenPrefix(size_t extra) const;

    static OutputName exactly(const std::filesystem::path& path);
};

// stem + "." + ext beside the source; the stem loses only the last extension.
OutputName outputName(const std::filesystem::path& source, std::string_view ext);
// stem + " " + suffix + "." + ext beside the source (the names of tool results).
OutputName toolOutputName(const std::filesystem::path& source, std::string_view suffix,
                          std::string_view ext);
// stem + " 이미지": the folder that receives one file per page or frame.
OutputName imageFolderName(const std::filesystem::path& source);

// The first free candidate of the names above, tested at the time of the call.
std::filesystem::path outputURL(const std::filesystem::path& source, Fmt fmt);
std::filesystem::path outputURL(const std::filesystem::path& source, std::string_view ext);
std::filesystem::path toolOutputURL(const std::filesystem::path& source, std::string_view suffix,
                                    std::string_view ext);
std::filesystem::path imageFolderURL(const std::filesystem::path& source);

// Creates the page folder under the first free folder name, atomically (mkdir fails on a
// name that appeared meanwhile and the next one is tried). Throws std::filesystem_error.
std::filesystem::path createImageFolder(const std::filesystem::path& source);

// A new private work folder: <temporary directory>/zt-hwp-<UUID in upper case>. The caller
// owns it and removes it (ScopedTempDir does). Throws std::filesystem_error.
std::filesystem::path tempDir();

// Owns a tempDir() and removes it with everything inside when it goes out of scope,
// ignoring a failure of the removal.
class ScopedTempDir {
  public:
    ScopedTempDir() : path_(tempDir()) {}
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Moves a finished file out of a work folder to the first free outputName(src, ext) and
// returns the new path. An empty or missing file throws ConvertError "결과 파일이 비어 있음"
// and places nothing; a failed move throws std::filesystem_error and leaves the file where
// it was. Works across file systems (the work folder is usually on another one).
std::filesystem::path moveIntoPlace(const std::filesystem::path& file,
                                    const std::filesystem::path& src, std::string_view ext);

// The longest file name `folder` takes, in bytes (255 where the file system does not say).
size_t longestFileName(const std::filesystem::path& folder);

// `text` shortened to at most `bytes` bytes, never inside a UTF-8 sequence.
std::string cutToBytes(std::string_view text, size_t bytes);

// True when the name holds a character no external tool may receive in a path: a C0
// control character, U+007F, U+FFFD, or a byte sequence that is not UTF-8 (which would
// reach a tool as U+FFFD anyway).
bool unusableFileName(std::string_view name);

}  // namespace tavrino
