// The summary of the dragged files: shared format, HWP extension, Word, sizes, skip details.

#include <gtest/gtest.h>

#include <fstream>

#include "drag/DragSummary.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

using Paths = std::vector<std::filesystem::path>;

TEST(DragSummary, SharedFormatIgnoresCaseButNotDifferences) {
    EXPECT_EQ(summarizeDrag({"/x/a.png", "/x/b.PNG"})->sourceFmt, Fmt::png);
    EXPECT_EQ(summarizeDrag({"/x/a.png", "/x/b.PNG", "/x/c.jpg"})->sourceFmt, std::nullopt);
    EXPECT_EQ(summarizeDrag({"/x/a.jpeg", "/x/b.JPG"})->sourceFmt, Fmt::jpg);
    EXPECT_EQ(summarizeDrag({"/x/a.txt"})->sourceFmt, std::nullopt);
}

TEST(DragSummary, HwpExtensionOnlyForHwpSets) {
    EXPECT_EQ(summarizeDrag({"/x/a.hwp", "/x/b.HWP"})->hwpExt, "hwp");
    EXPECT_EQ(summarizeDrag({"/x/a.hwp", "/x/b.hwpx"})->hwpExt, "");
    EXPECT_EQ(summarizeDrag({"/x/a.hwp", "/x/b.pdf"})->hwpExt, std::nullopt);
}

TEST(DragSummary, AllDocxNeedsEveryFile) {
    EXPECT_TRUE(summarizeDrag({"/x/a.docx", "/x/b.DOCX"})->allDocx);
    EXPECT_FALSE(summarizeDrag({"/x/a.docx", "/x/b.hwp"})->allDocx);
}

TEST(DragSummary, SizesCountFilesOnly) {
    test::TempDir dir;
    test::writeText(dir / "a.txt", std::string(1000, 'a'));
    test::writeText(dir / "b.txt", std::string(24, 'b'));
    std::filesystem::create_directory(dir / "folder");
    const auto info = summarizeDrag({dir / "a.txt", dir / "b.txt", dir / "folder", dir / "gone"});
    ASSERT_TRUE(info);
    EXPECT_EQ(info->totalBytes, 1024);
    EXPECT_EQ(info->paths.size(), 4u);
}

TEST(DragSummary, NoFilesNoSummary) {
    EXPECT_EQ(summarizeDrag({}), std::nullopt);
}

TEST(DragSummary, SkipDetailsNameExtensionsAndFolders) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "photos");
    EXPECT_EQ(skipDetails(summarizeDrag({dir / "a.TXT", dir / "photos", dir / "README"})),
              ".TXT,폴더,.");
    EXPECT_EQ(skipDetails(std::nullopt), "파일 정보 못 읽음");
}

}  // namespace
}  // namespace tavrino
