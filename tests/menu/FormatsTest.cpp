// The format vocabulary: extension parsing, normalisation and the classification of files.

#include <gtest/gtest.h>

#include "menu/Formats.h"
#include "menu/WheelItem.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

TEST(Formats, ExtensionsFoldAliasesWhileRawValuesAreExact) {
    EXPECT_EQ(fmtFromExtension("JPEG"), Fmt::jpg);
    EXPECT_EQ(fmtFromExtension("Tif"), Fmt::tiff);
    EXPECT_EQ(fmtFromExtension("heif"), Fmt::heic);
    EXPECT_EQ(fmtFromExtension("gif"), std::nullopt);
    EXPECT_EQ(fmtFromExtension(""), std::nullopt);
    EXPECT_EQ(fmtFromRawValue("jpeg"), std::nullopt);
    EXPECT_EQ(fmtFromRawValue("docx"), std::nullopt);
    EXPECT_EQ(fmtFromRawValue("tiff"), Fmt::tiff);
    EXPECT_EQ(docTargetFromRawValue("heic"), std::nullopt);
    EXPECT_EQ(docTargetFromRawValue("HWP"), std::nullopt);
    EXPECT_EQ(docTargetFromRawValue("hwp"), DocTarget::hwp);
}

TEST(Formats, NormalizedExtensionsCompareAcrossSpellings) {
    EXPECT_EQ(normalizedExtension("/x/a.JPEG"), "jpg");
    EXPECT_EQ(normalizedExtension("/x/a.TIF"), "tiff");
    EXPECT_EQ(normalizedExtension("/x/a.heif"), "heic");
    EXPECT_EQ(normalizedExtension("/x/a.TXT"), "txt");
    EXPECT_EQ(normalizedExtension("/x/README"), "");
    EXPECT_EQ(normalizedExtension("/x/archive.tar.GZ"), "gz");
}

TEST(Formats, DocumentTitlesAreUpperCasedExceptWord) {
    EXPECT_EQ(title(DocTarget::docx), "Word");
    EXPECT_EQ(title(DocTarget::hwpx), "HWPX");
    EXPECT_EQ(title(WheelItem{CommonItem{"docx"}}), "Word");
    EXPECT_EQ(title(WheelItem{CommonItem{"heic"}}), "HEIC");
    EXPECT_EQ(caption(WheelItem{CommonItem{"heic"}}), "고효율");
    EXPECT_EQ(caption(WheelItem{CommonItem{"pdf"}}), "제출·인쇄용") << "documents win over images";
    EXPECT_EQ(title(WheelItem{CommonItem{"webp"}}), "WEBP");
    EXPECT_EQ(caption(WheelItem{CommonItem{"webp"}}), "");
    EXPECT_EQ(symbol(WheelItem{CommonItem{"webp"}}), "doc");
}

TEST(Formats, FileKindsComeFromExtensionsThenContent) {
    test::TempDir dir;
    EXPECT_EQ(fileKind(dir / "a.DOCX"), FileKind::docx);
    EXPECT_EQ(fileKind(dir / "a.Hwp"), FileKind::hwp);
    EXPECT_EQ(fileKind(dir / "a.hwpx"), FileKind::hwpx);
    EXPECT_EQ(fileKind(dir / "a.pdf"), FileKind::pdf) << "missing files go by extension";
    EXPECT_EQ(fileKind(dir / "a.jpeg"), FileKind::image);
    EXPECT_EQ(fileKind(test::writeText(dir / "notes.txt", "hello")), FileKind::other);

    std::filesystem::create_directory(dir / "album.pdf");
    EXPECT_EQ(fileKind(dir / "album.pdf"), FileKind::other);

    // Decodable images without a format of their own count by their content.
    EXPECT_EQ(fileKind(test::writeImage(dir / "anim.gif")), FileKind::image);
    EXPECT_EQ(fileKind(test::writeImage(dir / "photo.webp")), FileKind::image);
    std::filesystem::copy_file(dir / "anim.gif", dir / "no-extension");
    EXPECT_EQ(fileKind(dir / "no-extension"), FileKind::image);
    std::filesystem::copy_file(dir / "anim.gif", dir / "brackets[1].dat");
    EXPECT_EQ(fileKind(dir / "brackets[1].dat"), FileKind::image);

    // PDF content under an unknown extension is a document, not a picture.
    test::writePDF(dir / "pages.bin");
    EXPECT_EQ(fileKind(dir / "pages.bin"), FileKind::other);
}

TEST(Formats, SameFormatKeepsTheFormatsToolsCanWrite) {
    EXPECT_EQ(sameFormat("a.JPEG"), (SameFormat{Fmt::jpg, "jpg"}));
    EXPECT_EQ(sameFormat("a.heif"), (SameFormat{Fmt::heic, "heic"}));
    EXPECT_EQ(sameFormat("a.tif"), (SameFormat{Fmt::tiff, "tiff"}));
    EXPECT_EQ(sameFormat("a.bmp"), (SameFormat{Fmt::bmp, "bmp"}));
    EXPECT_EQ(sameFormat("a.gif"), (SameFormat{Fmt::png, "png"}));
    EXPECT_EQ(sameFormat("a.pdf"), (SameFormat{Fmt::png, "png"}));
}

TEST(WheelItems, SpellingRoundTripsForEveryCandidate) {
    std::vector<WheelItem> all;
    for (Fmt f : allFmts)
        all.emplace_back(ConvertItem{f});
    for (Tool t : allTools)
        all.emplace_back(ToolItem{t});
    for (DocTarget t : allDocTargets) {
        all.emplace_back(DocumentItem{t});
        all.emplace_back(FromWordItem{t});
        all.emplace_back(CommonItem{std::string(rawValue(t))});
    }
    for (const WheelItem& item : all)
        EXPECT_EQ(parseWheelItem(spelling(item)), item);
    EXPECT_EQ(spelling(ToolItem{Tool::removeBackground}), "tool(removeBackground)");
}

TEST(WheelItems, MalformedSpellingsAreRejected) {
    for (const char* text :
         {"", "convert", "convert()", "convert(jpeg)", "convert(png", "tool(Rotate)",
          "document(heic)", "common()", "common((x))", "paint(png)", "convert(png)x"}) {
        EXPECT_EQ(parseWheelItem(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace tavrino
