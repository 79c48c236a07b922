// The metadata tool on Word and HWPX packages, judged by reading the result independently:
// unzip for the parts and the order of entries, exiftool for what other programs see.
#include <gtest/gtest.h>

#include "convert/ConvertError.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/Process.h"
#include "support/ScopedEnv.h"
#include "support/TestFiles.h"
#include "tools/MetadataStrip.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

const std::string coreXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<cp:coreProperties "
    "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
    "<dc:title>분기 보고</dc:title><dc:creator>김철수</dc:creator>"
    "<cp:lastModifiedBy>이영희</cp:lastModifiedBy>"
    "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2024-03-01T09:41:07Z</dcterms:created>"
    "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">2024-03-02T10:00:00Z</dcterms:modified>"
    "<dc:language>ko-KR</dc:language></cp:coreProperties>";

const std::string appXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Properties "
    "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
    "<Company>코르반타</Company><Pages>1</Pages></Properties>";

const std::string documentXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:body><w:p><w:r><w:t>매출 보고</w:t></w:r></w:p>"
    "<w:p><w:ins w:id=\"1\" w:author=\"김철수\" w:date=\"2024-03-01T09:41:07Z\"><w:r><w:t>추가"
    "</w:t></w:r></w:ins></w:p><w:sectPr/></w:body></w:document>";

const std::string plainDocumentXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:body><w:p><w:r><w:t>매출 보고</w:t></w:r></w:p><w:sectPr/></w:body></w:document>";

const std::string contentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
    "Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Override "
    "PartName=\"/word/document.xml\" "
    "ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "</Types>";

const std::string rootRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
    "Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

// Packs the files of `parts` (name, text) with the system's zip into `package`.
void zipParts(const fs::path& package,
              const std::vector<std::pair<std::string, std::string>>& parts) {
    TempDir staging;
    std::vector<std::string> argv{"/usr/bin/zip", "-q", "-X", package.string()};
    for (const auto& [name, text] : parts) {
        fs::create_directories((staging.path() / name).parent_path());
        writeBytes(staging.path() / name, text);
        argv.push_back(name);
    }
    const fs::path previous = fs::current_path();
    fs::current_path(staging.path());
    const ProcessResult result = runProgram(argv);
    fs::current_path(previous);
    ASSERT_EQ(result.status, 0) << result.err;
}

std::string part(const fs::path& package, const std::string& name) {
    return runProgram({"/usr/bin/unzip", "-p", package.string(), name}).out;
}

// The work folders of conversions and tools left in `folder`.
std::vector<std::string> workFoldersIn(const fs::path& folder) {
    std::vector<std::string> found;
    for (const std::string& name : namesIn(folder))
        if (name.starts_with("zt-hwp-")) found.push_back(name);
    return found;
}

class StripDocument : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!haveProgram("unzip") || !haveProgram("zip")) GTEST_SKIP() << "zip/unzip";
    }
    TempDir folder;
    TempDir scratch;
    // Work folders go to a temporary directory of the test's own, so a leftover shows.
    ScopedEnv tmp{"TMPDIR", scratch.path().string()};

    fs::path wordDocument(const std::string& name, const std::string& body = documentXml) {
        const fs::path source = folder / name;
        zipParts(source, {{"[Content_Types].xml", contentTypes},
                          {"_rels/.rels", rootRels},
                          {"word/document.xml", body},
                          {"docProps/core.xml", coreXml},
                          {"docProps/app.xml", appXml}});
        return source;
    }
};

// Author, editor, both dates, title and company go; the body keeps every byte except the
// tracked change's author (emptied) and date (removed); no custom part is fine.
TEST_F(StripDocument, WordLosesPeopleDatesTitleAndCompany) {
    const fs::path source = wordDocument("report.docx", plainDocumentXml);
    const std::string before = readBytes(source);
    const ToolResult result = stripDocumentInfo(source, FileKind::docx);
    EXPECT_EQ(result.output, folder / "report 정보삭제.docx");
    EXPECT_EQ(result.note, "정보 6개 지움");
    EXPECT_EQ(readBytes(source), before);
    const std::string core = part(result.output, "docProps/core.xml");
    for (const char* gone : {"김철수", "이영희", "2024-03", "분기 보고"})
        EXPECT_EQ(core.find(gone), std::string::npos) << gone;
    EXPECT_NE(core.find("<dc:language>ko-KR</dc:language>"), std::string::npos);
    EXPECT_EQ(part(result.output, "docProps/app.xml").find("코르반타"), std::string::npos);
    EXPECT_EQ(part(result.output, "word/document.xml"), plainDocumentXml);
    if (haveProgram("exiftool")) {
        const std::string seen = runProgram({"exiftool", result.output.string()}).out;
        for (const char* gone : {"김철수", "이영희", "코르반타", "2024:03"})
            EXPECT_EQ(seen.find(gone), std::string::npos) << gone << "\n" << seen;
    }
    EXPECT_TRUE(workFoldersIn(scratch.path()).empty()) << "the work folder is removed";

    // Again on the stripped copy: nothing left, still a new file; the source twice counts up.
    const ToolResult again = stripDocumentInfo(result.output, FileKind::docx);
    EXPECT_EQ(again.note, "지울 정보 없음");
    EXPECT_EQ(stripDocumentInfo(source, FileKind::docx).output, folder / "report 정보삭제 2.docx");
}

TEST_F(StripDocument, TrackedChangesAndCommentsLoseTheirAuthors) {
    const fs::path source = wordDocument("tracked.docx");
    const ToolResult result = stripDocumentInfo(source, FileKind::docx);
    const std::string body = part(result.output, "word/document.xml");
    EXPECT_EQ(body.find("김철수"), std::string::npos);
    EXPECT_EQ(body.find("w:date"), std::string::npos);
    EXPECT_NE(body.find("<w:ins w:id=\"1\" w:author=\"\">"), std::string::npos) << body;
    EXPECT_EQ(result.note, "정보 8개 지움");

    const fs::path comments = corpusFile("docx/comments-rich-para.docx");
    if (!fs::exists(comments)) return;
    fs::copy_file(comments, folder / "comments.docx");
    const ToolResult stripped = stripDocumentInfo(folder / "comments.docx", FileKind::docx);
    const std::string kept = part(stripped.output, "word/comments.xml");
    EXPECT_EQ(kept.find("Steve Canny"), std::string::npos);
    EXPECT_EQ(kept.find("w:date="), std::string::npos);
    EXPECT_EQ(part(stripped.output, "word/document.xml"),
              part(folder / "comments.docx", "word/document.xml"));
}

// The HWPX entries keep their elements with empty values, the track-change author is
// anonymous, and the package starts with its stored mimetype as readers require.
TEST_F(StripDocument, HwpxEmptiesItsEntriesAndKeepsMimetypeFirstAndStored) {
    const fs::path corpus = corpusFile("hwpx/ChangeTrack.hwpx");
    if (!fs::exists(corpus)) GTEST_SKIP() << "no corpus";
    const fs::path source = folder / "변경.hwpx";
    fs::copy_file(corpus, source);
    const ToolResult result = stripDocumentInfo(source, FileKind::hwpx);
    EXPECT_EQ(result.output, folder / "변경 정보삭제.hwpx");
    EXPECT_EQ(result.note, "정보 7개 지움");
    const std::string hpf = part(result.output, "Contents/content.hpf");
    EXPECT_NE(hpf.find("<opf:title/>"), std::string::npos);
    EXPECT_NE(hpf.find("<opf:meta name=\"creator\" content=\"text\"/>"), std::string::npos);
    for (const char* gone : {"fff", "2023-02-07", "2023년"})
        EXPECT_EQ(hpf.find(gone), std::string::npos) << gone;
    EXPECT_NE(part(result.output, "Contents/header.xml").find("<hh:trackChangeAuthor name=\"\""),
              std::string::npos);
    EXPECT_EQ(part(result.output, "Contents/section0.xml"), part(source, "Contents/section0.xml"));

    const std::string bytes = readBytes(result.output);
    ASSERT_GT(bytes.size(), 38u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("PK\x03\x04", 4));
    EXPECT_EQ(bytes[8], 0) << "stored";
    EXPECT_EQ(bytes[9], 0);
    EXPECT_EQ(bytes.substr(30, 8), "mimetype");
    EXPECT_EQ(stripDocumentInfo(result.output, FileKind::hwpx).note, "지울 정보 없음");
}

// Broken packages, packages wordbridge cannot open and packages with links all fail without
// a file beside the source or a work folder left behind.
TEST_F(StripDocument, FailuresLeaveNothingBehind) {
    writeBytes(folder / "broken.docx", "not a zip");
    EXPECT_TRUE(errorOf([&] {
                    stripDocumentInfo(folder / "broken.docx", FileKind::docx);
                }).starts_with("unzip 실패("));

    zipParts(folder / "other.docx", {{"readme.txt", "hello"}});
    EXPECT_TRUE(
        errorOf([&] {
            stripDocumentInfo(folder / "other.docx", FileKind::docx);
        }).starts_with("정보를 지운 파일을 다시 열지 못해 내놓지 않음 — Word 변환(wordbridge) "))
        << errorOf([&] { stripDocumentInfo(folder / "other.docx", FileKind::docx); });

    // A package whose core part is a link to a file outside must not have that file edited
    // or packed.
    TempDir outside;
    writeBytes(outside / "secret.xml", coreXml);
    TempDir staging;
    fs::create_directories(staging / "docProps");
    fs::create_symlink(outside / "secret.xml", staging / "docProps/core.xml");
    writeBytes(staging / "[Content_Types].xml", contentTypes);
    const fs::path linked = folder / "linked.docx";
    const fs::path previous = fs::current_path();
    fs::current_path(staging.path());
    const ProcessResult packed = runProgram(
        {"/usr/bin/zip", "-q", "-y", "-r", linked.string(), "[Content_Types].xml", "docProps"});
    fs::current_path(previous);
    ASSERT_EQ(packed.status, 0) << packed.err;
    EXPECT_TRUE(errorOf([&] {
                    stripDocumentInfo(linked, FileKind::docx);
                }).starts_with("정보 삭제 실패: 문서 안에 파일이 아닌 항목이 있음"));
    EXPECT_EQ(readBytes(outside / "secret.xml"), coreXml);

    EXPECT_EQ(namesIn(folder.path()),
              (std::vector<std::string>{"broken.docx", "linked.docx", "other.docx"}));
    EXPECT_TRUE(workFoldersIn(scratch.path()).empty());
}

}  // namespace
