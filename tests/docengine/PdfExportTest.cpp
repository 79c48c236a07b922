// The PDF export's handling of the renderer, with small shell scripts standing in for
// LibreOffice so the failure paths run in milliseconds.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "io/DocumentIO.h"
#include "model/DocumentError.h"
#include "pdf/OfficeProgram.h"
#include "pdf/PdfExport.h"
#include "pdf/WarmRenderer.h"

namespace tavrino::docs {
namespace {
namespace fs = std::filesystem;

// Every pid listed in `file` must be gone within a few seconds; returns how many were listed.
int expectGone(const fs::path& file) {
    std::ifstream in(file);
    int count = 0;
    for (pid_t pid = 0; in >> pid; ++count) {
        bool gone = false;
        for (int i = 0; i < 250 && !gone; ++i) {
            gone = ::kill(pid, 0) != 0;
            if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_TRUE(gone) << "process " << pid << " outlived the export";
    }
    return count;
}

// Whether the warm instance of `folder` ends (its watchdog goes) within `limit`.
bool instanceEnds(const fs::path& folder, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (warmInstanceRunning(folder)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// An executable shell script at `path` with `body`.
void writeScript(const fs::path& path, const std::string& body) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
}

class PdfExportTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tavrino-pdf-test-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        // One paragraph is enough: these cases are about the renderer, not the document.
        Paragraph paragraph;
        paragraph.runs.push_back(TextRun{{}, {Text{"보고서 첫 줄"}}});
        document.sections.emplace_back().blocks.emplace_back(std::move(paragraph));
    }
    void TearDown() override { fs::remove_all(folder); }

    // A stand-in renderer: `body` runs with OUTDIR set to the folder it was asked to write to,
    // or with LISTENER=1 when it was started as the warm instance.
    RenderOptions fake(const std::string& body,
                       std::chrono::seconds timeout = std::chrono::seconds(20)) {
        const fs::path script = folder / "fake-soffice";
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do case $a in --accept=*) "
                                 "LISTENER=1;; esac; done\nwhile [ $# -gt 1 ]; do\n"
                                 "  if [ \"$1\" = --outdir ]; then OUTDIR=$2; fi\n  shift\ndone\n"
                              << body << "\n";
        fs::permissions(script, fs::perms::owner_all);
        return cold(script, timeout);
    }

    // Options for LibreOffice started per document (no warm instance).
    static RenderOptions cold(const fs::path& soffice, std::chrono::seconds timeout) {
        RenderOptions options;
        options.soffice = soffice;
        options.timeout = timeout;
        return options;
    }

    // Only the script and the output (if any) may remain: no work folder.
    int leftovers() const {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().filename().string().rfind(".tavrino-pdf-", 0) == 0) ++count;
        }
        return count;
    }

    fs::path folder;
    Document document;
};

TEST_F(PdfExportTest, MovesTheRenderedPdfIntoPlaceAndRemovesTheWorkFolder) {
    const fs::path output = folder / "out.pdf";
    exportPdf(document, output,
              fake("test -s \"$OUTDIR/document.docx\" || exit 9\n"
                   "printf '%%PDF-1.7 fake' > \"$OUTDIR/document.pdf\""));
    std::ifstream in(output);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "%PDF-1.7 fake");
    EXPECT_EQ(leftovers(), 0);
}

// The warm instance works under umask 077, so its PDF arrives readable by the owner only; the
// user's file gets the permissions any new file of theirs gets.
TEST_F(PdfExportTest, ThePlacedPdfHasTheUsersPermissionsNotTheRenderersPrivateOnes) {
    const mode_t previous = ::umask(022);
    const fs::path output = folder / "shared.pdf";
    exportPdf(document, output,
              fake("printf '%%PDF-1.7 fake' > \"$OUTDIR/document.pdf\"\n"
                   "chmod 600 \"$OUTDIR/document.pdf\""));
    ::umask(previous);
    EXPECT_EQ(fs::status(output).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

TEST_F(PdfExportTest, ARendererFailureOrMissingPdfLeavesNothingUnderTheOutput) {
    const fs::path output = folder / "out.pdf";
    EXPECT_THROW(
        exportPdf(document, output, fake("printf partial > \"$OUTDIR/document.pdf\"; exit 3")),
        DocumentError);
    EXPECT_FALSE(fs::exists(output));
    EXPECT_THROW(exportPdf(document, output, fake("exit 0")), DocumentError);
    EXPECT_FALSE(fs::exists(output));
    // A renderer that cannot be started says so, rather than a bare exit code.
    try {
        exportPdf(document, output, cold(folder / "no-such-soffice", std::chrono::seconds(20)));
        ADD_FAILURE() << "a missing renderer was not reported";
    } catch (const DocumentError& error) {
        EXPECT_NE(std::string(error.what()).find("LibreOffice를 찾지 못함"), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(fs::exists(output));
    EXPECT_EQ(leftovers(), 0);
}

TEST_F(PdfExportTest, AHangingRendererIsKilledWithEverythingItStarted) {
    const fs::path output = folder / "out.pdf";
    const fs::path pids = folder / "pids";
    // The renderer starts a helper and then hangs; both must be gone after the time-out.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(exportPdf(document, output,
                           fake("sleep 600 & echo $! > '" + pids.string() + "'\necho $$ >> '" +
                                    pids.string() + "'\nsleep 600",
                                std::chrono::seconds(1))),
                 DocumentError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    EXPECT_FALSE(fs::exists(output));
    EXPECT_EQ(leftovers(), 0);
    EXPECT_EQ(expectGone(pids), 2);
}

TEST_F(PdfExportTest, AWarmInstanceThatNeverAnswersIsEndedAndTheDocumentRenderedCold) {
    if (std::system("/usr/bin/python3 -c 'import uno' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-uno is not installed";
    const fs::path output = folder / "out.pdf";
    const fs::path pids = folder / "pids";
    RenderOptions options = fake("if [ -n \"$LISTENER\" ]; then echo $$ >> '" + pids.string() +
                                 "'; sleep 600; fi\n"
                                 "printf '%%PDF-1.7 cold' > \"$OUTDIR/document.pdf\"");
    options.warm = true;
    options.cache = folder / "cache";
    options.warmStart = std::chrono::seconds(1);
    exportPdf(document, output, options);
    EXPECT_TRUE(fs::exists(output));
    EXPECT_EQ(expectGone(pids), 1);
    EXPECT_FALSE(warmInstanceRunning(warmFolder(options)));
    EXPECT_EQ(leftovers(), 0);
}

// Renders queue on the instance's lock: a render that cannot have it within its limit fails
// with nothing left behind, and one queued behind another starts as soon as it is let go.
TEST_F(PdfExportTest, AQueuedRenderWaitsForTheLockOnlyWithinItsLimit) {
    const fs::path output = folder / "out.pdf";
    RenderOptions options =
        fake("[ -n \"$LISTENER\" ] && exit 1\nprintf '%%PDF-1.7 cold' > \"$OUTDIR/document.pdf\"",
             std::chrono::seconds(1));
    options.warm = true;
    options.cache = folder / "cache";
    fs::create_directories(warmFolder(options));
    const fs::path lockFile = warmFolder(options) / "use.lock";
    const int held = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(exportPdf(document, output, options), DocumentError);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_FALSE(fs::exists(output));
    EXPECT_EQ(leftovers(), 0);

    // Let go while the next one waits: it goes ahead and renders.
    options.timeout = std::chrono::seconds(20);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::flock(held, LOCK_UN);
    });
    exportPdf(document, output, options);
    release.join();
    ::close(held);
    EXPECT_TRUE(fs::exists(output));
    EXPECT_EQ(leftovers(), 0);
    // The render holds no lock any more (and neither does a waiter given up on before).
    const int again = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(again, 0);
    bool free = false;
    for (int i = 0; i < 100 && !free; ++i) {
        free = ::flock(again, LOCK_EX | LOCK_NB) == 0;
        if (!free) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::close(again);
    EXPECT_TRUE(free);
    instanceEnds(warmFolder(options), std::chrono::seconds(10));
}

// A shared instance that cannot store this document (it was ending, or it stumbled) must
// not fail a document that LibreOffice of its own renders. The stand-in then runs under a
// command line without the pipe's name, as the instance does while it is still being started,
// so only its watchdog can tell which process to end.
TEST_F(PdfExportTest, AWarmStoreFailureGivesTheDocumentAColdRender) {
    const fs::path output = folder / "out.pdf";
    const fs::path pids = folder / "pids";
    RenderOptions options = fake("if [ -n \"$LISTENER\" ]; then echo $$ >> '" + pids.string() +
                                 "'; exec sleep 600; fi\n"
                                 "printf '%%PDF-1.7 cold' > \"$OUTDIR/document.pdf\"");
    // The client stand-in answers "import uno" and then, once the instance is up, reports
    // that storing failed.
    const fs::path client = folder / "fake-python";
    writeScript(client,
                "[ \"$2\" = 'import uno' ] && exit 0\n[ \"$3\" = --serve ] && exit 0\nfor i in "
                "$(seq 200); do [ -s '" +
                    pids.string() + "' ] && exit 5; sleep 0.05; done\nexit 3");
    options.python = client;
    options.warm = true;
    options.cache = folder / "cache";
    options.warmStart = std::chrono::seconds(5);
    // Not idle for long enough to end by itself while the test looks.
    options.idle = std::chrono::seconds(600);
    exportPdf(document, output, options);
    std::ifstream in(output);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "%PDF-1.7 cold");
    EXPECT_EQ(expectGone(pids), 1);
    // The stumbling instance is told to end; its watchdog takes a moment to go, longer under a
    // sanitizer on a loaded machine.
    EXPECT_TRUE(instanceEnds(warmFolder(options), std::chrono::seconds(30)))
        << "the instance that failed the store was left running";
    EXPECT_EQ(leftovers(), 0);
}

// Documents after the first reach the running instance through its render service; a service
// that goes away without answering costs that document a cold render, not its PDF.
TEST_F(PdfExportTest, LaterDocumentsGoThroughTheRenderServiceAndALostServiceFallsBackToCold) {
    if (!fs::exists("/usr/bin/python3")) GTEST_SKIP() << "no Python to stand in for the service";
    const fs::path pids = folder / "pids";
    RenderOptions options = fake("if [ -n \"$LISTENER\" ]; then echo $$ >> '" + pids.string() +
                                 "'; exec sleep 600; fi\n"
                                 "printf '%%PDF-1.7 cold' > \"$OUTDIR/document.pdf\"");
    // The service stand-in answers the first request and leaves without answering the second.
    const fs::path server = folder / "server.py";
    std::ofstream(server) << "import os, socket, sys, urllib.parse\n"
                             "s = socket.socket(socket.AF_UNIX)\n"
                             "s.bind(sys.argv[1])\n"
                             "s.listen(1)\n"
                             "for n in range(2):\n"
                             "    c, _ = s.accept()\n"
                             "    data = b''\n"
                             "    while data.count(b'\\n') < 2:\n"
                             "        data += c.recv(4096)\n"
                             "    source, target = data.decode().split('\\n')[:2]\n"
                             "    if not os.path.getsize(urllib.parse.unquote(source[7:])):\n"
                             "        os._exit(1)\n"
                             "    if n == 1:\n"
                             "        os._exit(0)\n"
                             "    with open(urllib.parse.unquote(target[7:]), 'w') as f:\n"
                             "        f.write('%PDF-1.7 service')\n"
                             "    c.sendall(b'0')\n"
                             "    c.close()\n";
    const fs::path python = folder / "fake-python";
    writeScript(python,
                "[ \"$2\" = 'import uno' ] && exit 0\n"
                "[ \"$3\" = --serve ] && exec /usr/bin/python3 '" +
                    server.string() +
                    "' \"$5\"\n"
                    "[ -s \"${4#file://}\" ] || exit 4\n"
                    "printf '%%PDF-1.7 client' > \"${5#file://}\"");
    options.python = python;
    options.warm = true;
    // Short, for the socket's address.
    const fs::path cache = fs::temp_directory_path() / ("tvr-" + std::to_string(::getpid()));
    options.cache = cache;
    options.idle = std::chrono::seconds(600);
    const auto render = [&](const std::string& name) {
        exportPdf(document, folder / name, options);
        std::ifstream in(folder / name);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    // The first document starts the instance and has a client of its own.
    EXPECT_EQ(render("first.pdf"), "%PDF-1.7 client");
    const fs::path socket = warmFolder(options) / "service.sock";
    for (int i = 0; i < 250 && !fs::exists(socket); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(fs::exists(socket)) << "the render service did not start in the instance's folder";
    EXPECT_EQ(render("second.pdf"), "%PDF-1.7 service");
    EXPECT_EQ(render("third.pdf"), "%PDF-1.7 cold");
    // Lost with its service, the instance is ended.
    EXPECT_EQ(expectGone(pids), 1);
    EXPECT_TRUE(instanceEnds(warmFolder(options), std::chrono::seconds(5)));
    EXPECT_EQ(leftovers(), 0);
    fs::remove_all(cache);
}

TEST_F(PdfExportTest, AWarmInstanceThatDiesAtOnceFallsBackToACold) {
    const fs::path output = folder / "out.pdf";
    RenderOptions options = fake(
        "[ -n \"$LISTENER\" ] && exit 1\n"
        "printf '%%PDF-1.7 cold' > \"$OUTDIR/document.pdf\"");
    options.warm = true;
    options.cache = folder / "cache";
    const auto start = std::chrono::steady_clock::now();
    exportPdf(document, output, options);
    // Noticed when the watchdog goes, not after the whole start-up allowance.
    EXPECT_LT(std::chrono::steady_clock::now() - start, options.warmStart / 2);
    EXPECT_TRUE(fs::exists(output));
    EXPECT_FALSE(warmInstanceRunning(warmFolder(options)));
}

TEST_F(PdfExportTest, ARenderHangingInTheWarmInstanceEndsItWithinTheLimit) {
    const fs::path output = folder / "out.pdf";
    const fs::path pids = folder / "pids";
    // The instance comes up and the client then waits on it forever, as on a document that
    // makes LibreOffice loop.
    RenderOptions options = fake("if [ -n \"$LISTENER\" ]; then echo $$ >> '" + pids.string() +
                                     "'; sleep 600; fi\n"
                                     "exit 7",
                                 std::chrono::seconds(2));
    const fs::path python = folder / "fake-python";
    std::ofstream(python) << "#!/bin/sh\n[ \"$2\" = 'import uno' ] && exit 0\n[ \"$3\" = --serve ] "
                             "&& exit 0\necho $$ >> '"
                          << pids.string() << "'\nsleep 600\n";
    fs::permissions(python, fs::perms::owner_all);
    options.python = python;
    options.warm = true;
    options.cache = folder / "cache";
    const auto start = std::chrono::steady_clock::now();
    try {
        exportPdf(document, output, options);
        ADD_FAILURE() << "a hanging render was reported as done";
    } catch (const DocumentError& error) {
        EXPECT_NE(std::string(error.what()).find("제한 시간(2초)"), std::string::npos)
            << error.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(12));
    EXPECT_FALSE(fs::exists(output));
    EXPECT_EQ(leftovers(), 0);
    EXPECT_EQ(expectGone(pids), 2);  // the instance and the client
    EXPECT_FALSE(warmInstanceRunning(warmFolder(options)));
}

TEST_F(PdfExportTest, TheLaunchersProgramIsStartedDirectlyOnlyWhenItIsReallyThere) {
    const fs::path program = folder / "lib" / "office" / "program";
    writeScript(program / "soffice", "exit 1");
    writeScript(program / "soffice.bin", "exit 1");
    fs::create_directories(folder / "bin");
    fs::create_symlink("../lib/office/program/soffice", folder / "bin" / "soffice");

    // Through the link, as Debian installs it, and through PATH for a bare name.
    OfficeProgram office = officeProgram(folder / "bin" / "soffice");
    EXPECT_EQ(office.program, fs::canonical(program / "soffice.bin"));
    EXPECT_EQ(office.environment,
              (std::vector<std::string>{"SAL_ENABLE_FILE_LOCKING=1",
                                        "PATH=" + fs::canonical(program).string()}));
    const std::string savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", ("/nonexistent:" + (folder / "bin").string()).c_str(), 1);
    office = officeProgram("soffice");
    ::setenv("PATH", savedPath.c_str(), 1);
    EXPECT_EQ(office.program, fs::canonical(program / "soffice.bin"));

    // Anything else is run as given: another name, or no program beside the launcher.
    writeScript(folder / "other" / "soffice", "exit 1");
    EXPECT_EQ(officeProgram(folder / "other" / "soffice").program, folder / "other" / "soffice");
    EXPECT_TRUE(officeProgram(folder / "other" / "soffice").environment.empty());
    EXPECT_EQ(officeProgram(program / "soffice.bin").program, program / "soffice.bin");
    EXPECT_EQ(officeProgram(folder / "missing" / "soffice").program,
              folder / "missing" / "soffice");
}

// Started without its launcher, LibreOffice on a new profile exits asking to be started again;
// the watchdog must do so, or the first render of every new profile would fall back to cold.
TEST_F(PdfExportTest, AWarmInstanceAskingForARestartIsStartedAgainAndRenders) {
    const fs::path program = folder / "office" / "program";
    const fs::path pids = folder / "pids";
    const fs::path restarted = folder / "restarted";
    writeScript(program / "soffice", "exit 9");  // the launcher must not be what runs
    writeScript(program / "soffice.bin",
                "case \"$*\" in *--accept=*) ;; *) exit 8;; esac\n"
                "[ \"$SAL_ENABLE_FILE_LOCKING\" = 1 ] || exit 7\n"
                "if [ ! -e '" +
                    restarted.string() + "' ]; then : > '" + restarted.string() +
                    "'; exit 81; fi\n"
                    "echo $$ >> '" +
                    pids.string() + "'\nexec sleep 600");
    // The client stand-in renders once the second start is listening.
    const fs::path python = folder / "fake-python";
    writeScript(python,
                "[ \"$2\" = 'import uno' ] && exit 0\n[ \"$3\" = --serve ] && exit 0\n"
                "for i in $(seq 200); do [ -s '" +
                    pids.string() +
                    "' ] && break; sleep 0.05; done\n"
                    "[ -s '" +
                    pids.string() +
                    "' ] || exit 3\n"
                    "printf '%%PDF-1.7 warm' > \"${5#file://}\"");
    RenderOptions options;
    options.soffice = program / "soffice";
    options.python = python;
    options.warm = true;
    options.cache = folder / "cache";
    options.warmStart = std::chrono::seconds(15);
    options.idle = std::chrono::seconds(1);
    const fs::path output = folder / "out.pdf";
    exportPdf(document, output, options);
    std::ifstream in(output);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "%PDF-1.7 warm");
    // Idle, the restarted instance still ends by itself.
    EXPECT_EQ(expectGone(pids), 1);
    EXPECT_TRUE(instanceEnds(warmFolder(options), std::chrono::seconds(5)));
}

TEST_F(PdfExportTest, TheEnvironmentChoosesTheRendererAndItsLimit) {
    const char* saved = std::getenv("XDG_CACHE_HOME");
    const std::string cache = saved != nullptr ? saved : "";
    ::setenv("TAVRINO_SOFFICE", "/opt/lo/soffice", 1);
    ::setenv("TAVRINO_RENDER_TIMEOUT", "7", 1);
    ::setenv("TAVRINO_RENDER_IDLE", "5", 1);
    ::setenv("XDG_CACHE_HOME", "/home/user/.cache-elsewhere", 1);
    RenderOptions options = renderOptionsFromEnvironment();
    EXPECT_EQ(options.soffice, fs::path("/opt/lo/soffice"));
    EXPECT_EQ(options.timeout, std::chrono::seconds(7));
    EXPECT_EQ(options.idle, std::chrono::seconds(5));
    EXPECT_TRUE(options.warm);
    ::setenv("TAVRINO_RENDER_TIMEOUT", "soon", 1);
    ::setenv("TAVRINO_RENDER_WARM", "0", 1);
    ::unsetenv("TAVRINO_SOFFICE");
    options = renderOptionsFromEnvironment();
    EXPECT_EQ(options.soffice, fs::path("soffice"));
    EXPECT_EQ(options.timeout, std::chrono::seconds(180));
    EXPECT_FALSE(options.warm);
    EXPECT_EQ(options.cache, fs::path("/home/user/.cache-elsewhere/tavrino"));
    ::unsetenv("TAVRINO_RENDER_TIMEOUT");
    ::unsetenv("TAVRINO_RENDER_WARM");
    ::unsetenv("TAVRINO_RENDER_IDLE");
    if (saved != nullptr) {
        ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    } else {
        ::unsetenv("XDG_CACHE_HOME");
    }
}

}  // namespace
}  // namespace tavrino::docs
