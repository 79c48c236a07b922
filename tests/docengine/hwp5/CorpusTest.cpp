// The real documents of the shared corpus. The word processor stores a plain-text preview of
// each document (PrvText) beside the body; it is written by the word processor itself, so it
// is an independent witness of what the body holds.

#include <gtest/gtest.h>

#include <sstream>

#include "hwp5/ByteReader.h"
#include "hwp5/CompoundFile.h"
#include "hwp5/Hwp5Error.h"
#include "hwp5/Hwp5Reader.h"
#include "io/Files.h"
#include "model/Walk.h"
#include "support/TestFiles.h"

namespace tavrino::docs::hwp5 {
namespace {

std::vector<std::filesystem::path> corpusHwp() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(tavrino::test::corpusDir() / "hwp"))
        if (entry.path().extension() == ".hwp") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void appendText(const std::vector<Block>& blocks, std::string& out);

void appendInline(const Inline& item, std::string& out) {
    if (auto* t = std::get_if<Text>(&item))
        out += t->text;
    else if (auto* s = std::get_if<docs::Shape>(&item))
        appendText(s->blocks, out);
    else if (auto* n = std::get_if<docs::Note>(&item))
        appendText(n->blocks, out);
    else
        out += ' ';
}

void appendText(const std::vector<Block>& blocks, std::string& out) {
    for (const Block& b : blocks) {
        if (auto* p = std::get_if<docs::Paragraph>(&b.content)) {
            for (const auto& run : p->runs)
                for (const auto& item : run.content)
                    appendInline(item, out);
        } else {
            for (const auto& row : std::get<docs::Table>(b.content).rows)
                for (const auto& cell : row.cells)
                    appendText(cell.blocks, out);
        }
        out += '\n';
    }
}

std::string documentText(const Document& doc) {
    std::string out;
    for (const Section& s : doc.sections) {
        for (const auto& h : s.headers)
            appendText(h.blocks, out);
        appendText(s.blocks, out);
        for (const auto& f : s.footers)
            appendText(f.blocks, out);
    }
    return out;
}

std::string withoutSpace(const std::string& text) {
    std::string out;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c))) out += c;
    return out;
}

// The words of the preview text; table cells appear there as "<...>".
std::vector<std::string> previewWords(const std::filesystem::path& path) {
    auto file = CompoundFile::openFile(path.string());
    auto raw = file.read("PrvText");
    std::vector<std::string> words;
    if (!raw) return words;
    std::u16string units(raw->size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>((*raw)[2 * i] | ((*raw)[2 * i + 1] << 8));
    std::string text = utf16ToUtf8(units);
    for (char& c : text)
        if (c == '<' || c == '>' || c == '\r' || c == '\n' || c == '\t') c = ' ';
    std::istringstream in(text);
    for (std::string w; in >> w;)
        words.push_back(w);
    if (!words.empty()) words.pop_back();  // the preview is cut at a fixed length
    return words;
}

class Hwp5Corpus : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!tavrino::test::haveCorpus()) GTEST_SKIP() << "the shared corpus is missing";
    }
    static Document read(const std::string& name) {
        return readHwp5(readFileBytes(tavrino::test::corpusDir() / "hwp" / name));
    }
};

TEST_F(Hwp5Corpus, EveryDocumentReadsAndHoldsItsPreviewText) {
    auto files = corpusHwp();
    ASSERT_EQ(files.size(), 18u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        Document doc;
        ASSERT_NO_THROW(doc = readHwp5(readFileBytes(path)));
        ASSERT_FALSE(doc.sections.empty());
        // The preview and the body may break lines differently, so white space is left out of
        // the comparison.
        std::string text = withoutSpace(documentText(doc));
        for (const std::string& word : previewWords(path))
            EXPECT_NE(text.find(word), std::string::npos) << "missing word: " << word;
    }
}

TEST_F(Hwp5Corpus, DistributionDocumentIsDecrypted) {
    Document doc = read("distribution.hwp");
    std::string text = documentText(doc);
    EXPECT_NE(text.find("강남세움복지관 공고 제 2024-08호"), std::string::npos);
    EXPECT_NE(text.find("낙찰자 결정방법"), std::string::npos);
    // BodyText of such a file holds only a notice; the body must come from ViewText.
    EXPECT_GT(statistics(doc).paragraphs, 30);
}

TEST_F(Hwp5Corpus, MergedCellsKeepTheirGridAddress) {
    Document doc = read("merging-cell.hwp");
    const auto& table = std::get<docs::Table>(doc.sections.at(0).blocks.at(0).content);
    EXPECT_EQ(table.columnCount, 7);
    ASSERT_EQ(table.rows.size(), 7u);
    for (const auto& row : table.rows)
        for (const auto& cell : row.cells) {
            std::string expected = std::to_string(cell.row) + "," + std::to_string(cell.column);
            std::string text;
            appendText(cell.blocks, text);
            EXPECT_EQ(text.substr(0, expected.size()), expected);
        }
}

TEST_F(Hwp5Corpus, PicturesCarryTheirImageBytes) {
    Document doc = read("changing-image.hwp");
    ASSERT_EQ(statistics(doc).pictures, 1);
    // The second image of the file fills a table cell's background, which the model cannot hold.
    EXPECT_EQ(doc.dropped.counts["fillImage"], 1);
    ASSERT_EQ(doc.media.size(), 1u);
    const Media& m = doc.media[0];
    bool jpeg = m.data.size() > 2 && m.data[0] == '\xFF' && m.data[1] == '\xD8';
    bool png = m.data.size() > 4 && m.data.substr(1, 3) == "PNG";
    EXPECT_TRUE((m.mediaType == "image/jpeg" && jpeg) || (m.mediaType == "image/png" && png));
}

TEST_F(Hwp5Corpus, WhatTheModelCannotHoldIsCounted) {
    Document doc = read("ole.hwp");
    EXPECT_EQ(doc.dropped.counts["ole"], 1);
    // Two master pages under the section definition, one after the last paragraph.
    EXPECT_EQ(read("etc.hwp").dropped.counts["masterPage"], 3);
}

TEST_F(Hwp5Corpus, SummaryInformation) {
    Document doc = read("changing-paragraph-text.hwp");
    EXPECT_EQ(doc.info.title, "안녕하세요");
    EXPECT_EQ(doc.info.author, "박성균");
    EXPECT_EQ(doc.info.created.size(), 20u);
}

// A cut copy either reads exactly as the whole (the cut fell in unused sectors) or is
// refused; it never yields part of the text.
TEST_F(Hwp5Corpus, TruncatedCopiesFailCleanly) {
    for (const auto& path : corpusHwp()) {
        std::string bytes = readFileBytes(path);
        std::string whole = documentText(readHwp5(bytes));
        for (std::size_t keep : {std::size_t{600}, bytes.size() / 3, bytes.size() - 700}) {
            SCOPED_TRACE(path.filename().string() + " cut at " + std::to_string(keep));
            try {
                EXPECT_EQ(documentText(readHwp5(bytes.substr(0, keep))), whole);
            } catch (const Hwp5Error&) {
            }
        }
        EXPECT_THROW(readHwp5(bytes.substr(0, bytes.size() / 3)), Hwp5Error);
    }
}

}  // namespace
}  // namespace tavrino::docs::hwp5
