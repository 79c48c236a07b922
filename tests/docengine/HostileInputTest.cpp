// Hostile and broken input: every case ends in one DocumentError with a one-line message,
// never a crash and never a partial document.
#include <climits>

#include "Corpus.h"
#include "io/DocumentIO.h"
#include "io/Files.h"
#include "model/DocumentError.h"
#include "zip/ZipReader.h"
#include "zip/ZipWriter.h"

namespace tavrino::docs::test {
namespace {

constexpr const char* sectionStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><hs:sec "
    "xmlns:hs=\"http://www.hancom.co.kr/hwpml/2011/section\" "
    "xmlns:hp=\"http://www.hancom.co.kr/hwpml/2011/paragraph\">";

// A minimal HWPX whose parts can be replaced or left out.
std::string hwpx(std::map<std::string, std::string> replace = {}, std::set<std::string> omit = {}) {
    std::vector<std::pair<std::string, std::string>> parts{
        {"mimetype", "application/hwp+zip"},
        {"Contents/content.hpf",
         "<opf:package xmlns:opf=\"http://www.idpf.org/2007/opf/\"><opf:manifest>"
         "<opf:item id=\"header\" href=\"Contents/header.xml\"/>"
         "<opf:item id=\"section0\" href=\"Contents/section0.xml\"/></opf:manifest><opf:spine>"
         "<opf:itemref idref=\"header\"/><opf:itemref "
         "idref=\"section0\"/></opf:spine></opf:package>"},
        {"Contents/header.xml", "<hh:head xmlns:hh=\"http://www.hancom.co.kr/hwpml/2011/head\"/>"},
        {"Contents/section0.xml",
         std::string(sectionStart) + "<hp:p><hp:run><hp:t>안녕</hp:t></hp:run></hp:p></hs:sec>"}};
    ZipWriter zip;
    for (auto& [name, data] : parts) {
        if (omit.count(name)) continue;
        zip.add(name, replace.count(name) ? replace[name] : data);
    }
    for (auto& [name, data] : replace) {
        if (std::none_of(parts.begin(), parts.end(),
                         [&](const auto& p) { return p.first == name; })) {
            zip.add(name, data);
        }
    }
    return zip.finish();
}

// The message of the DocumentError that reading `bytes` raises; "" when it reads.
std::string refusal(const std::string& bytes) {
    try {
        readDocumentBytes(bytes);
    } catch (const DocumentError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        EXPECT_FALSE(message.empty());
        return message;
    }
    return {};
}

bool mentions(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

TEST(HostileInput, TheMinimalPackageReads) {
    const Document document = readDocumentBytes(hwpx());
    ASSERT_EQ(document.sections.size(), 1u);
    EXPECT_EQ(refusal(hwpx()), "");
}

TEST(HostileInput, UnsafeEntryNamesAreRefused) {
    for (const char* name : {"../evil.xml", "/etc/passwd", "a/../../b", "..\\win.ini", "C:/x"}) {
        EXPECT_TRUE(mentions(refusal(hwpx({{name, "x"}})), "안전하지 않음")) << name;
    }
    EXPECT_TRUE(isSafeEntryName("BinData/image1.png"));
    EXPECT_TRUE(isSafeEntryName("a..b/c"));
}

TEST(HostileInput, ExpansionPastTheLimitsIsRefused) {
    // Four megabytes of zeros deflate about a thousandfold: a bomb's signature.
    const std::string zeros(4u << 20, '\0');
    EXPECT_TRUE(mentions(refusal(hwpx({{"Contents/section0.xml", zeros}})), "압축 폭탄"));
    ZipWriter zip;
    zip.add("big.bin", std::string(70000, 'x'), Compression::stored);
    const std::string bytes = zip.finish();
    ZipLimits limits;
    limits.maxEntrySize = 65536;
    ZipReader reader(bytes, limits);
    EXPECT_THROW(reader.read("big.bin"), DocumentError);
}

// Sizes in a ZIP's headers are the file's own word: an entry whose headers claim a kilobyte
// but which inflates to megabytes of zeros is still a bomb.
TEST(HostileInput, ExpansionIsMeasuredNotTakenFromTheHeaders) {
    ZipWriter zip;
    zip.add("a.bin", std::string(8u << 20, '\0'));
    std::string bytes = zip.finish();
    auto claim = [&](size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
    };
    const size_t central = bytes.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    claim(22, 1000);            // the local header's uncompressed size
    claim(central + 24, 1000);  // the central directory's
    ZipReader reader(bytes);
    try {
        const std::string data = reader.read("a.bin");
        ADD_FAILURE() << "read " << data.size() << " bytes from " << bytes.size();
    } catch (const DocumentError& error) {
        EXPECT_TRUE(mentions(error.what(), "압축 폭탄")) << error.what();
    }
    // The same entry with honest headers and a ratio limit it keeps to still reads.
    ZipWriter honest;
    honest.add("a.bin", std::string(2u << 20, '\0'));
    const std::string plain = honest.finish();
    ZipLimits generous;
    generous.maxRatio = 100000;
    ZipReader lenient(plain, generous);
    EXPECT_EQ(lenient.read("a.bin").size(), 2u << 20);
}

TEST(HostileInput, DoctypeEntitiesAndDeepNestingAreRefused) {
    const std::string entity =
        std::string("<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaa\">]>") + sectionStart +
        "<hp:p><hp:run><hp:t>&a;</hp:t></hp:run></hp:p></hs:sec>";
    EXPECT_TRUE(mentions(refusal(hwpx({{"Contents/section0.xml", entity}})), "DOCTYPE"));
    std::string deep = sectionStart;
    for (int i = 0; i < 5000; ++i)
        deep += "<hp:p>";
    for (int i = 0; i < 5000; ++i)
        deep += "</hp:p>";
    deep += "</hs:sec>";
    EXPECT_TRUE(mentions(refusal(hwpx({{"Contents/section0.xml", deep}})), "깊게"));
    EXPECT_TRUE(mentions(refusal(hwpx({{"Contents/section0.xml", "<hs:sec><hp:p>"}})), "XML"));
}

TEST(HostileInput, MissingPartsAndWrongTypesAreRefused) {
    EXPECT_TRUE(mentions(refusal(hwpx({}, {"Contents/header.xml"})), "header.xml"));
    EXPECT_TRUE(mentions(refusal(hwpx({}, {"Contents/content.hpf"})), "content.hpf"));
    EXPECT_TRUE(mentions(refusal(hwpx({{"mimetype", "application/zip"}})), "mimetype"));
    ZipWriter docx;
    docx.add(
        "[Content_Types].xml",
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-"
        "officedocument.spreadsheetml.sheet.main+xml\"/></Types>");
    docx.add("word/document.xml", "<w:document/>");
    EXPECT_TRUE(mentions(refusal(docx.finish()), "Word 문서가 아님"));
    ZipWriter empty;
    empty.add("[Content_Types].xml",
              "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
    EXPECT_FALSE(refusal(empty.finish()).empty());
}

TEST(HostileInput, TruncatedAndForeignFilesAreRefused) {
    EXPECT_FALSE(refusal("").empty());
    EXPECT_FALSE(refusal("%PDF-1.7 not a document").empty());
    EXPECT_FALSE(refusal(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)).empty());
    std::vector<std::filesystem::path> files = corpusFiles("hwpx");
    const auto docx = corpusFiles("docx");
    files.insert(files.end(), docx.begin(), docx.end());
    for (const auto& file : files) {
        const std::string bytes = readFileBytes(file);
        for (const size_t keep : {bytes.size() / 2, bytes.size() - 30, size_t(100)}) {
            EXPECT_FALSE(refusal(bytes.substr(0, keep)).empty())
                << file.filename() << " cut at " << keep;
        }
    }
}

TEST(HostileInput, FoldersAndMissingFilesAreRefused) {
    TempDir dir;
    EXPECT_THROW(readDocument(dir.path()), DocumentError);
    EXPECT_THROW(readDocument(dir.path() / "absent.hwpx"), DocumentError);
}

// A file may declare margins and header distances near the ends of their range; Word's page
// margin is the sum of the two and must be that sum, not one wrapped around.
TEST(HostileInput, ExtremePageLengthsAreWrittenAsTheirTrueSums) {
    Document document;
    Section& section = document.sections.emplace_back();
    section.page.marginTop = INT32_MAX - 5;
    section.page.header = INT32_MAX - 5;
    section.page.marginBottom = INT32_MIN + 5;
    section.page.footer = INT32_MIN + 5;
    const std::string bytes = documentBytes(document, DocumentFormat::docx);
    ZipReader zip(bytes);
    const std::string body = zip.read("word/document.xml");
    EXPECT_TRUE(mentions(body, "w:top=\"858993456\"")) << body;
    EXPECT_TRUE(mentions(body, "w:bottom=\"-858993457\"")) << body;
}

}  // namespace
}  // namespace tavrino::docs::test
