// PDF merge: page order read back with pdftotext, sizes with pdfinfo, validity with qpdf.

#include <gtest/gtest.h>

#include "ToolFixtures.h"
#include "convert/ConvertError.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"
#include "tools/PdfMerge.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

class Merge : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* judge : {"pdftotext", "pdfinfo", "qpdf", "pdfimages"}) {
            if (!haveProgram(judge)) GTEST_SKIP() << judge << " is not installed";
        }
    }

    std::string failureOf(const std::vector<fs::path>& inputs) {
        return errorOf([&] { mergePDF(inputs); });
    }

    void expectValid(const fs::path& pdf) {
        const ProcessResult check = runProgram({"qpdf", "--check", pdf.string()});
        EXPECT_EQ(check.status, 0) << check.out << check.err;
    }

    TempDir folder;
};

}  // namespace

TEST_F(Merge, PagesFollowTheInputOrder) {
    const fs::path a = writeTextPDF(folder / "a.pdf", {"a1", "a2", "a3"});
    const fs::path b = writeImage(folder / "b.png", 120, 80);
    // Its page size lives on the page tree; the copied pages must still have it.
    const fs::path c = writeTextPDF(folder / "c.pdf", {"c1", "c2"}, true);

    const ToolResult result = mergePDF(std::vector{a, b, c});
    EXPECT_EQ(result.output, folder / "a 합침.pdf");
    EXPECT_EQ(result.note, "6쪽");
    EXPECT_EQ(pdfText(result.output), "a1 a2 a3 c1 c2");
    expectValid(result.output);
    EXPECT_EQ(pageSizes(result.output), (std::vector<std::string>{"300x200", "300x200", "300x200",
                                                                  "120x80", "300x200", "300x200"}));

    EXPECT_EQ(mergePDF(std::vector{a, b}).output, folder / "a 합침 2.pdf");
}

TEST_F(Merge, ImagesBecomeUprightPagesOfTheirPixelSize) {
    const fs::path photo = writeImage(folder / "photo.jpg", 40, 30);
    const fs::path turned = writeImage(folder / "turned.jpg", 40, 30);
    writeTags(turned, {"-Orientation=6", "-n"});
    const fs::path scan = writeFrames(folder / "scan.tiff", 3, 20, 10);

    const ToolResult result = mergePDF(std::vector{photo, turned, scan});
    EXPECT_EQ(result.note, "5쪽");
    expectValid(result.output);
    EXPECT_EQ(pageSizes(result.output),
              (std::vector<std::string>{"40x30", "30x40", "20x10", "20x10", "20x10"}));
    // The upright JPEG travels as it is; the turned one had to be decoded.
    const std::string images = runProgram({"pdfimages", "-list", result.output.string()}).out;
    EXPECT_NE(images.find("jpeg"), std::string::npos) << images;
}

TEST_F(Merge, OutputLandsBesideTheFirstInput) {
    fs::create_directory(folder / "other");
    const fs::path first = writeImage(folder / "first.png", 10, 10);
    const fs::path second = writeTextPDF(folder / "other" / "second.pdf", {"x"});
    EXPECT_EQ(mergePDF(std::vector{first, second}).output, folder / "first 합침.pdf");
    EXPECT_FALSE(fs::exists(folder / "other" / "first 합침.pdf"));
}

TEST_F(Merge, DamagedInputsLeaveNoOutput) {
    const fs::path a = writeTextPDF(folder / "a.pdf", {"a1"});
    writeText(folder / "b.pdf", "%PDF-1.7\ngarbage without any object");
    writeText(folder / "c.png", "not a png");
    // Cut inside the compressed data: the header still reads, the pixels do not.
    const std::string photo = readBytes(writeImage(folder / "whole.jpg", 600, 400));
    writeText(folder / "cut.jpg", photo.substr(0, photo.size() / 2));
    const fs::path empty = writePDF(folder / "empty.pdf", 0);
    const std::vector<std::string> namesBefore = namesIn(folder.path());

    EXPECT_EQ(failureOf({a, folder / "b.pdf"}), "PDF를 열 수 없음: b.pdf");
    EXPECT_EQ(failureOf({a, folder / "c.png"}), "이미지로 읽을 수 없음: c.png");
    EXPECT_EQ(failureOf({a, folder / "cut.jpg"}), "이미지로 읽을 수 없음: cut.jpg");
    EXPECT_EQ(failureOf({empty}), "합칠 페이지 없음");
    EXPECT_EQ(failureOf({}), "합칠 페이지 없음");
    EXPECT_EQ(namesIn(folder.path()), namesBefore) << "no output and no hidden leftovers";
}

TEST_F(Merge, TheCommandLineRunsOneMergeJobAndLogsIt) {
    const fs::path a = writeTextPDF(folder / "a.pdf", {"a1", "a2", "a3"});
    const fs::path b = writeImage(folder / "b.png", 12, 8);
    const fs::path c = writeTextPDF(folder / "c.pdf", {"c1", "c2"});
    const ProcessResult run = runCli({"run", "tool(mergePDF)", a.string(), b.string(), c.string()});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("] PDF 합치기 완료: 3개 -> a 합침.pdf (6쪽)\n"), std::string::npos)
        << run.out;
    EXPECT_TRUE(run.out.ends_with("\n6쪽\n")) << run.out;
    EXPECT_EQ(pdfText(folder / "a 합침.pdf"), "a1 a2 a3 c1 c2");
}
