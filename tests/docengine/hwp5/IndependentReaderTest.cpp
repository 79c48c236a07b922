// Our HWP files judged by a reader someone else wrote: hwp.js, an HWP 5 parser from the npm
// registry (installed by scripts/fetch-judges). Every corpus document is written as HWP; the
// judge must open every file, and what it finds (sections, top-level paragraphs, tables with
// their cells, and the text of every paragraph and cell) must equal what our own parser finds
// in the same file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "hwp5/ByteReader.h"
#include "hwp5/ControlChars.h"
#include "hwp5/Hwp5File.h"
#include "io/DocumentIO.h"
#include "support/TestFiles.h"

namespace tavrino::docs {
namespace {

namespace fs = std::filesystem;

// JSON text as JavaScript's JSON.stringify writes it, so the two summaries compare as lines.
std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// The same walk the judge script makes, over our own parse of the file.
void walkParagraph(const hwp5::Paragraph& p, std::vector<std::string>& tables,
                   std::vector<std::string>& lines) {
    std::u16string printable;
    for (std::size_t i = 0; i < p.text.size(); i += hwp5::charWidth(p.text[i]))
        if (hwp5::charKind(p.text[i]) == hwp5::CharKind::text) printable += p.text[i];
    lines.push_back(hwp5::utf16ToUtf8(printable));
    for (const hwp5::Control& c : p.controls) {
        const auto* table = std::get_if<hwp5::Table>(&c.body);
        if (!table) continue;
        for (const hwp5::Cell& cell : table->cells)
            for (const hwp5::Paragraph& inner : cell.paragraphs)
                walkParagraph(inner, tables, lines);
        tables.push_back(std::to_string(table->rows) + "x" + std::to_string(table->columns) + ":" +
                         std::to_string(table->cells.size()));
    }
}

std::string ourSummary(const std::string& name, const std::string& bytes) {
    const hwp5::Hwp5File file = hwp5::readHwp5Bytes({bytes.begin(), bytes.end()});
    std::string out = "{\"file\":" + jsonString(name) + ",\"ok\":true,\"sections\":[";
    for (std::size_t s = 0; s < file.sections.size(); ++s) {
        std::vector<std::string> tables, lines;
        for (const hwp5::Paragraph& p : file.sections[s])
            walkParagraph(p, tables, lines);
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i ? "\n" : "") + lines[i];
        out += std::string(s ? "," : "") +
               "{\"paragraphs\":" + std::to_string(file.sections[s].size()) + ",\"tables\":[";
        for (std::size_t t = 0; t < tables.size(); ++t)
            out += (t ? "," : "") + jsonString(tables[t]);
        out += "],\"text\":" + jsonString(text) + "}";
    }
    return out + "]}";
}

std::vector<std::string> runJudge(const std::vector<fs::path>& files) {
    std::string command = "node '" + std::string(TAVRINO_HWPJS_SCRIPT) + "' '" +
                          std::string(TAVRINO_JUDGES_DIR) + "'";
    for (const auto& file : files)
        command += " '" + file.string() + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::string> lines;
    if (!pipe) return lines;
    std::string current;
    char buffer[65536];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) {
        for (std::size_t i = 0; i < n; ++i) {
            if (buffer[i] == '\n') {
                lines.push_back(std::move(current));
                current.clear();
            } else {
                current += buffer[i];
            }
        }
    }
    return lines;
}

bool judgeInstalled() {
    return fs::exists(fs::path(TAVRINO_JUDGES_DIR) / "hwp.js" / "package.json") &&
           std::system("node --version > /dev/null 2>&1") == 0;
}

TEST(IndependentHwpReader, OpensEveryFileWeWriteAndReadsTheSameText) {
    if (!tavrino::test::haveCorpus()) GTEST_SKIP() << "the shared corpus is missing";
    if (!judgeInstalled()) {
        // CI installs the judge through scripts/setup; there its absence is a failure.
        if (std::getenv("CI")) FAIL() << "hwp.js is not installed: run scripts/fetch-judges";
        GTEST_SKIP() << "hwp.js is not installed: run scripts/fetch-judges";
    }
    const fs::path work = fs::temp_directory_path() / ("tavrino-hwpjs-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    std::vector<fs::path> written;
    std::vector<std::string> expected;
    for (const char* kind : {"hwp", "hwpx", "docx"}) {
        for (const auto& entry : fs::directory_iterator(tavrino::test::corpusDir() / kind)) {
            const fs::path out = work / (entry.path().filename().string() + ".hwp");
            const std::string bytes =
                documentBytes(readDocument(entry.path()), DocumentFormat::hwp);
            std::ofstream(out, std::ios::binary) << bytes;
            written.push_back(out);
            expected.push_back(ourSummary(out.filename().string(), bytes));
        }
    }
    const std::vector<std::string> judged = runJudge(written);
    fs::remove_all(work);
    ASSERT_EQ(judged.size(), written.size()) << "the judge did not report on every file";
    int same = 0;
    for (std::size_t i = 0; i < judged.size(); ++i) {
        EXPECT_EQ(judged[i], expected[i]);
        same += judged[i] == expected[i];
    }
    std::cout << "hwp.js: " << same << " of " << judged.size()
              << " files open with the same sections, paragraphs, tables and text" << std::endl;
}

}  // namespace
}  // namespace tavrino::docs
