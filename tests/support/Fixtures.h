#pragma once
// Input files made inside the tests: pictures through libvips' own savers (names are under
// the test's control), small PDFs written byte by byte, and damaged copies of them.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tavrino::test {

// A width × height picture of a colour gradient, saved by extension (png, jpg, tif, gif,
// heic, webp; bmp through our stb encoder). With alpha (bands 2 or 4) the left half is fully
// transparent and the right half opaque.
void writePicture(const std::filesystem::path& file, int width, int height, int bands = 3);

// A TIFF (or GIF) holding `pages` pictures of width × height, one above the other.
void writeMultiPage(const std::filesystem::path& file, int pages, int width, int height);

// One PDF page: its MediaBox as PDF text ("0 0 200 100") and its content stream.
struct PdfPage {
    std::string mediaBox;
    std::string content;
};
// A well-formed PDF (with a correct cross-reference table) of these pages.
std::string pdfBytes(const std::vector<PdfPage>& pages);
// A PDF of these objects, numbered from 1 (object 1 is the catalog), with a correct
// cross-reference table.
std::string pdfFromObjects(const std::vector<std::string>& objects);
// A page filled with black, of width × height points.
PdfPage blackPage(double width, double height);

// The bytes of a small PNG whose header claims width × height pixels (with a correct
// checksum), followed by a few bytes of data: a decompression bomb in miniature. `scratch`
// is a file name it may use on the way.
std::string pngClaimingSize(const std::filesystem::path& scratch, std::uint32_t width,
                            std::uint32_t height);

void writeBytes(const std::filesystem::path& file, const std::string& bytes);
std::string readBytes(const std::filesystem::path& file);

// Reads pixel (x, y) of an image file as 8-bit values, one per band, through libvips.
std::vector<int> pixelAt(const std::filesystem::path& file, int x, int y);

}  // namespace tavrino::test
