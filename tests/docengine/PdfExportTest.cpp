// The PDF export's handling of the renderer, with small shell scripts standing in for
// LibreOffice so the failure paths run in milliseconds.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "io/DocumentIO.h"
#include "model/DocumentError.h"
#include "pdf/PdfExport.h"

namespace tavrino::docs {
namespace {
namespace fs = std::filesystem;

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

    // A stand-in renderer: `body` runs with OUTDIR set to the folder it was asked to write to.
    RenderOptions fake(const std::string& body,
                       std::chrono::seconds timeout = std::chrono::seconds(20)) {
        const fs::path script = folder / "fake-soffice";
        std::ofstream(script) << "#!/bin/sh\nwhile [ $# -gt 1 ]; do\n"
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

TEST_F(PdfExportTest, ARendererFailureOrMissingPdfLeavesNothingUnderTheOutput) {
    const fs::path output = folder / "out.pdf";
    EXPECT_THROW(
        exportPdf(document, output, fake("printf partial > \"$OUTDIR/document.pdf\"; exit 3")),
        DocumentError);
    EXPECT_FALSE(fs::exists(output));
    EXPECT_THROW(exportPdf(document, output, fake("exit 0")), DocumentError);
    EXPECT_FALSE(fs::exists(output));
    EXPECT_THROW(
        exportPdf(document, output, cold(folder / "no-such-soffice", std::chrono::seconds(20))),
        DocumentError);
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
    std::ifstream in(pids);
    int count = 0;
    for (pid_t pid = 0; in >> pid; ++count) {
        bool gone = false;
        for (int i = 0; i < 100 && !gone; ++i) {
            gone = ::kill(pid, 0) != 0;
            if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_TRUE(gone) << "process " << pid << " outlived the export";
    }
    EXPECT_EQ(count, 2);
}

TEST_F(PdfExportTest, TheEnvironmentChoosesTheRendererAndItsLimit) {
    ::setenv("TAVRINO_SOFFICE", "/opt/lo/soffice", 1);
    ::setenv("TAVRINO_RENDER_TIMEOUT", "7", 1);
    RenderOptions options = renderOptionsFromEnvironment();
    EXPECT_EQ(options.soffice, fs::path("/opt/lo/soffice"));
    EXPECT_EQ(options.timeout, std::chrono::seconds(7));
    ::setenv("TAVRINO_RENDER_TIMEOUT", "soon", 1);
    ::unsetenv("TAVRINO_SOFFICE");
    options = renderOptionsFromEnvironment();
    EXPECT_EQ(options.soffice, fs::path("soffice"));
    EXPECT_EQ(options.timeout, std::chrono::seconds(180));
    ::unsetenv("TAVRINO_RENDER_TIMEOUT");
}

}  // namespace
}  // namespace tavrino::docs
