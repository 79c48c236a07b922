#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "devmodes/Preview.h"

using namespace tavrino::app;

namespace {

struct ProcessResult {
    int status;
    QString errors;
};

ProcessResult runTavrino(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(TAVRINO_EXECUTABLE, arguments);
    if (!process.waitForFinished(30000)) return {-1, "timed out"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

PreviewMode parsed(const std::vector<std::string>& arguments) {
    const Mode mode = parseMode(arguments);
    EXPECT_TRUE(std::holds_alternative<PreviewMode>(mode));
    return std::holds_alternative<PreviewMode>(mode) ? std::get<PreviewMode>(mode) : PreviewMode{};
}

}  // namespace

TEST(CommandLine, PreviewFlagsAnywhereAfterTheProgram) {
    const PreviewMode mode =
        parsed({"--working", "--files", "5", "--preview", "out.png", "--elapsed", "2.5",
                "--reduce-motion", "--word", "--hwp", "--tools", "--hover"});
    EXPECT_EQ(mode.output, "out.png");
    EXPECT_TRUE(mode.working && mode.tools && mode.hover && mode.reduceMotion && mode.word);
    EXPECT_FALSE(mode.hwp);  // ignored when --word is given
    EXPECT_EQ(mode.files, 5);
    EXPECT_EQ(mode.elapsed, 2.5);
}

TEST(CommandLine, MissingOrBadValuesFallBackToDefaults) {
    EXPECT_TRUE(std::holds_alternative<NormalRun>(parseMode({"--preview"})));
    EXPECT_TRUE(std::holds_alternative<NormalRun>(parseMode({})));
    const PreviewMode mode =
        parsed({"--preview", "a.png", "--working", "--files", "many", "--elapsed"});
    EXPECT_EQ(mode.files, 1);
    EXPECT_EQ(mode.elapsed, 0.8);
    // Without --working, reduced motion stays off.
    EXPECT_FALSE(parsed({"--preview", "a.png", "--reduce-motion"}).reduceMotion);
    const PreviewMode result = parsed({"--preview", "a.png", "--result", "check"});
    ASSERT_TRUE(result.result.has_value());
    EXPECT_EQ(result.result->kind, PreviewResult::Kind::check);
}

TEST(Preview, SampleDragsOfTheModes) {
    PreviewMode mode;
    EXPECT_EQ(previewDrag(mode).paths.front(), "/tmp/sample-screenshot.png");
    EXPECT_EQ(previewDrag(mode).totalBytes, 1234567);
    mode.hwp = true;
    EXPECT_EQ(previewDrag(mode).hwpExt, "hwp");
    mode.word = true;
    EXPECT_TRUE(previewDrag(mode).allDocx);
    EXPECT_EQ(previewDrag(mode).totalBytes, 84211);
}

TEST(Preview, WritesADoubleResolutionPng) {
    QTemporaryDir dir;
    const QString out = dir.filePath("wheel.png");
    const ProcessResult run =
        runTavrino({"--preview", out, "--working", "--files", "5", "--elapsed", "1"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    const QImage image(out);
    EXPECT_EQ(image.size(), QSize(704, 704));
    // The rounded backdrop leaves the corners empty and fills the middle of the edges.
    EXPECT_EQ(image.pixelColor(2, 2).alpha(), 0);
    EXPECT_EQ(image.pixelColor(352, 3).alpha(), 255);
}

TEST(Preview, UnwritablePathFailsAndLeavesNothing) {
    QTemporaryDir dir;
    const QString out = dir.filePath("missing/folder/wheel.png");
    const ProcessResult run = runTavrino({"--preview", out});
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(run.errors.contains("미리보기를 저장할 수 없음")) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}
