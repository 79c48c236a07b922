// A column layout set again in mid-section (a multi-column break) continues on the same page:
// the model gives it a section of its own that starts without a new page, DOCX says so, and
// the Korean writers, which start every section on a new page, keep it in the one before.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "hwp5/ModelBuilder.h"
#include "io/DocumentIO.h"
#include "model/JoinSections.h"
#include "zip/ZipWriter.h"

namespace tavrino::docs {
namespace {

hwp5::Paragraph paragraph(const std::u16string& text, std::vector<hwp5::Control> controls = {}) {
    hwp5::Paragraph p;
    // An extended control character spans eight units: its code, six of parameters, its code.
    const std::u16string extended = u"\x0002......\x0002";
    for (std::size_t i = 0; i < controls.size(); ++i)
        p.text += extended;
    p.text += text + u"\r";
    p.controls = std::move(controls);
    return p;
}

hwp5::Control columns(int count) {
    return {0x636F6C64 /* "cold" */, hwp5::ColumnDef{count, 850, {}}};
}

std::string textOf(const Section& section) {
    std::string out;
    for (const Block& block : section.blocks) {
        for (const TextRun& run : std::get<Paragraph>(block.content).runs) {
            for (const Inline& item : run.content) {
                if (const auto* text = std::get_if<Text>(&item)) out += text->text;
            }
        }
    }
    return out;
}

TEST(ColumnLayout, AMidSectionColumnChangeStartsAContinuingSection) {
    hwp5::Hwp5File file;
    file.sections.push_back({paragraph(u"one", {columns(1)}), paragraph(u"two"),
                             paragraph(u"three", {columns(2)}), paragraph(u"four")});
    const Document document = hwp5::buildDocument(file);
    ASSERT_EQ(document.sections.size(), 2u);
    EXPECT_EQ(document.sections[0].start, SectionStart::newPage);
    EXPECT_EQ(document.sections[0].columns.count, 1);
    EXPECT_EQ(textOf(document.sections[0]), "onetwo");
    EXPECT_EQ(document.sections[1].start, SectionStart::continuous);
    EXPECT_EQ(document.sections[1].columns.count, 2);
    EXPECT_EQ(document.sections[1].page, document.sections[0].page);
    EXPECT_EQ(textOf(document.sections[1]), "threefour");
}

TEST(ColumnLayout, AnHwpxColumnChangeInMidSectionStartsAContinuingSection) {
    const auto paragraph = [](const std::string& text, int columns) {
        std::string p = "<hp:p><hp:run>";
        if (columns > 0) {
            p += "<hp:ctrl><hp:colPr type=\"NEWSPAPER\" colCount=\"" + std::to_string(columns) +
                 "\" sameGap=\"850\"/></hp:ctrl>";
        }
        return p + "<hp:t>" + text + "</hp:t></hp:run></hp:p>";
    };
    ZipWriter zip;
    zip.add("mimetype", "application/hwp+zip");
    zip.add("Contents/content.hpf",
            "<opf:package xmlns:opf=\"http://www.idpf.org/2007/opf/\"><opf:manifest>"
            "<opf:item id=\"header\" href=\"Contents/header.xml\"/>"
            "<opf:item id=\"section0\" href=\"Contents/section0.xml\"/></opf:manifest>"
            "<opf:spine><opf:itemref idref=\"header\"/><opf:itemref idref=\"section0\"/>"
            "</opf:spine></opf:package>");
    zip.add("Contents/header.xml",
            "<hh:head xmlns:hh=\"http://www.hancom.co.kr/hwpml/2011/head\"/>");
    zip.add("Contents/section0.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><hs:sec "
            "xmlns:hs=\"http://www.hancom.co.kr/hwpml/2011/section\" "
            "xmlns:hp=\"http://www.hancom.co.kr/hwpml/2011/paragraph\">" +
                paragraph("one", 1) + paragraph("two", 0) + paragraph("three", 3) +
                paragraph("four", 0) + "</hs:sec>");
    const Document document = readDocumentBytes(zip.finish());
    ASSERT_EQ(document.sections.size(), 2u);
    EXPECT_EQ(document.sections[0].columns.count, 1);
    EXPECT_EQ(textOf(document.sections[0]), "onetwo");
    EXPECT_EQ(document.sections[1].start, SectionStart::continuous);
    EXPECT_EQ(document.sections[1].columns.count, 3);
    EXPECT_EQ(textOf(document.sections[1]), "threefour");
}

TEST(ColumnLayout, SectionStartsSurviveDocxAndTheKoreanFormatsAddNoPage) {
    Document document;
    for (const auto& [start, text] :
         {std::pair{SectionStart::newPage, "첫"}, std::pair{SectionStart::continuous, "둘"},
          std::pair{SectionStart::oddPage, "셋"}}) {
        Section& section = document.sections.emplace_back();
        section.start = start;
        Paragraph p;
        p.runs.push_back(TextRun{{}, {Text{text}}});
        section.blocks.emplace_back(std::move(p));
    }
    document.sections[1].columns.count = 2;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tavrino-columns-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    writeDocument(document, folder / "a.docx", DocumentFormat::docx);
    writeDocument(document, folder / "a.hwp", DocumentFormat::hwp);
    writeDocument(document, folder / "a.hwpx", DocumentFormat::hwpx);
    const Document docx = readDocument(folder / "a.docx");
    const Document hwp = readDocument(folder / "a.hwp");
    const Document hwpx = readDocument(folder / "a.hwpx");
    std::filesystem::remove_all(folder);

    ASSERT_EQ(docx.sections.size(), 3u);
    EXPECT_EQ(docx.sections[0].start, SectionStart::newPage);
    EXPECT_EQ(docx.sections[1].start, SectionStart::continuous);
    EXPECT_EQ(docx.sections[1].columns.count, 2);
    EXPECT_EQ(docx.sections[2].start, SectionStart::oddPage);
    // The continuing section joins the first; the odd-page one stays a section of its own.
    for (const Document* korean : {&hwp, &hwpx}) {
        ASSERT_EQ(korean->sections.size(), 2u);
        EXPECT_EQ(textOf(korean->sections[0]), "첫둘");
        EXPECT_EQ(textOf(korean->sections[1]), "셋");
    }
}

TEST(ColumnLayout, ASectionWithRunningHeadsOfItsOwnIsNotJoined) {
    std::vector<Section> sections(3);
    sections[1].start = SectionStart::continuous;
    sections[2].start = SectionStart::newColumn;
    sections[2].footers.push_back({PageSide::odd, {}});
    const auto joined = joinContinuingSections(sections);
    ASSERT_TRUE(joined.has_value());
    ASSERT_EQ(joined->size(), 2u);
    EXPECT_EQ((*joined)[1].footers.size(), 1u);
    sections[1].start = SectionStart::evenPage;
    EXPECT_FALSE(joinContinuingSections(sections).has_value());
}

}  // namespace
}  // namespace tavrino::docs
