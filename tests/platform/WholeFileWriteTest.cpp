// Writing a whole file through a temporary name: replaced in one step, permissions set
// before it appears, and a failed write leaves neither the file nor its temporary.

#include <gtest/gtest.h>

#include "platform/WholeFile.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

namespace fs = std::filesystem;

TEST(WholeFileWrite, CreatesFoldersReplacesAndAddsPermissions) {
    test::TempDir dir;
    const fs::path target = dir / "a/b/script";
    writeWholeFile(target, "one", fs::perms::owner_exec);
    writeWholeFile(target, "two\n", fs::perms::owner_exec);
    EXPECT_EQ(readWholeFile(target), "two\n");
    EXPECT_NE(fs::status(target).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_FALSE(fs::exists(dir / "a/b/script.part"));
}

TEST(WholeFileWrite, AFailedWriteThrowsAndLeavesNothing) {
    test::TempDir dir;
    fs::create_directories(dir / "taken");
    // The target is a folder: the rename fails after the temporary was written.
    EXPECT_THROW(writeWholeFile(dir / "taken", "x"), fs::filesystem_error);
    EXPECT_FALSE(fs::exists(dir / "taken.part"));
    EXPECT_TRUE(fs::is_directory(dir / "taken"));
}

}  // namespace
}  // namespace tavrino
