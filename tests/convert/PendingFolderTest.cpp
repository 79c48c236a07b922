#include "convert/PendingFolder.h"

#include <gtest/gtest.h>

#include "convert/ConvertError.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

TEST(PendingFolderTest, PagesAppearUnderTheFinalNameOnlyWhenComplete) {
    TempDir folder;
    const fs::path source = folder / "scan.pdf";
    std::optional<PendingFolder> pending(imageFolderName(source));
    writeBytes(pending->path() / "scan 1.png", "page");
    EXPECT_TRUE(pending->path().filename().string().starts_with(".scan 이미지-"));
    EXPECT_FALSE(fs::exists(folder / "scan 이미지")) << "nothing final before place()";
    const fs::path placed = pending->place();
    EXPECT_EQ(placed, folder / "scan 이미지");
    EXPECT_EQ(readBytes(placed / "scan 1.png"), "page");
    pending.reset();
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"scan 이미지"}));
}

TEST(PendingFolderTest, AnAbandonedFolderLeavesNothing) {
    TempDir folder;
    {
        PendingFolder pending(imageFolderName(folder / "scan.pdf"));
        writeBytes(pending.path() / "scan 1.png", "half of it");
    }
    EXPECT_TRUE(namesIn(folder.path()).empty());
}

TEST(PendingFolderTest, TakenNamesAreNeverReplaced) {
    TempDir folder;
    fs::create_directory(folder / "scan 이미지");
    writeBytes(folder / "scan 이미지" / "mine.txt", "the user's");
    writeBytes(folder / "scan 이미지 2", "a file by that name");
    fs::create_directory(folder / "scan 이미지 3");  // empty: still taken
    PendingFolder first(imageFolderName(folder / "scan.pdf"));
    PendingFolder second(imageFolderName(folder / "scan.tif"));
    EXPECT_EQ(first.place(), folder / "scan 이미지 4");
    EXPECT_EQ(second.place(), folder / "scan 이미지 5");
    EXPECT_EQ(readBytes(folder / "scan 이미지" / "mine.txt"), "the user's");
    EXPECT_EQ(readBytes(folder / "scan 이미지 2"), "a file by that name");
    EXPECT_TRUE(fs::is_empty(folder / "scan 이미지 3"));
}

TEST(PendingFolderTest, AFolderThatTakesNothingFailsClearly) {
    TempDir folder;
    try {
        PendingFolder pending(imageFolderName(folder / "missing" / "scan.pdf"));
        FAIL() << "a folder appeared in a missing folder";
    } catch (const ConvertError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("파일 저장 실패: ", 0), 0u) << error.what();
    }
}

}  // namespace
