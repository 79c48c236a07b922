#pragma once
// Files for tests: a temporary folder that cleans up after itself, pictures and PDFs by
// path, text files, and the shared document corpus.

#include <filesystem>
#include <string>

namespace tavrino::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Path-returning shorthands for the fixtures of support/Fixtures.h.

// A width × height gradient picture in the format its extension names (writePicture).
std::filesystem::path writeImage(const std::filesystem::path& path, int width = 32, int height = 24,
                                 int bands = 3);

// A GIF of several frames or a TIFF of several pages, each width × height.
std::filesystem::path writeFrames(const std::filesystem::path& path, int frames, int width = 16,
                                  int height = 16);

// A BMP, through our own encoder (libvips has none).
std::filesystem::path writeBMP(const std::filesystem::path& path, int width = 8, int height = 6);

// A valid PDF of empty A4 pages.
std::filesystem::path writePDF(const std::filesystem::path& path, int pages = 1);

std::filesystem::path writeText(const std::filesystem::path& path, const std::string& text);

// The shared corpus of real documents (../shared/corpus from the project root).
std::filesystem::path corpusDir();
// Tests that read the corpus skip, saying why, when this is false.
bool haveCorpus();
std::filesystem::path corpusFile(const std::string& relative);

}  // namespace tavrino::test
