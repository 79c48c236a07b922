#include "ToolFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "support/Fixtures.h"
#include "support/Judges.h"

namespace fs = std::filesystem;

namespace tavrino::test {

fs::path writeTextPDF(const fs::path& path, const std::vector<std::string>& texts,
                      bool inheritedBox) {
    const std::string box = "/MediaBox [0 0 300 200]";
    const size_t pages = texts.size();
    std::vector<std::string> objects;
    std::string kids;
    for (size_t i = 0; i < pages; ++i)
        kids += std::to_string(4 + 2 * i) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) +
                      (inheritedBox ? " " + box : "") + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (size_t i = 0; i < pages; ++i) {
        const std::string content = "BT /F1 24 Tf 40 100 Td (" + texts[i] + ") Tj ET";
        objects.push_back(
            "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 3 0 R >> >> "
            "/Contents " +
            std::to_string(5 + 2 * i) + " 0 R" + (inheritedBox ? "" : " " + box) + " >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "\nendstream");
    }
    writeBytes(path, pdfFromObjects(objects));
    return path;
}

std::string pdfText(const fs::path& file) {
    const ProcessResult result = runProgram({"pdftotext", file.string(), "-"});
    std::istringstream words(result.out);
    std::string word, text;
    while (words >> word)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

std::vector<std::string> pageSizes(const fs::path& pdf) {
    const std::string info = runProgram({"pdfinfo", "-f", "1", "-l", "9999", pdf.string()}).out;
    std::istringstream lines(info);
    std::vector<std::string> sizes;
    std::string line;
    while (std::getline(lines, line)) {
        int page = 0;
        double width = 0, height = 0;
        if (std::sscanf(line.c_str(), "Page %d size: %lf x %lf", &page, &width, &height) == 3) {
            sizes.push_back(std::to_string(std::lround(width)) + "x" +
                            std::to_string(std::lround(height)));
        }
    }
    return sizes;
}

void writeTags(const fs::path& file, const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"exiftool", "-q", "-overwrite_original"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    command.push_back(file.string());
    const ProcessResult result = runProgram(command);
    ASSERT_EQ(result.status, 0) << result.out << result.err;
}

std::string pixelSignature(const fs::path& file) {
    const ProcessResult result = runProgram({"identify", "-format", "%#\\n", file.string()});
    // An unreadable file must not make two signatures equal by both being empty.
    EXPECT_EQ(result.status, 0) << file << ": " << result.err;
    return result.status == 0 ? result.out : "unreadable " + file.string();
}

std::vector<std::string> metadataTags(const fs::path& file) {
    std::istringstream lines(exiftoolTags(file));
    std::vector<std::string> tags;
    std::string line;
    while (std::getline(lines, line)) {
        const std::string name = line.substr(0, line.find(' '));
        // Picture structure every JPEG/PNG/TIFF/HEIF reader reports, not metadata.
        static const std::vector<std::string> structural{
            "[JFIF]", "[PNG]",         "[PNG-pHYs]",   "[Composite]", "[QuickTime]",
            "[Meta]", "[ICC_Profile]", "[ICC-header]", "[ICC-view]",  "[ICC-meas]"};
        bool skip = false;
        for (const std::string& group : structural)
            skip = skip || name == group;
        if (!skip && !line.empty()) tags.push_back(line);
    }
    return tags;
}

}  // namespace tavrino::test
