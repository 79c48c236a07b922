// pelgrin export-pdf with the real LibreOffice: two runs at the same moment share one warm
// instance and both succeed, the Korean faces come out in embedded Korean fonts, and the
// instance ends by itself once idle, having started no GnuPG tool. Two renders in all (one
// starts the instance).
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "../Corpus.h"
#include "io/Files.h"
#include "pdf/PdfExport.h"
#include "pdf/WarmRenderer.h"

namespace tavrino::docs::test {
namespace {

namespace fs = std::filesystem;

std::string capture(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            out += buffer;
        ::pclose(pipe);
    }
    return out;
}

TEST(WarmRender, TwoRunsAtOnceSucceedAndTheInstanceEndsWhenIdle) {
    if (!fs::exists("/usr/bin/soffice")) GTEST_SKIP() << "LibreOffice is not installed";
    const fs::path serif = fs::path(TAVRINO_CORPUS_DIR) / "hwp" / "etc.hwp";  // 함초롬바탕
    const fs::path table = fs::path(TAVRINO_CORPUS_DIR) / "hwpx" / "Table.hwpx";
    if (!fs::exists(serif) || !fs::exists(table)) GTEST_SKIP() << "corpus not found";
    TempDir work;
    const fs::path cache = work.path() / "cache";
    const std::string pelgrin = (fs::path(TAVRINO_TOOLS_DIR) / "pelgrin").string();
    // A gpgconf first in PATH that notes being asked: the renders must not start GnuPG.
    const fs::path gnupg = work.path() / "gnupg";
    fs::create_directories(gnupg);
    std::ofstream(gnupg / "gpgconf")
        << "#!/bin/sh\necho \"$@\" >> '" << (work.path() / "asked").string() << "'\n";
    fs::permissions(gnupg / "gpgconf", fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    const std::string env = "PATH='" + gnupg.string() + ":" + (path != nullptr ? path : "") +
                            "' XDG_CACHE_HOME='" + cache.string() +
                            "' TAVRINO_RENDER_IDLE=3 TAVRINO_SOFFICE=/usr/bin/soffice ";
    const fs::path one = work.path() / "one.pdf";
    const fs::path two = work.path() / "two.pdf";
    const std::string command =
        "cd '" + work.path().string() + "'; (" + env + pelgrin + " export-pdf '" + serif.string() +
        "' -o one.pdf; echo $? > rc1) & (" + env + pelgrin + " export-pdf '" + table.string() +
        "' -o two.pdf; echo $? > rc2) & wait";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readFileBytes(work.path() / "rc1"), "0\n");
    EXPECT_EQ(readFileBytes(work.path() / "rc2"), "0\n");
    for (const fs::path& pdf : {one, two}) {
        ASSERT_TRUE(fs::exists(pdf)) << pdf;
        EXPECT_EQ(readFileBytes(pdf).rfind("%PDF-", 0), 0u) << pdf;
    }

    // 함초롬바탕 is not installed: it must come out in an embedded Korean serif.
    const std::string fonts = capture("pdffonts '" + one.string() + "' 2>&1");
    EXPECT_NE(fonts.find("Serif"), std::string::npos) << fonts;
    EXPECT_EQ(fonts.find(" no "), std::string::npos) << "a font is not embedded:\n" << fonts;

    RenderOptions options;
    options.soffice = "/usr/bin/soffice";
    options.cache = cache / "tavrino";
    const fs::path folder = warmFolder(options);
    ASSERT_TRUE(warmInstanceRunning(folder)) << "no warm instance after the renders";
    long group = 0;
    std::ifstream(folder / "instance") >> group;
    ASSERT_GT(group, 1);
    bool ended = false;
    for (int i = 0; i < 300 && !ended; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ended = !warmInstanceRunning(folder) && ::kill(-static_cast<pid_t>(group), 0) != 0;
    }
    EXPECT_TRUE(ended) << "the warm instance did not end after its idle time";
    if (!ended) ::kill(-static_cast<pid_t>(group), SIGKILL);

    // LibreOffice took our profile for one it had already started with: it did not spend the
    // start on its graphics self-test (which leaves its log in the profile), and it kept our
    // version record when it rewrote its settings.
    const fs::path user = folder / "profile" / "user";
    EXPECT_FALSE(fs::exists(user / "GraphicsRenderTests.log"));
    EXPECT_NE(readFileBytes(user / "registrymodifications.xcu").find("ooSetupLastVersion"),
              std::string::npos);

    // Nor did it look for GnuPG for the signature check, and it opened its certificate store
    // in the instance folder instead of making one in its temporary folder.
    EXPECT_FALSE(fs::exists(work.path() / "asked")) << readFileBytes(work.path() / "asked");
    EXPECT_TRUE(fs::exists(folder / "nss" / "cert9.db"));
}

}  // namespace
}  // namespace tavrino::docs::test
