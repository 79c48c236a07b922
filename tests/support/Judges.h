#pragma once
// Other people's tools that judge our outputs in tests (ImageMagick's identify, poppler's
// pdfinfo, exiftool), and a scratch folder per test. A test whose judge is not installed
// skips with the tool's name as the reason.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace tavrino::test {

struct CommandResult {
    int status = -1;
    std::string output;  // standard output and standard error together
};

// Runs a program with arguments (no shell), capturing its output.
CommandResult runProgram(const std::vector<std::string>& arguments);

// Whether a program of this name is on PATH.
bool haveTool(const std::string& name);

// identify's view of the first image of a file.
struct Identified {
    std::string format;  // ImageMagick's format name: PNG, JPEG, TIFF, BMP3, HEIC, ...
    int width = 0;
    int height = 0;
    bool alpha = false;
    int frames = 0;
};
std::optional<Identified> identify(const std::filesystem::path& file);

// pdfinfo's page count and the size of page 1 in points.
struct PdfInfo {
    int pages = 0;
    double width = 0;
    double height = 0;
};
std::optional<PdfInfo> pdfinfo(const std::filesystem::path& file);

// exiftool's tag names of every group except the file system's and the file's own
// structure, one "Group:Name" per line.
std::string exiftoolTags(const std::filesystem::path& file);

// A new empty folder under the temporary directory, removed with its contents at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The names in the folder, sorted, hidden ones included.
    std::vector<std::string> names() const;

private:
    std::filesystem::path path_;
};

}  // namespace tavrino::test

#define TAVRINO_REQUIRE_TOOL(name)                                           \
    do {                                                                     \
        if (!::tavrino::test::haveTool(name)) GTEST_SKIP() << name " is not installed"; \
    } while (0)
