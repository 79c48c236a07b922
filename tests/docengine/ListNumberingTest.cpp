// Paragraph heads (outline numbers, numbered lists, bullets) through the writers: Word
// numbering in the DOCX that LibreOffice renders, the same labels after every round trip,
// outline paragraphs still outline paragraphs in the Korean formats.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "Corpus.h"
#include "io/DocumentIO.h"
#include "model/BulletGlyph.h"
#include "model/Lists.h"
#include "text/ListLabels.h"
#include "text/TextExport.h"
#include "zip/ZipReader.h"

namespace tavrino::docs::test {
namespace {

Paragraph item(std::string text, ListInfo list, int outlineLevel = -1) {
    Paragraph paragraph;
    paragraph.props.list = std::move(list);
    paragraph.props.outlineLevel = outlineLevel;
    paragraph.runs.push_back(TextRun{{}, {Text{std::move(text)}}});
    return paragraph;
}

Paragraph outline(std::string text, int level) {
    return item(std::move(text), defaultOutlineLevel(level), level);
}

ListInfo numbered(int listId, int level, NumberFormat format, std::string pattern, int start = 1) {
    ListInfo list;
    list.start = start;
    list.kind = ListKind::numbered;
    list.listId = listId;
    list.level = level;
    list.format = format;
    list.pattern = std::move(pattern);
    return list;
}

ListInfo bullet(int listId, std::string text) {
    ListInfo list;
    list.kind = ListKind::bullet;
    list.listId = listId;
    list.format = NumberFormat::bullet;
    list.bulletText = std::move(text);
    return list;
}

// Outline headings at three levels with a numbered list between them, a second list that
// counts apart from its own start number, and two bullet lists, one with a Wingdings code for its
// bullet.
Document headedDocument() {
    Document document;
    document.sections.resize(1);
    document.sections[0].blocks = {
        Block{outline("intro", 0)},
        Block{outline("part", 1)},
        Block{item("step", numbered(3, 0, NumberFormat::decimal, "%1."))},
        Block{item("step", numbered(3, 0, NumberFormat::decimal, "%1."))},
        Block{item("detail", numbered(3, 1, NumberFormat::decimal, "%1.%2."))},
        Block{outline("point", 2)},
        Block{item("again", numbered(4, 0, NumberFormat::circled, "%1", 3))},
        Block{item("more", numbered(4, 0, NumberFormat::circled, "%1", 3))},
        Block{item("dot", bullet(kBulletListBase + 1, "\uF06C"))},
        Block{item("square", bullet(kBulletListBase + 2, "\u25A0"))},
        Block{outline("next", 0)},
        Block{outline("part", 1)}};
    return document;
}

constexpr const char* kHeadedText =
    "1. intro\n가. part\n1. step\n2. step\n2.1. detail\n1) point\n③ again\n④ more\n● dot\n"
    "■ square\n"
    "2. next\n가. part\n";

pugi::xml_document parse(const std::string& xml) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(xml.c_str())) << xml.substr(0, 200);
    return doc;
}

struct Level {
    std::string format, text;
    int start = 0;
};

// abstractNum id -> level -> format and text, as numbering.xml declares them.
std::map<int, std::map<int, Level>> abstractLevels(const pugi::xml_node& numbering) {
    std::map<int, std::map<int, Level>> out;
    for (const auto& abstract : numbering.children("w:abstractNum"))
        for (const auto& lvl : abstract.children("w:lvl"))
            out[abstract.attribute("w:abstractNumId").as_int()][lvl.attribute("w:ilvl").as_int()] =
                Level{lvl.child("w:numFmt").attribute("w:val").as_string(),
                      lvl.child("w:lvlText").attribute("w:val").as_string(),
                      lvl.child("w:start").attribute("w:val").as_int()};
    return out;
}

TEST(ListNumbering, DocxWritesWordNumberingForHeadsListsAndBullets) {
    const std::string bytes = documentBytes(headedDocument(), DocumentFormat::docx);
    ZipReader zip(bytes);
    const pugi::xml_document numberingXml = parse(zip.read("word/numbering.xml"));
    const pugi::xml_node numbering = numberingXml.child("w:numbering");
    const auto levels = abstractLevels(numbering);
    std::map<int, int> abstractOf;  // numId -> abstractNumId
    for (const auto& num : numbering.children("w:num"))
        abstractOf[num.attribute("w:numId").as_int()] =
            num.child("w:abstractNumId").attribute("w:val").as_int();
    for (const auto& [num, abstract] : abstractOf)
        EXPECT_TRUE(levels.count(abstract)) << "w:num " << num << " names no abstractNum";

    // Every paragraph's numPr names a declared num; the numbering package part is related.
    const pugi::xml_document body = parse(zip.read("word/document.xml"));
    EXPECT_NE(zip.read("word/_rels/document.xml.rels").find("numbering.xml"), std::string::npos);
    struct Head {
        int num, level, outline;
    };
    std::vector<Head> heads;
    for (const auto& p : body.child("w:document").child("w:body").children("w:p")) {
        const auto pPr = p.child("w:pPr");
        const auto numPr = pPr.child("w:numPr");
        ASSERT_TRUE(numPr) << "a paragraph of the document lost its head";
        heads.push_back({numPr.child("w:numId").attribute("w:val").as_int(),
                         numPr.child("w:ilvl").attribute("w:val").as_int(),
                         pPr.child("w:outlineLvl").attribute("w:val").as_int(-1)});
        EXPECT_TRUE(abstractOf.count(heads.back().num)) << heads.back().num;
    }
    ASSERT_EQ(heads.size(), 12u);
    // The outline is one list across the document, its headings still headings.
    const int outlineNum = heads[0].num;
    for (const size_t i : {0u, 1u, 5u, 10u, 11u}) {
        EXPECT_EQ(heads[i].num, outlineNum) << i;
        EXPECT_EQ(heads[i].outline, heads[i].level) << i;
    }
    const auto& outlineLevels = levels.at(abstractOf.at(outlineNum));
    EXPECT_EQ(outlineLevels.at(0).format, "decimal");
    EXPECT_EQ(outlineLevels.at(0).text, "%1.");
    EXPECT_EQ(outlineLevels.at(1).format, "ganada");
    EXPECT_EQ(outlineLevels.at(1).text, "%2.");
    EXPECT_EQ(outlineLevels.at(2).text, "%3)");
    // The two numbered lists count apart, so the second starts at 1 again.
    EXPECT_EQ(heads[2].num, heads[4].num);
    EXPECT_EQ(heads[4].level, 1);
    EXPECT_NE(heads[6].num, heads[2].num);
    EXPECT_NE(abstractOf.at(heads[6].num), abstractOf.at(heads[2].num));
    EXPECT_EQ(levels.at(abstractOf.at(heads[2].num)).at(1).text, "%1.%2.");
    EXPECT_EQ(levels.at(abstractOf.at(heads[6].num)).at(0).format, "decimalEnclosedCircle");
    // Bullets: Word's bullet format, the Wingdings code as the glyph it draws.
    EXPECT_EQ(outlineLevels.at(0).start, 1);
    const Level& circled = levels.at(abstractOf.at(heads[6].num)).at(0);
    EXPECT_EQ(circled.start, 3);
    EXPECT_EQ(heads[7].num, heads[6].num);
    const Level& dot = levels.at(abstractOf.at(heads[8].num)).at(0);
    EXPECT_EQ(dot.format, "bullet");
    EXPECT_EQ(dot.text, "\u25CF");
    EXPECT_EQ(levels.at(abstractOf.at(heads[9].num)).at(0).text, "\u25A0");
    EXPECT_NE(heads[8].num, heads[9].num);
}

TEST(ListNumbering, LabelsSurviveEveryTarget) {
    const Document document = headedDocument();
    EXPECT_EQ(documentText(document), kHeadedText);
    for (const DocumentFormat format :
         {DocumentFormat::docx, DocumentFormat::hwpx, DocumentFormat::hwp}) {
        const Document back = readDocumentBytes(documentBytes(document, format));
        EXPECT_EQ(documentText(back), kHeadedText) << int(format);
        if (format == DocumentFormat::docx) continue;
        // The Korean formats keep outline paragraphs apart from numbered lists.
        const auto& blocks = back.sections.at(0).blocks;
        ASSERT_EQ(blocks.size(), 12u);
        for (size_t i = 0; i < blocks.size(); ++i) {
            const ParaProps& props = std::get<Paragraph>(blocks[i].content).props;
            const bool wanted = i == 0 || i == 1 || i == 5 || i == 10 || i == 11;
            EXPECT_EQ(isOutline(props), wanted) << int(format) << " paragraph " << i;
        }
    }
}

TEST(ListNumbering, HwpxOutlineParagraphsNameTheSectionsNumbering) {
    const std::string bytes = documentBytes(headedDocument(), DocumentFormat::hwpx);
    ZipReader zip(bytes);
    const pugi::xml_document header = parse(zip.read("Contents/header.xml"));
    const pugi::xml_node refList = header.child("hh:head").child("hh:refList");
    std::set<std::string> headingTypes;
    for (const auto& paraPr : refList.child("hh:paraProperties").children("hh:paraPr")) {
        const auto heading = paraPr.child("hh:heading");
        headingTypes.insert(heading.attribute("type").as_string());
        if (std::string_view(heading.attribute("type").as_string()) == "OUTLINE") {
            EXPECT_EQ(heading.attribute("idRef").as_int(), 0);
        }
    }
    EXPECT_TRUE(headingTypes.count("OUTLINE") && headingTypes.count("NUMBER") &&
                headingTypes.count("BULLET"));
    // Numbering 1, which sections name, is the outline's: "^2." in the Korean syllables.
    pugi::xml_node first;
    for (const auto& numbering : refList.child("hh:numberings").children("hh:numbering"))
        if (numbering.attribute("id").as_int() == 1) first = numbering;
    ASSERT_TRUE(first);
    const auto second = first.find_child_by_attribute("hh:paraHead", "level", "2");
    EXPECT_STREQ(second.attribute("numFormat").as_string(), "HANGUL_SYLLABLE");
    EXPECT_STREQ(second.text().as_string(), "^2.");
}

// A Word heading has an outline level and no number; the Korean formats number outline
// paragraphs by themselves, so their outline numbering must show none for it.
TEST(ListNumbering, WordHeadingsStayUnnumberedInKoreanFormats) {
    Document document;
    document.sections.resize(1);
    document.sections[0].blocks = {Block{item("Title", {}, 0)}, Block{item("body", {})},
                                   Block{item("Section", {}, 1)}};
    for (const DocumentFormat format : {DocumentFormat::hwpx, DocumentFormat::hwp}) {
        const Document back = readDocumentBytes(documentBytes(document, format));
        EXPECT_EQ(documentText(back), "Title\nbody\nSection\n") << int(format);
        const auto& blocks = back.sections.at(0).blocks;
        ASSERT_EQ(blocks.size(), 3u);
        EXPECT_EQ(std::get<Paragraph>(blocks[2].content).props.outlineLevel, 1) << int(format);
    }
}

// A level entered without its parents shows them as 1 and counts them as used.
TEST(ListNumbering, SkippedLevelsCountAsUsed) {
    ListLabels labels;
    const auto at = [](int level) {
        std::string pattern;
        for (int i = 1; i <= level + 1; ++i)
            pattern += "%" + std::to_string(i) + ".";
        return numbered(5, level, NumberFormat::decimal, pattern);
    };
    EXPECT_EQ(labels.next(at(0)), "1.");
    EXPECT_EQ(labels.next(at(3)), "1.1.1.1.");
    EXPECT_EQ(labels.next(at(3)), "1.1.1.2.");
    EXPECT_EQ(labels.next(at(2)), "1.1.2.");
    EXPECT_EQ(labels.next(at(3)), "1.1.2.1.");
    EXPECT_EQ(labels.next(at(1)), "1.2.");
    EXPECT_EQ(labels.next(at(0)), "2.");
    EXPECT_EQ(labels.next(at(2)), "2.1.1.");
    // A level's start number is its first item's; 0 is a number like any other.
    ListLabels fresh;
    EXPECT_EQ(fresh.next(numbered(6, 0, NumberFormat::decimal, "%1.", 0)), "0.");
    EXPECT_EQ(fresh.next(numbered(6, 0, NumberFormat::decimal, "%1.", 0)), "1.");
    EXPECT_EQ(fresh.next(numbered(6, 1, NumberFormat::ganada, "%2)", 4)), "라)");
}

TEST(ListNumbering, SymbolFontBulletsBecomeTheirGlyphs) {
    EXPECT_EQ(bulletGlyph("\uF06C"), "\u25CF");  // Wingdings black circle
    EXPECT_EQ(bulletGlyph("\uF06E"), "\u25A0");  // Wingdings black square
    EXPECT_EQ(bulletGlyph("\uF0B7"), "\u2022");  // Symbol's bullet, Word's default
    EXPECT_EQ(bulletGlyph("\uF0FC"), "\u2713");
    EXPECT_EQ(bulletGlyph("\uF021"), "\u25CF");  // another symbol: still a visible bullet
    // Text that is no symbol-font code stays as it is.
    EXPECT_EQ(bulletGlyph("-"), "-");
    EXPECT_EQ(bulletGlyph("\u2192"), "\u2192");
    EXPECT_EQ(bulletGlyph("\uE000"), "\uE000");
    EXPECT_EQ(bulletGlyph("\uF06C\uF06C"), "\uF06C\uF06C");
    EXPECT_EQ(bulletGlyph(""), "");
}

std::string corpusText(const std::string& kind, const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(TAVRINO_CORPUS_DIR) / kind / name;
    if (!std::filesystem::exists(path)) return {};
    return documentText(readDocument(path));
}

// The corpus's paragraph-head samples: each paragraph names the number it shows.
TEST(ListNumbering, CorpusParagraphHeads) {
    const std::string hwpx = corpusText("hwpx", "ParaHead.hwpx");
    if (hwpx.empty()) GTEST_SKIP() << "no corpus";
    for (const char* line :
         {"\u25CF 글머리1-1\n", "\u25A0 글머리2-2\n", "3.1. 번호3-1\n", "4.1.2. 번호-4-1-2\n",
          "4.1.2.1. 번호-4-1-2-1\n", "1. 개요1\n", "다. 개요1-3\n", "2. 개요2\n", "1) 개요2-1-1\n"})
        EXPECT_NE(hwpx.find(line), std::string::npos) << line << "in\n" << hwpx;
    // The HWP sample's outline counts in lower-case Roman numerals, the section's choice;
    // its 가나다 list starts at 46, the fourth syllable of the third round.
    const std::string hwp = corpusText("hwp", "extracting_ParaHead.hwp");
    for (const char* line : {"i. 1\n", "iv. 4\n", "c. 100\n", "15. 16\n", "라. 1\n", "라. 16\n"})
        EXPECT_NE(hwp.find(line), std::string::npos) << line << "in\n" << hwp;
}

}  // namespace
}  // namespace tavrino::docs::test
