// Line spacing as the DOCX writer states it: the Korean percent becomes the pitch it stands
// for, Word's own multiple survives a round trip.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "docx/DocxLineSpacing.h"
#include "io/DocumentIO.h"

namespace tavrino::docs {
namespace {

TextRun textRun(const std::string& text, std::int32_t size = 1000) {
    TextRun run;
    run.props.size = size;
    if (!text.empty()) run.content.emplace_back(Text{text});
    return run;
}

Paragraph paragraph(LineSpacingRule rule, std::int32_t value, std::vector<TextRun> runs) {
    Paragraph p;
    p.props.lineSpacing = {rule, value};
    p.runs = std::move(runs);
    return p;
}

TEST(DocxLineSpacing, AKoreanPercentIsAPitchOfTheLargestCharacter) {
    // 10 pt at 160 %: a 16 pt pitch, 320 twips.
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::percent, 160, {textRun("본문")})),
              (DocxLineSpacing{320, "exact"}));
    // The line is set by its largest character, not by the first run.
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::percent, 130,
                                        {textRun("작은", 900), textRun("제목", 2000)})),
              (DocxLineSpacing{520, "exact"}));
    // An empty run of a larger size shows nothing and does not widen the line.
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::percent, 100,
                                        {textRun("글", 1000), textRun("", 3000)})),
              (DocxLineSpacing{200, "exact"}));
    // An empty paragraph is as tall as its mark; no size at all is the 10 pt default.
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::percent, 160, {textRun("", 1200)})),
              (DocxLineSpacing{384, "exact"}));
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::percent, 160, {textRun("가", 0)})),
              (DocxLineSpacing{320, "exact"}));
    // Spacing only: the text plus the gap.
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::between, 500, {textRun("가")})),
              (DocxLineSpacing{300, "exact"}));
}

TEST(DocxLineSpacing, ALineHoldingAnInlineObjectMayGrowPastThePitch) {
    Paragraph p = paragraph(LineSpacingRule::percent, 160, {textRun("그림")});
    p.runs[0].content.emplace_back(Picture{0, 20000, 20000, true, "", {}, {}});
    EXPECT_EQ(docxLineSpacing(p), (DocxLineSpacing{320, "atLeast"}));
    // A floating picture stands outside the line.
    std::get<Picture>(p.runs[0].content.back()).inlineWithText = false;
    EXPECT_EQ(docxLineSpacing(p), (DocxLineSpacing{320, "exact"}));
    p.runs[0].content.emplace_back(Equation{"a over b", 1000, 3000, 3000});
    EXPECT_EQ(docxLineSpacing(p), (DocxLineSpacing{320, "atLeast"}));
}

TEST(DocxLineSpacing, LengthsAndWordMultiplesPassThroughAndNothingOverflows) {
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::exact, 1800, {textRun("가")})),
              (DocxLineSpacing{360, "exact"}));
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::atLeast, 1800, {textRun("가")})),
              (DocxLineSpacing{360, "atLeast"}));
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::multiple, 115, {textRun("a")})),
              (DocxLineSpacing{276, "auto"}));
    EXPECT_EQ(docxLineSpacing(paragraph(LineSpacingRule::percent, 0, {textRun("a")})),
              std::nullopt);
    // A hostile file's sizes and percentages stay a positive length.
    const auto huge =
        docxLineSpacing(paragraph(LineSpacingRule::percent, INT32_MAX, {textRun("가", INT32_MAX)}));
    ASSERT_TRUE(huge.has_value());
    EXPECT_GT(huge->line, 0);
}

TEST(DocxLineSpacing, AWordDocumentsOwnSpacingSurvivesARoundTrip) {
    Document document;
    Section& section = document.sections.emplace_back();
    section.blocks.emplace_back(paragraph(LineSpacingRule::multiple, 115, {textRun("Word")}));
    section.blocks.emplace_back(paragraph(LineSpacingRule::percent, 160, {textRun("한글")}));
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("tavrino-spacing-" + std::to_string(::getpid()) + ".docx");
    writeDocument(document, path, DocumentFormat::docx);
    const Document back = readDocument(path);
    std::filesystem::remove(path);
    ASSERT_EQ(back.sections.size(), 1u);
    ASSERT_GE(back.sections[0].blocks.size(), 2u);
    const auto& word = std::get<Paragraph>(back.sections[0].blocks[0].content);
    EXPECT_EQ(word.props.lineSpacing, (LineSpacing{LineSpacingRule::multiple, 115}));
    // The Korean percent comes back as the pitch it was set on.
    const auto& korean = std::get<Paragraph>(back.sections[0].blocks[1].content);
    EXPECT_EQ(korean.props.lineSpacing, (LineSpacing{LineSpacingRule::exact, 1600}));
}

}  // namespace
}  // namespace tavrino::docs
