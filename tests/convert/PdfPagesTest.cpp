#include "convert/PdfPages.h"

#include <gtest/gtest.h>

#include "convert/ConvertError.h"
#include "convert/ConvertFile.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

TEST(PdfPagesTest, EveryPageBecomesAnImageInANewFolder) {
    TAVRINO_REQUIRE_TOOL("identify");
    TempDir folder;
    const fs::path report = folder / "report.pdf";
    writeBytes(report, pdfBytes({blackPage(100, 50), blackPage(60.7, 30.2)}));
    const fs::path pages = convertFile(report, Fmt::png);
    EXPECT_EQ(pages.filename(), "report 이미지");
    EXPECT_EQ(namesIn(pages), (std::vector<std::string>{"report 1.png", "report 2.png"}));
    const auto first = identify(pages / "report 1.png");
    const auto second = identify(pages / "report 2.png");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->width, 200);
    EXPECT_EQ(first->height, 100);
    EXPECT_EQ(second->width, 121);
    EXPECT_EQ(second->height, 60);
    EXPECT_FALSE(first->alpha);

    const fs::path again = convertFile(report, Fmt::jpg);
    EXPECT_EQ(again.filename(), "report 이미지 2");
    EXPECT_EQ(namesIn(again), (std::vector<std::string>{"report 1.jpg", "report 2.jpg"}));
    EXPECT_EQ(identify(again / "report 2.jpg")->format, "JPEG");
}

// A page box that does not start at the origin is moved so its corner is the bitmap's
// corner; the bitmap's size depends only on the box's width and height.
TEST(PdfPagesTest, ShiftedPageBoxLandsOnTheBitmapCorner) {
    TempDir folder;
    const PdfPage shifted{"100 100 300 200", "0 g 100 100 20 10 re f"};  // black bottom-left
    writeBytes(folder / "shifted.pdf", pdfBytes({shifted, shifted}));
    std::unique_ptr<PdfDocument> document = PdfDocument::open(folder / "shifted.pdf");
    ASSERT_TRUE(document);
    const std::optional<Image> page = renderPDFPage(*document, 1, 2.0);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->width(), 400);
    EXPECT_EQ(page->height(), 200);
    const fs::path pages = convertFile(folder / "shifted.pdf", Fmt::png);
    const fs::path first = pages / "shifted 1.png";
    EXPECT_EQ(pixelAt(first, 2, 197), (std::vector<int>{0, 0, 0})) << "bottom-left is black";
    EXPECT_EQ(pixelAt(first, 398, 2), (std::vector<int>{255, 255, 255})) << "top-right is white";
    EXPECT_EQ(pixelAt(first, 60, 197), (std::vector<int>{255, 255, 255}));
}

// A page that cannot be rendered (here: far beyond the pixel limit) fails the whole
// conversion and no folder remains.
TEST(PdfPagesTest, AnUnrenderablePageRemovesTheFolder) {
    TempDir folder;
    const fs::path report = folder / "report.pdf";
    writeBytes(report, pdfBytes({blackPage(50, 50), blackPage(14000, 14000), blackPage(50, 50)}));
    EXPECT_EQ(errorOf([&] { convertFile(report, Fmt::png); }), "PDF 쪽 그리기 실패(2/3)");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"report.pdf"});
}

TEST(PdfPagesTest, AOnePagePdfBeyondThePixelLimitIsRefused) {
    TempDir folder;
    writeBytes(folder / "poster.pdf", pdfBytes({blackPage(14000, 14000)}));
    EXPECT_EQ(errorOf([&] { convertFile(folder / "poster.pdf", Fmt::png); }),
              "그리기 영역 생성 실패");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"poster.pdf"});
}

TEST(PdfPagesTest, AFileNamedLikeThePageFolderIsPassedBy) {
    TempDir folder;
    const fs::path report = folder / "report.pdf";
    writeBytes(report, pdfBytes({blackPage(50, 50), blackPage(50, 50)}));
    std::unique_ptr<PdfDocument> document = PdfDocument::open(report);
    ASSERT_TRUE(document);
    writeBytes(folder / "report 이미지", "not a folder");
    const fs::path pages = convertPDFPages(report, *document, Fmt::bmp);
    EXPECT_EQ(pages.filename(), "report 이미지 2");
    EXPECT_EQ(pixelAt(pages / "report 1.bmp", 10, 10), (std::vector<int>{0, 0, 0}));
}

}  // namespace
