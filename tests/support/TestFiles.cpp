#include "support/TestFiles.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "support/Fixtures.h"

namespace tavrino::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrino-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path writeImage(const std::filesystem::path& path, int width, int height,
                                 int bands) {
    writePicture(path, width, height, bands);
    return path;
}

std::filesystem::path writeFrames(const std::filesystem::path& path, int frames, int width,
                                  int height) {
    writeMultiPage(path, frames, width, height);
    return path;
}

std::filesystem::path writeBMP(const std::filesystem::path& path, int width, int height) {
    writePicture(path, width, height);
    return path;
}

std::filesystem::path writePDF(const std::filesystem::path& path, int pages) {
    writeBytes(path,
               pdfBytes(std::vector<PdfPage>(static_cast<size_t>(pages), {"0 0 595 842", ""})));
    return path;
}

std::filesystem::path writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::filesystem::path corpusDir() {
    return TAVRINO_CORPUS_DIR;
}

bool haveCorpus() {
    return std::filesystem::is_directory(corpusDir());
}

std::filesystem::path corpusFile(const std::string& relative) {
    return corpusDir() / relative;
}

}  // namespace tavrino::test
