// The petals each kind of drop gets, on real files: images of every format, animated GIFs,
// multi-page TIFFs, PDFs, real HWP/HWPX/DOCX documents, text files and folders.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "menu/MenuRules.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

using test::TempDir;

#define NEEDS_CORPUS() \
    if (!test::haveCorpus()) GTEST_SKIP() << "the shared document corpus is missing"

// "convert", "jpg heic" -> "convert(jpg) convert(heic)"
std::string items(const std::string& kind, const std::string& payloads) {
    std::istringstream words(payloads);
    std::string word, out;
    while (words >> word)
        out += (out.empty() ? "" : " ") + kind + "(" + word + ")";
    return out;
}
std::string conv(const std::string& p) {
    return items("convert", p);
}
std::string doc(const std::string& p) {
    return items("document", p);
}
std::string word(const std::string& p) {
    return items("fromWord", p);
}
std::string common(const std::string& p) {
    return items("common", p);
}
std::string tools(const std::string& p) {
    return items("tool", p);
}

const std::string allSix = conv("png jpg heic tiff pdf bmp");
const std::string allTools =
    tools("compress resize crop rotate removeBackground stripMetadata mergePDF extractText");
const std::string toolsButStrip =
    tools("compress resize crop rotate removeBackground mergePDF extractText");
const std::string pageTools = tools("stripMetadata mergePDF extractText");
const std::string docTools = tools("stripMetadata extractText");
const std::string hwpTools = tools("extractText");

class MenuTable : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        auto& f = files_;
        f["png"] = test::writeImage(*dir_ / "a.png");
        f["jpg"] = test::writeImage(*dir_ / "b.jpg");
        f["jpeg"] = test::writeImage(*dir_ / "c.JPEG");
        f["heic"] = test::writeImage(*dir_ / "d.heic");
        f["tiff"] = test::writeImage(*dir_ / "e.tif");
        f["bmp"] = test::writeBMP(*dir_ / "f.bmp");
        f["gif"] = test::writeImage(*dir_ / "g.gif");
        f["anim"] = test::writeFrames(*dir_ / "h.gif", 3);
        f["mtiff"] = test::writeFrames(*dir_ / "m.tiff", 3);
        f["pdf"] = test::writePDF(*dir_ / "p1.pdf", 1);
        f["pdf2"] = test::writePDF(*dir_ / "p2.pdf", 2);
        f["txt"] = test::writeText(*dir_ / "t.txt", "hello");
        f["txt2"] = test::writeText(*dir_ / "u.txt", "hello");
        std::filesystem::create_directory(*dir_ / "folder.pdf");
        f["dir"] = *dir_ / "folder.pdf";
        f["hwp"] = test::corpusFile("hwp/blank.hwp");
        f["hwp2"] = test::corpusFile("hwp/source.hwp");
        f["hwpx"] = test::corpusFile("hwpx/MultiColumn.hwpx");
        f["hwpx2"] = test::corpusFile("hwpx/ParaHead.hwpx");
        f["docx"] = test::corpusFile("docx/test.docx");
        f["docx2"] = test::corpusFile("docx/tbl-2x2-table.docx");
    }
    static void TearDownTestSuite() { delete dir_; }

    void SetUp() override {
        removeBackgroundSupported = [] { return true; };
    }
    void TearDown() override {
        removeBackgroundSupported = [] { return false; };
    }

    static std::string menu(const std::string& names, MenuKind kind) {
        std::istringstream words(names);
        std::vector<std::filesystem::path> paths;
        std::string name;
        while (words >> name)
            paths.push_back(files_.at(name));
        std::string out;
        for (const WheelItem& item : menuItems(paths, kind)) {
            out += (out.empty() ? "" : " ") + spelling(item);
        }
        return out;
    }

    static void expectMenus(const std::string& names, const std::string& convert,
                            const std::string& toolsMenu) {
        EXPECT_EQ(menu(names, MenuKind::convert), convert) << "convert wheel for: " << names;
        EXPECT_EQ(menu(names, MenuKind::tools), toolsMenu) << "tools wheel for: " << names;
    }

    static inline TempDir* dir_ = nullptr;
    static inline std::map<std::string, std::filesystem::path> files_;
};

TEST_F(MenuTable, SingleImagesNeverOfferTheirOwnFormat) {
    expectMenus("png", conv("jpg heic tiff pdf bmp"), allTools);
    expectMenus("jpg", conv("png heic tiff pdf bmp"), allTools);
    expectMenus("jpeg jpg", conv("png heic tiff pdf bmp"), allTools);
    expectMenus("heic", conv("png jpg tiff pdf bmp"), allTools);
    expectMenus("tiff", conv("png jpg heic pdf bmp"), allTools);
    expectMenus("bmp", conv("png jpg heic tiff pdf"), allTools);
}

TEST_F(MenuTable, GifsAndMultiPageTiffs) {
    expectMenus("gif", allSix, toolsButStrip);
    expectMenus("anim", "", "");
    expectMenus("anim png", "", "");
    expectMenus("mtiff", conv("png jpg heic pdf bmp"), pageTools);
    expectMenus("mtiff png", allSix, pageTools);
    expectMenus("png gif", allSix, toolsButStrip);
}

TEST_F(MenuTable, PdfsBecomeImages) {
    expectMenus("pdf", conv("png jpg heic tiff bmp"), pageTools);
    expectMenus("pdf2", conv("png jpg heic tiff bmp"), pageTools);
    expectMenus("pdf pdf2", conv("png jpg heic tiff bmp"), pageTools);
    expectMenus("pdf png", allSix, pageTools);
}

TEST_F(MenuTable, MixedImagesOfferEveryFormat) {
    expectMenus("png jpg", allSix, allTools);
    expectMenus("png tiff", allSix, allTools);
    expectMenus("jpg heic tiff", allSix, allTools);
}

TEST_F(MenuTable, HangulAndWordDocuments) {
    NEEDS_CORPUS();
    expectMenus("hwp", doc("pdf docx png jpg hwpx txt"), hwpTools);
    expectMenus("hwp hwp2", doc("pdf docx png jpg hwpx txt"), hwpTools);
    expectMenus("hwpx", doc("pdf docx png jpg hwp txt"), docTools);
    expectMenus("hwpx hwpx2", doc("pdf docx png jpg hwp txt"), docTools);
    expectMenus("hwp hwpx", doc("pdf docx png jpg hwpx hwp txt"), hwpTools);
    expectMenus("docx", word("hwp hwpx pdf png jpg txt"), docTools);
    expectMenus("docx docx2", word("hwp hwpx pdf png jpg txt"), docTools);
}

TEST_F(MenuTable, TextFilesAndFoldersGetNoWheel) {
    NEEDS_CORPUS();
    for (const char* names :
         {"txt", "txt txt2", "dir", "dir hwp", "png txt", "pdf txt", "png docx txt"}) {
        expectMenus(names, "", "");
    }
}

TEST_F(MenuTable, MixedSetsOfferOnlySharedTargets) {
    NEEDS_CORPUS();
    for (const char* names : {"png hwp", "jpg hwp", "pdf hwp", "png pdf hwp", "hwpx hwp pdf"}) {
        expectMenus(names, common("pdf png jpg"), hwpTools);
    }
    for (const char* names : {"png hwpx", "png docx", "pdf hwpx", "pdf docx", "png pdf docx"}) {
        expectMenus(names, common("pdf png jpg"), docTools);
    }
    const std::string documents = common("pdf docx png jpg hwpx hwp txt");
    expectMenus("hwp docx", documents, hwpTools);
    expectMenus("hwp hwpx docx", documents, hwpTools);
    expectMenus("hwpx docx", documents, docTools);
}

TEST_F(MenuTable, TextAmongDocumentsLeavesOnlyTheTextTarget) {
    NEEDS_CORPUS();
    expectMenus("hwp txt", doc("txt"), "");
    expectMenus("hwpx txt", doc("txt"), "");
    expectMenus("docx txt", word("txt"), "");
    expectMenus("docx hwpx txt", common("txt"), "");
}

TEST_F(MenuTable, BackgroundRemovalLeavesTheMenuWhenUnsupported) {
    removeBackgroundSupported = [] { return false; };
    expectMenus("png", conv("jpg heic tiff pdf bmp"),
                tools("compress resize crop rotate stripMetadata mergePDF extractText"));
    EXPECT_EQ(toolsFor(std::vector{files_.at("gif")}),
              (std::vector{Tool::compress, Tool::resize, Tool::crop, Tool::rotate, Tool::mergePDF,
                           Tool::extractText}));
}

}  // namespace
}  // namespace tavrino
