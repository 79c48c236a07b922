// The engine's one way of writing a result: a hidden sibling renamed into place. A name near
// the folder's limit must still be written (its hidden sibling is longer than it), and the
// folder must hold only the result afterwards.
#include "Corpus.h"
#include "io/Files.h"
#include "model/DocumentError.h"

namespace tavrino::docs::test {
namespace {

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(AtomicWrite, NamesUpToTheLimitAreWrittenWithNothingBeside) {
    TempDir work;
    std::string korean;
    while (korean.size() + 3 <= 250)
        korean += "한";
    for (const std::string& name : {std::string(250, 'x') + ".hwp", korean + ".hwp",
                                    std::string(255, 'y'), std::string("a.hwp")}) {
        const std::filesystem::path file = work.path() / name;
        writeFileAtomically(file, "bytes of " + name);
        EXPECT_EQ(readFileBytes(file), "bytes of " + name) << name.size() << " bytes";
        EXPECT_EQ(namesIn(work.path()), std::vector<std::string>{name});
        std::filesystem::remove(file);
    }
}

TEST(AtomicWrite, AFolderThatIsGoneFailsCleanly) {
    TempDir work;
    EXPECT_THROW(writeFileAtomically(work.path() / "gone" / "a.hwp", "x"), DocumentError);
    EXPECT_TRUE(namesIn(work.path()).empty());
}

}  // namespace
}  // namespace tavrino::docs::test
