#include "TestBundle.h"

#include "support/Process.h"

namespace tavrino::test {

TestBundle::TestBundle() {
    std::filesystem::copy_file(builtProgram("src/app/tavrino"), program());
    writeText(dir_ / "Info.ini", "[Bundle]\nidentifier=app.korvanta.tavrino.test\nversion=9.8.7\n");
    std::filesystem::create_directories(notices().parent_path());
    std::filesystem::copy_file(
        std::filesystem::path(TAVRINO_SOURCE_DIR) / "resources/Resources/THIRD_PARTY_NOTICES.txt",
        notices());
}

}  // namespace tavrino::test
