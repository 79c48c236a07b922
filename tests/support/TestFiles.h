#pragma once
// Files for tests: a temporary folder that cleans up after itself, real images of every
// format made with libvips, small hand-built PDFs and BMPs, and the shared document corpus.

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

// A width × height test picture (a colour gradient, so encoders have real work), saved in
// the format its extension names: png, jpg/jpeg, heic/heif, tif/tiff, gif, webp. bands 4
// adds an alpha channel. Throws std::runtime_error when libvips cannot save it.
std::filesystem::path writeImage(const std::filesystem::path& path, int width = 32,
                                 int height = 24, int bands = 3);

// A GIF of several frames or a TIFF of several pages, each width × height.
std::filesystem::path writeFrames(const std::filesystem::path& path, int frames, int width = 16,
                                  int height = 16);

// A 24-bit uncompressed BMP (libvips cannot write BMP).
std::filesystem::path writeBMP(const std::filesystem::path& path, int width = 8, int height = 6);

// A valid PDF of empty A4 pages, built by hand.
std::filesystem::path writePDF(const std::filesystem::path& path, int pages = 1);

std::filesystem::path writeText(const std::filesystem::path& path, const std::string& text);

// The shared corpus of real documents (../shared/corpus from the project root).
std::filesystem::path corpusDir();
// Tests that read the corpus skip, saying why, when this is false.
bool haveCorpus();
std::filesystem::path corpusFile(const std::string& relative);

}  // namespace tavrino::test
