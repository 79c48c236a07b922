#include "run/RunEngine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "convert/ConvertError.h"
#include "platform/ImageProbe.h"
#include "platform/Log.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/LogCapture.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

// Operations that record their calls and succeed, with outputs named after the source.
struct FakeOperations {
    std::vector<std::string> calls;
    std::vector<fs::path> riskChecks;
    std::map<std::string, std::vector<DocRisk>> risksByName;
    std::set<std::string> failing;
    std::set<std::string> riskCheckFails;  // the check cannot run for these

    RunOperations table() {
        RunOperations ops;
        const auto fail = [this](const fs::path& path) {
            if (failing.count(path.filename().string())) throw ConvertError("망가진 파일");
        };
        ops.convertFile = [this, fail](const FileFacts& file, Fmt fmt) {
            const fs::path& path = file.path();
            calls.push_back("convert " + path.filename().string());
            fail(path);
            return path.parent_path() / (path.stem().string() + "." + std::string(rawValue(fmt)));
        };
        ops.applyTool = [this, fail](Tool tool, const FileFacts& file) {
            const fs::path& path = file.path();
            calls.push_back(std::string(rawValue(tool)) + " " + path.filename().string());
            fail(path);
            return ToolResult{path.parent_path() / "out.jpg", "1.0 MB → 0.5 MB"};
        };
        ops.convertHwp = [this, fail](const fs::path& path, DocTarget target) {
            calls.push_back("hwp " + path.filename().string());
            fail(path);
            return ToolResult{path.parent_path() / ("doc." + std::string(rawValue(target))), {}};
        };
        ops.convertWord = [this, fail](const fs::path& path, DocTarget target) {
            calls.push_back("word " + path.filename().string());
            fail(path);
            return ToolResult{path.parent_path() / ("word." + std::string(rawValue(target))),
                              "쪽 3"};
        };
        ops.checkRisks = [this](const fs::path& path) -> std::optional<std::vector<DocRisk>> {
            riskChecks.push_back(path);
            if (riskCheckFails.count(path.filename().string())) return std::nullopt;
            auto found = risksByName.find(path.filename().string());
            if (found == risksByName.end()) return std::vector<DocRisk>{};
            return found->second;
        };
        ops.mergePDF = [this](std::span<const fs::path> paths) {
            calls.push_back("merge " + std::to_string(paths.size()));
            if (!failing.empty()) throw ConvertError("PDF 합치기 실패: 망가진 파일");
            return ToolResult{paths.front().parent_path() / "a 합침.pdf", "5쪽"};
        };
        return ops;
    }
};

const std::regex doneTiming(R"( \[\d+\.\d\d초\]$)");

std::string withoutTiming(const std::string& line) {
    return std::regex_replace(line, doneTiming, "");
}

TEST(RunEngineTest, ConvertsSkipsAndCountsFileByFile) {
    LogCapture log;
    FakeOperations fake;
    std::vector<std::pair<int, int>> progress;
    const RunReport report =
        runItem(ConvertItem{Fmt::jpg}, {"/in/a.png", "/in/b.jpeg", "/in/c.png"}, fake.table(),
                [&](int handled, int total) { progress.emplace_back(handled, total); });
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"convert a.png", "convert c.png"}));
    EXPECT_EQ(report.done, 2);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_EQ(report.failed(), 0);
    EXPECT_EQ(report.finish, (FinishMessage{true, "1개는 이미 JPG"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    const auto lines = log.messages();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(std::regex_search(lines[0], doneTiming)) << lines[0];
    EXPECT_EQ(withoutTiming(lines[0]), "JPG 완료: a.png -> a.jpg");
    EXPECT_EQ(lines[1], "JPG 건너뜀: b.jpeg는 이미 JPG");
    EXPECT_EQ(withoutTiming(lines[2]), "JPG 완료: c.png -> c.jpg");
}

TEST(RunEngineTest, OneFailureNeverStopsTheRun) {
    LogCapture log;
    FakeOperations broken;
    broken.failing = {"b.jpg"};
    const RunReport report =
        runItem(ConvertItem{Fmt::png}, {"/in/a.jpg", "/in/b.jpg", "/in/c.png", "/in/d.jpg"},
                broken.table());
    EXPECT_EQ(broken.calls,
              (std::vector<std::string>{"convert a.jpg", "convert b.jpg", "convert d.jpg"}));
    EXPECT_EQ(report.failed(), 1);
    EXPECT_EQ(report.finish, (FinishMessage{false, "2개 완료\n1개 건너뜀\n1개 실패"}));
    const auto lines = log.messages();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "PNG 실패: b.jpg: 망가진 파일");
    EXPECT_EQ(withoutTiming(lines[3]), "PNG 완료: d.jpg -> d.png");
}

TEST(RunEngineTest, ToolNotesBecomeTheResultOfASingleFile) {
    LogCapture log;
    FakeOperations fake;
    const RunReport report = runItem(ToolItem{Tool::compress}, {"/in/a.png"}, fake.table());
    EXPECT_EQ(report.lastNote, "1.0 MB → 0.5 MB");
    EXPECT_EQ(report.finish, (FinishMessage{true, "1.0 MB → 0.5 MB"}));
    EXPECT_EQ(withoutTiming(log.messages().at(0)), "압축 완료: a.png -> out.jpg (1.0 MB → 0.5 MB)");
}

TEST(RunEngineTest, RiskFindingsAreCollectedAfterDocumentConversions) {
    LogCapture log;
    FakeOperations fake;
    fake.risksByName["a.hwp"] = {{"table", 2, "표 2개"}};
    fake.risksByName["c.hwp"] = {{"font", 1, "글꼴"}};
    const RunReport toWord = runItem(DocumentItem{DocTarget::docx},
                                     {"/in/a.hwp", "/in/b.hwpx", "/in/c.hwp"}, fake.table());
    ASSERT_EQ(toWord.risks.size(), 2u);
    EXPECT_EQ(toWord.risks[0].source, "/in/a.hwp");
    EXPECT_EQ(toWord.risks[1].risks.front().code, "font");
    EXPECT_EQ(fake.riskChecks.size(), 3u);

    FakeOperations noCheck;
    noCheck.risksByName["a.hwp"] = {{"table", 2, "표 2개"}};
    EXPECT_TRUE(
        runItem(DocumentItem{DocTarget::pdf}, {"/in/a.hwp"}, noCheck.table()).risks.empty());
    EXPECT_TRUE(
        runItem(FromWordItem{DocTarget::txt}, {"/in/a.docx"}, noCheck.table()).risks.empty());
    EXPECT_TRUE(noCheck.riskChecks.empty()) << "PDF from HWP and text from Word are not checked";
    runItem(FromWordItem{DocTarget::hwpx}, {"/in/a.docx"}, noCheck.table());
    EXPECT_EQ(noCheck.riskChecks.size(), 1u);
}

// The check is advisory: when it cannot run, the converted file still counts as done and the
// run ends as a clean one.
TEST(RunEngineTest, AFailedRiskCheckLeavesTheConversionDone) {
    LogCapture log;
    FakeOperations fake;
    fake.riskCheckFails = {"a.docx"};
    fake.risksByName["a.docx"] = {{"table", 1, "표"}};
    const RunReport report = runItem(FromWordItem{DocTarget::hwpx}, {"/in/a.docx"}, fake.table());
    EXPECT_EQ(report.done, 1);
    EXPECT_EQ(report.failed(), 0);
    EXPECT_TRUE(report.risks.empty());
    EXPECT_TRUE(report.finish.ok);
    EXPECT_EQ(fake.riskChecks.size(), 1u);
}

// A mixed-set petal runs each file as the item of its kind and skips what is already there.
TEST(RunEngineTest, MixedSetItemsBecomeTheItemOfEachFilesKind) {
    LogCapture log;
    FakeOperations fake;
    const RunReport report =
        runItem(CommonItem{"docx"}, {"/in/a.hwp", "/in/b.docx", "/in/notes.xyz"}, fake.table());
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"hwp a.hwp"}));
    EXPECT_EQ(report.done, 1);
    EXPECT_EQ(report.skipped, 1);
    const auto lines = log.messages();
    EXPECT_EQ(lines[1], "Word 건너뜀: b.docx는 이미 Word");
    EXPECT_EQ(lines[2], "Word 실패: notes.xyz: 이 파일에 맞는 대상 없음");
}

TEST(RunEngineTest, MergeIsOneJobOverAllFiles) {
    LogCapture log;
    FakeOperations fake;
    const WheelItem merge = ToolItem{Tool::mergePDF};
    EXPECT_EQ(progressTotal(merge, 4), 1);
    EXPECT_EQ(progressTotal(ConvertItem{Fmt::pdf}, 4), 4);
    const RunReport report = runItem(merge, {"/in/a.pdf", "/in/b.png", "/in/c.pdf"}, fake.table());
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"merge 3"}));
    EXPECT_EQ(report.total, 1);
    EXPECT_EQ(report.finish, (FinishMessage{true, "5쪽"}));
    fake.failing = {"x"};
    EXPECT_EQ(runItem(merge, {"/in/a.pdf"}, fake.table()).finish, (FinishMessage{false, "실패"}));
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{"PDF 합치기 완료: 3개 -> a 합침.pdf (5쪽)",
                                        "PDF 합치기 실패: PDF 합치기 실패: 망가진 파일"}));
}

TEST(RunEngineTest, CropIsRefusedBeforeAnyFileIsTouched) {
    LogCapture log;
    FakeOperations fake;
    EXPECT_EQ(errorOf([&] { runItem(ToolItem{Tool::crop}, {"/in/a.png"}, fake.table()); }),
              "자르기는 따로 처리");
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_TRUE(log.messages().empty());
}

TEST(RunEngineTest, HintsSeparateDocumentsFromPictures) {
    EXPECT_EQ(workingHint(ConvertItem{Fmt::png}), "큰 파일은\n조금 걸립니다");
    EXPECT_EQ(workingHint(ToolItem{Tool::rotate}), "큰 파일은\n조금 걸립니다");
    EXPECT_EQ(workingHint(DocumentItem{DocTarget::pdf}), "문서는\n조금 걸립니다");
    EXPECT_EQ(workingHint(FromWordItem{DocTarget::hwp}), "문서는\n조금 걸립니다");
    EXPECT_EQ(workingHint(CommonItem{"pdf"}), "문서는\n조금 걸립니다");
}

// The standard operations hand each item to its engine: a broken document fails with the
// reason of the program that could not read it, and nothing is written beside it.
TEST(RunEngineTest, StandardOperationsReachTheirEngines) {
    LogCapture log;
    TempDir folder;
    writeBytes(folder / "memo.docx", "PK");
    writeBytes(folder / "b.hwp", "hwp");
    const RunOperations ops = standardOperations();
    EXPECT_FALSE(runItem(ToolItem{Tool::stripMetadata}, {folder / "memo.docx"}, ops).finish.ok);
    EXPECT_FALSE(runItem(DocumentItem{DocTarget::pdf}, {folder / "b.hwp"}, ops).finish.ok);
    const auto lines = log.messages();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("정보 삭제 실패: memo.docx: unzip 실패(", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("PDF 실패: b.hwp: 한글 변환(pelgrin) 실패(1): ", 0), 0u) << lines[1];
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"b.hwp", "memo.docx"}));
}

// A file is classified once per run: the engine's facts reach the operations, so neither
// the skip check, the mixed-set dispatch, the conversion nor the tool reads a header again.
TEST(RunEngineTest, EachFileHeaderIsReadOnceAcrossTheRun) {
    LogCapture log;
    TempDir folder;
    writeBytes(folder / "scan", readBytes(writeImage(folder / "scan.png", 12, 8)));
    fs::remove(folder / "scan.png");
    writeFrames(folder / "pages.tif", 3);
    writeImage(folder / "photo.jpg", 12, 8);
    const RunOperations ops = standardOperations();

    const auto readsOf = [&](const WheelItem& item, const std::vector<fs::path>& files) {
        const std::uint64_t before = imageHeaderReads();
        const RunReport report = runItem(item, files, ops);
        EXPECT_EQ(report.done, static_cast<int>(files.size())) << title(item);
        return imageHeaderReads() - before;
    };
    // The extensionless file is probed for its kind, the TIFF for its pages; the JPEG's
    // extension answers everything.
    EXPECT_EQ(readsOf(ConvertItem{Fmt::png}, {folder / "scan", folder / "pages.tif"}), 2u);
    EXPECT_EQ(readsOf(ConvertItem{Fmt::bmp}, {folder / "photo.jpg"}), 0u);
    EXPECT_EQ(readsOf(ToolItem{Tool::rotate}, {folder / "scan", folder / "photo.jpg"}), 1u);
    EXPECT_EQ(readsOf(CommonItem{"png"}, {folder / "scan", folder / "photo.jpg"}), 1u);
}

}  // namespace
