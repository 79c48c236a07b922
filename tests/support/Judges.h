#pragma once
// Other people's tools that judge our outputs in tests: ImageMagick's identify, poppler's
// pdfinfo and exiftool, run through support/Process.h. A test whose judge is not installed
// skips with the tool's name as the reason (TAVRINO_REQUIRE_TOOL).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/Process.h"

namespace tavrino::test {

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

// exiftool's tags of every group except the file system's and the file's own structure,
// one "[Group] Name : value" per line.
std::string exiftoolTags(const std::filesystem::path& file);

// The description of the ConvertError that `work` throws, or "(no error)".
std::string errorOf(const std::function<void()>& work);

// The names in a folder, sorted, hidden ones included.
std::vector<std::string> namesIn(const std::filesystem::path& folder);

}  // namespace tavrino::test

#define TAVRINO_REQUIRE_TOOL(name)                                                         \
    do {                                                                                   \
        if (!::tavrino::test::haveProgram(name)) GTEST_SKIP() << name " is not installed"; \
    } while (0)
