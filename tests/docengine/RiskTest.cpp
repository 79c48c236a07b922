// The breakage-risk analysis behind wordbridge "risk": each finding names something the
// conversion to the other family really loses or changes, so every code here is shown by
// converting a document that holds the construct and looking at the result.
#include <optional>
#include <regex>

#include "Corpus.h"
#include "convert/ConvertError.h"
#include "documents/ToolRunner.h"
#include "io/DocumentIO.h"
#include "io/Files.h"
#include "model/Walk.h"
#include "risk/RiskAnalysis.h"
#include "run/RiskCheck.h"
#include "text/TextExport.h"
#include "zip/ZipReader.h"
#include "zip/ZipWriter.h"

namespace tavrino::docs::test {
namespace {

namespace fs = std::filesystem;

fs::path corpus(const char* kind, const char* name) {
    return fs::path(TAVRINO_CORPUS_DIR) / kind / name;
}

// A minimal Word package around a body.
std::string docxWithBody(const std::string& body) {
    const std::string main =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\"><w:body>" +
        body + "<w:sectPr/></w:body></w:document>";
    ZipWriter zip;
    zip.add("[Content_Types].xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
            "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
            "Extension=\"rels\" "
            "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default "
            "Extension=\"xml\" ContentType=\"application/xml\"/><Override "
            "PartName=\"/word/document.xml\" "
            "ContentType=\"application/"
            "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>");
    zip.add("_rels/.rels",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
            "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
            "Id=\"rId1\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
            "officeDocument\" Target=\"word/document.xml\"/></Relationships>");
    zip.add("word/document.xml", main);
    return zip.finish();
}

std::string paragraph(const std::string& text) {
    return "<w:p><w:r><w:t>" + text + "</w:t></w:r></w:p>";
}

std::string cell(const std::string& content, int twips) {
    return "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(twips) + "\" w:type=\"dxa\"/></w:tcPr>" +
           content + "</w:tc>";
}

std::string table(const std::vector<int>& grid, const std::string& cells) {
    std::string xml = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid>";
    for (int width : grid)
        xml += "<w:gridCol w:w=\"" + std::to_string(width) + "\"/>";
    return xml + "</w:tblGrid><w:tr>" + cells + "</w:tr></w:tbl>";
}

// A copy, not a pointer: callers often search a list that is gone by the next line.
std::optional<Risk> findRisk(const std::vector<Risk>& risks, std::string_view code) {
    for (const Risk& risk : risks)
        if (risk.code == code) return risk;
    return std::nullopt;
}

std::vector<Risk> risksOf(const fs::path& file) {
    const LoadedDocument loaded = loadDocument(file);
    return conversionRisks(loaded.document, loaded.format);
}

// The document as the other family's reader sees it after our conversion.
Document convertedToOtherFamily(const LoadedDocument& loaded) {
    const DocumentFormat target =
        loaded.format == DocumentFormat::docx ? DocumentFormat::hwpx : DocumentFormat::docx;
    return readDocumentBytes(documentBytes(loaded.document, target));
}

std::string partOf(const std::string& package, std::string_view name) {
    ZipReader zip(package);
    return zip.read(name);
}

// The values of `attribute` on every `element` tag of an XML text, in order.
std::vector<int> attributeValues(const std::string& xml, const std::string& element,
                                 const std::string& attribute) {
    std::vector<int> values;
    const std::regex tag("<" + element + " [^>]*\\b" + attribute + "=\"(-?[0-9]+)\"");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), tag); it != std::sregex_iterator();
         ++it)
        values.push_back(std::stoi((*it)[1]));
    return values;
}

class Risks : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(corpus("hwpx", "SimpleEquation.hwpx"))) {
            GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
        }
    }
    TempDir work;

    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path file = work.path() / name;
        writeFileAtomically(file, bytes);
        return file;
    }
};

// A plain document converts faithfully, whichever way it goes: no finding at all.
TEST_F(Risks, PlainDocumentsHaveNone) {
    EXPECT_TRUE(risksOf(corpus("docx", "par-alignment.docx")).empty());
    EXPECT_TRUE(risksOf(corpus("docx", "tbl-2x2-table.docx")).empty());
    EXPECT_TRUE(risksOf(corpus("hwpx", "SimpleTable.hwpx")).empty());
    EXPECT_TRUE(risksOf(corpus("hwp", "merging-cell.hwp")).empty());
}

// Word fits a nested table into its cell; HWPX keeps the inner table at its own width, so
// an inner table wider than its cell sticks out of it after the conversion.
TEST_F(Risks, NestedTableInWordKeepsItsWidthInHwpx) {
    const std::string inner =
        table({3000, 3000}, cell(paragraph("안1"), 3000) + cell(paragraph("안2"), 3000));
    const std::string outer =
        table({4000, 4000},
              cell(paragraph("밖1") + inner + paragraph(""), 4000) + cell(paragraph("밖2"), 4000));
    const fs::path source = write("nested.docx", docxWithBody(paragraph("앞") + outer));
    const LoadedDocument loaded = loadDocument(source);
    const std::vector<Risk> risks = conversionRisks(loaded.document, loaded.format);
    const std::optional<Risk> nested = findRisk(risks, "nestedTable");
    ASSERT_TRUE(nested.has_value());
    EXPECT_EQ(nested->count, 1);
    EXPECT_EQ(nested->message, "표 안에 표가 1개 있어 모양이 바뀔 수 있음");

    const std::string section =
        partOf(documentBytes(loaded.document, DocumentFormat::hwpx), "Contents/section0.xml");
    const std::vector<int> tableWidths = attributeValues(section, "hp:sz", "width");
    const std::vector<int> cellWidths = attributeValues(section, "hp:cellSz", "width");
    ASSERT_EQ(tableWidths.size(), 2u);
    ASSERT_FALSE(cellWidths.empty());
    // The inner table is written before the outer cells close; the first outer cell is the
    // last-but-one cell size in the part.
    const int outerCell = cellWidths[cellWidths.size() - 2];
    EXPECT_GT(tableWidths[1], outerCell) << "the inner table no longer fits its cell";

    // One table alone is not nested, and converts without a finding.
    EXPECT_TRUE(risksOf(write("flat.docx", docxWithBody(inner))).empty());
}

// An equation of Word's is read as its bare text: a fraction a/b arrives in HWPX as "ab".
TEST_F(Risks, WordEquationLosesItsStructure) {
    const std::string math =
        "<w:p><m:oMath><m:f><m:num><m:r><m:t>a</m:t></m:r></m:num><m:den><m:r><m:t>b</m:t>"
        "</m:r></m:den></m:f></m:oMath></w:p>";
    const fs::path source = write("math.docx", docxWithBody(math));
    const LoadedDocument loaded = loadDocument(source);
    const std::optional<Risk> equation =
        findRisk(conversionRisks(loaded.document, loaded.format), "equation");
    ASSERT_TRUE(equation.has_value());
    EXPECT_EQ(equation->count, 1);
    const std::string section =
        partOf(documentBytes(loaded.document, DocumentFormat::hwpx), "Contents/section0.xml");
    EXPECT_NE(section.find("<hp:script>ab</hp:script>"), std::string::npos)
        << "the fraction should have become a plain script";
}

// An HWP equation reaches Word as the editor's script text inside the math zone, not as a
// built formula.
TEST_F(Risks, HwpEquationReachesWordAsItsScript) {
    const LoadedDocument loaded = loadDocument(corpus("hwpx", "SimpleEquation.hwpx"));
    const std::optional<Risk> equation =
        findRisk(conversionRisks(loaded.document, loaded.format), "equation");
    ASSERT_TRUE(equation.has_value());
    std::string script;
    walk(loaded.document.sections.front().blocks,
         {[&](const Paragraph& p) {
              for (const TextRun& run : p.runs)
                  for (const Inline& item : run.content)
                      if (const auto* e = std::get_if<Equation>(&item)) script = e->script;
          },
          {}});
    ASSERT_FALSE(script.empty());
    const std::string body =
        partOf(documentBytes(loaded.document, DocumentFormat::docx), "word/document.xml");
    EXPECT_EQ(body.find("<m:f>"), std::string::npos);
    EXPECT_EQ(body.find("<m:sSup>"), std::string::npos);
    EXPECT_NE(body.find("<m:t>" + script.substr(0, 8)), std::string::npos) << body.substr(0, 400);
}

// OWPML has no header or footer for the first page only: they are gone after conversion.
TEST_F(Risks, FirstPageHeadersAreLostInHwpx) {
    const LoadedDocument loaded = loadDocument(corpus("docx", "doc-add-section.docx"));
    const std::optional<Risk> first =
        findRisk(conversionRisks(loaded.document, loaded.format), "firstPageHeader");
    ASSERT_TRUE(first.has_value());
    int before = 0;
    for (const Section& section : loaded.document.sections)
        for (const auto* heads : {&section.headers, &section.footers})
            for (const HeaderFooter& running : *heads)
                before += running.side == PageSide::first;
    EXPECT_EQ(first->count, before);
    int after = 0;
    for (const Section& section : convertedToOtherFamily(loaded).sections)
        for (const auto* heads : {&section.headers, &section.footers})
            for (const HeaderFooter& running : *heads)
                after += running.side == PageSide::first;
    EXPECT_GT(before, 0);
    EXPECT_EQ(after, 0);
}

// Drawings other than text boxes do not reach Word; floating pictures keep their place.
TEST_F(Risks, HwpDrawingsChangeInWordAndFloatingPicturesStayPut) {
    const LoadedDocument ellipse = loadDocument(corpus("hwpx", "SimpleEllipse.hwpx"));
    const std::vector<Risk> risks = conversionRisks(ellipse.document, ellipse.format);
    ASSERT_TRUE(findRisk(risks, "drawing").has_value());
    EXPECT_GT(statistics(ellipse.document).shapes, 0);
    const Document word = convertedToOtherFamily(ellipse);
    EXPECT_LT(statistics(word).shapes, statistics(ellipse.document).shapes);

    // A floating picture keeps its place in Word, so it is no risk; what is written is the
    // placement the source gave it.
    const LoadedDocument picture = loadDocument(corpus("hwpx", "SimplePicture.hwpx"));
    EXPECT_FALSE(
        findRisk(conversionRisks(picture.document, picture.format), "floatingObject").has_value());
    std::vector<Picture> before, after;
    auto collect = [](const Document& document, std::vector<Picture>& into) {
        for (const Section& section : document.sections)
            walk(section.blocks, {[&](const Paragraph& p) {
                                      for (const TextRun& run : p.runs)
                                          for (const Inline& item : run.content)
                                              if (const auto* pic = std::get_if<Picture>(&item))
                                                  into.push_back(*pic);
                                  },
                                  {}});
    };
    collect(picture.document, before);
    collect(convertedToOtherFamily(picture), after);
    ASSERT_EQ(before.size(), 1u);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_FALSE(after[0].inlineWithText);
    EXPECT_EQ(after[0].placement, before[0].placement);
}

// Word allows neither a text box inside a text box nor a note inside one: the inner box's
// text moves out after the outer box, and the note disappears.
TEST_F(Risks, TextBoxesInsideTextBoxesAndTheirNotesChangeInWord) {
    const LoadedDocument boxes = loadDocument(corpus("hwpx", "RectInRect.hwpx"));
    const std::optional<Risk> nested =
        findRisk(conversionRisks(boxes.document, boxes.format), "nestedTextBox");
    ASSERT_TRUE(nested.has_value());
    EXPECT_LT(statistics(convertedToOtherFamily(boxes)).shapes, statistics(boxes.document).shapes);

    Document withNote;
    Section section;
    Paragraph inBox;
    inBox.runs.push_back(
        TextRun{{},
                {Text{"상자 글"},
                 Note{NoteKind::footnote, {Block{Paragraph{{}, {TextRun{{}, {Text{"주석"}}}}}}}}}});
    Shape box;
    box.blocks.push_back(Block{inBox});
    Paragraph anchor;
    anchor.runs.push_back(TextRun{{}, {Text{"앞"}, box}});
    section.blocks.push_back(Block{anchor});
    withNote.sections.push_back(section);
    const Document hwpx = readDocumentBytes(documentBytes(withNote, DocumentFormat::hwpx));
    const std::optional<Risk> note =
        findRisk(conversionRisks(hwpx, DocumentFormat::hwpx), "noteInTextBox");
    ASSERT_TRUE(note.has_value());
    EXPECT_EQ(statistics(hwpx).notes, 1);
    const Document word = readDocumentBytes(documentBytes(hwpx, DocumentFormat::docx));
    EXPECT_EQ(statistics(word).notes, 0);
    EXPECT_EQ(documentText(word).find("주석"), std::string::npos);
}

// Click-here fields, dates and the like reach Word as their visible text only.
TEST_F(Risks, HwpFieldsBecomePlainTextInWord) {
    const LoadedDocument loaded = loadDocument(corpus("hwp", "finding-all-field.hwp"));
    const std::optional<Risk> field =
        findRisk(conversionRisks(loaded.document, loaded.format), "field");
    ASSERT_TRUE(field.has_value());
    const auto fieldsIn = [](const Document& document) {
        int count = 0;
        for (const Section& section : document.sections)
            walk(section.blocks, {[&](const Paragraph& p) {
                                      for (const TextRun& run : p.runs)
                                          for (const Inline& item : run.content)
                                              count += std::holds_alternative<FieldStart>(item);
                                  },
                                  {}});
        return count;
    };
    EXPECT_EQ(fieldsIn(loaded.document), field->count);
    EXPECT_EQ(fieldsIn(convertedToOtherFamily(loaded)), 0);
    EXPECT_EQ(documentText(convertedToOtherFamily(loaded)), documentText(loaded.document))
        << "their text stays";
}

// What a reader could not carry is reported with a sentence, and is really absent after the
// conversion: the comment's words and the tracked deletion are gone.
TEST_F(Risks, WhatTheReaderDroppedIsMissingAfterConversion) {
    const LoadedDocument comments = loadDocument(corpus("docx", "comments-rich-para.docx"));
    const std::optional<Risk> comment =
        findRisk(conversionRisks(comments.document, comments.format), "comment");
    ASSERT_TRUE(comment.has_value());
    EXPECT_EQ(comment->message, "메모 " + std::to_string(comment->count) + "개는 옮겨지지 않음");
    const std::string hwpx = documentBytes(comments.document, DocumentFormat::hwpx);
    EXPECT_EQ(partOf(hwpx, "Contents/section0.xml").find("hiddenComment"), std::string::npos);
    EXPECT_EQ(readDocumentBytes(hwpx).dropped.counts.count("comment"), 0u);

    const LoadedDocument tracked = loadDocument(corpus("hwpx", "ChangeTrack.hwpx"));
    const std::optional<Risk> change =
        findRisk(conversionRisks(tracked.document, tracked.format), "trackChange");
    ASSERT_TRUE(change.has_value());
    const std::string body =
        partOf(documentBytes(tracked.document, DocumentFormat::docx), "word/document.xml");
    EXPECT_EQ(body.find("<w:ins"), std::string::npos);
    EXPECT_EQ(body.find("<w:del"), std::string::npos);

    // Every corpus document: whatever the reader dropped, the other family's reader finds no
    // trace of it in our converted file.
    for (const char* kind : {"docx", "hwp", "hwpx"}) {
        for (const fs::path& file : corpusFiles(kind)) {
            const LoadedDocument loaded = loadDocument(file);
            if (loaded.document.dropped.counts.empty()) continue;
            const Document converted = convertedToOtherFamily(loaded);
            EXPECT_EQ(converted.dropped.total(), 0) << file.filename();
        }
    }
}

// Forms controls of HWPX and codes nobody has named yet still get a readable sentence.
TEST_F(Risks, EveryDroppedCodeGetsASentence) {
    Document document;
    document.dropped.add("checkBtn", 2);
    document.dropped.add("newThing");
    const std::vector<Risk> risks = conversionRisks(document, DocumentFormat::hwpx);
    ASSERT_EQ(risks.size(), 2u);
    EXPECT_EQ(risks[0], (Risk{"checkBtn", 2, "선택 상자 2개는 옮겨지지 않음"}));
    EXPECT_EQ(risks[1], (Risk{"newThing", 1, "옮길 수 없는 요소(newThing) 1개는 빠짐"}));
}

// The reply is read by the application's own parser, whatever the messages hold.
TEST_F(Risks, TheJsonLineReadsBackInTheApplication) {
    const std::vector<Risk> risks{{"a\"b", 2, "따옴표 \" 와 \\ 그리고\n줄"}, {"c", 1, "표"}};
    const std::string line = risksJson(risks);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    const std::vector<DocRisk> read = parseRiskReply("진행 중\n" + line + "\n");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0], (DocRisk{"a\"b", 2, "따옴표 \" 와 \\ 그리고\n줄"}));
    EXPECT_EQ(read[1], (DocRisk{"c", 1, "표"}));
    EXPECT_TRUE(parseRiskReply(risksJson({})).empty());
}

// The tool itself, as the application calls it.
TEST_F(Risks, WordbridgeRiskAnswersWithOneJsonLine) {
    const std::string exe = (fs::path(TAVRINO_TOOLS_DIR) / "wordbridge").string();
    const std::string output =
        runTool(exe, "Word 변환(wordbridge)", {"risk", corpus("hwpx", "SimpleEquation.hwpx")});
    const std::vector<DocRisk> read = parseRiskReply(output);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].code, "equation");
    const fs::path broken = write("broken.docx", "PK no zip");
    EXPECT_THROW(runTool(exe, "Word 변환(wordbridge)", {"risk", broken.string()}), ConvertError);
}

}  // namespace
}  // namespace tavrino::docs::test
