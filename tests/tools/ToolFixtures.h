#pragma once
// Inputs and judges for the tool tests: PDFs with text on their pages (so page order can be
// read back with pdftotext), metadata written by exiftool, pixel signatures from identify.

#include <filesystem>
#include <string>
#include <vector>

namespace tavrino::test {

// One page per text, each showing that text in Helvetica. With inheritedBox the media box
// sits on the page tree instead of the pages, which copying must not lose.
std::filesystem::path writeTextPDF(const std::filesystem::path& path,
                                   const std::vector<std::string>& texts,
                                   bool inheritedBox = false);

// The text pdftotext reads, whitespace collapsed to single spaces and trimmed.
std::string pdfText(const std::filesystem::path& file);

// The size of every page in points as "WxH", read with pdfinfo.
std::vector<std::string> pageSizes(const std::filesystem::path& pdf);

// exiftool writes tags in place: exiftool -q -overwrite_original ARGS FILE. Fails the test
// when exiftool refuses.
void writeTags(const std::filesystem::path& file, const std::vector<std::string>& arguments);

// identify's signature of the decoded pixels of every frame, one per line.
std::string pixelSignature(const std::filesystem::path& file);

// exiftool's "Group:Name" lines other than those every file of the format has.
std::vector<std::string> metadataTags(const std::filesystem::path& file);

}  // namespace tavrino::test
