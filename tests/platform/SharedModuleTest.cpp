// Opening modules: every way a module can be unusable is an error that names the file.

#include <gtest/gtest.h>

#include "platform/SharedModule.h"
#include "support/Fixtures.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

std::string openFailure(const std::filesystem::path& path) {
    try {
        SharedModule::open(path);
    } catch (const ModuleError& error) {
        return error.what();
    }
    return "";
}

TEST(SharedModule, UnusableFilesFailWithTheirName) {
    test::TempDir dir;
    const auto missing = dir / "missing.so";
    const auto text = dir / "text.so";
    test::writeBytes(text, "not an ELF object");
    const auto truncated = dir / "truncated.so";
    test::writeBytes(truncated, test::readBytes("/proc/self/exe").substr(0, 200));
    for (const auto& path : {missing, text, truncated}) {
        const std::string failure = openFailure(path);
        EXPECT_TRUE(failure.starts_with(path.string() + ": ")) << failure;
        EXPECT_GT(failure.size(), path.string().size() + 2) << "no reason given";
    }
}

}  // namespace
}  // namespace tavrino
