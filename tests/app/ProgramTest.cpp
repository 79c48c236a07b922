// The built program's developer modes, run as a user would run them: the self-test of a
// healthy and of a broken install, and the welcome preview images judged by measurement.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <fstream>

#include "TestBundle.h"
#include "support/Process.h"
#include "support/TestFiles.h"

namespace tavrino::app {
namespace {

using test::runProgram;

// With no display and no Qt platform: help and version still work, the tray says why it
// cannot start instead of Qt aborting.
TEST(ProgramWithoutDisplay, HelpAndVersionPrintAndTheTrayRefusesInOneLine) {
    const test::TestBundle bundle;
    const std::vector<std::string> bare = {"env",
                                           "-u",
                                           "DISPLAY",
                                           "-u",
                                           "WAYLAND_DISPLAY",
                                           "-u",
                                           "QT_QPA_PLATFORM",
                                           bundle.program().string()};
    auto with = [&bare](const char* flag) {
        auto arguments = bare;
        if (flag != nullptr) arguments.emplace_back(flag);
        return runProgram(arguments);
    };
    const auto help = with("--help");
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_TRUE(help.out.starts_with("usage: tavrino")) << help.out;
    const auto version = with("--version");
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, std::string("tavrino ") + TAVRINO_VERSION + "\n");

    const auto tray = with(nullptr);
    EXPECT_NE(tray.status, 0);
    EXPECT_EQ(tray.out, "");
    EXPECT_TRUE(tray.err.starts_with("tavrino: no display")) << tray.err;
    EXPECT_EQ(std::count(tray.err.begin(), tray.err.end(), '\n'), 1) << tray.err;
}

TEST(ProgramSelfTest, HealthyInstallPassesAndAMissingNoticesFileFails) {
    const test::TestBundle bundle;
    const auto healthy = runProgram({bundle.program().string(), "--selftest"});
    EXPECT_EQ(healthy.status, 0) << healthy.out << healthy.err;
    EXPECT_NE(healthy.out.find("OK\t앱 묶음"), std::string::npos);

    std::filesystem::remove(bundle.notices());
    const auto broken = runProgram({bundle.program().string(), "--selftest"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.out.find("FAIL\t앱 묶음\t오픈소스 고지 파일 없음"), std::string::npos)
        << broken.out;
}

TEST(ProgramToolMatrix, PrintsOneTabSeparatedLinePerToolAndSample) {
    test::TempDir samples;
    test::writeImage(samples / "photo.png");
    const auto result = runProgram(
        {test::builtProgram("src/app/tavrino").string(), "--tool-matrix", samples.path().string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 8);
    EXPECT_TRUE(result.out.starts_with("image\t압축\t")) << result.out;
}

TEST(ProgramInstall, LaysOutTheBundleLauncherAndIconAndPassesItsSelfTest) {
    const test::TempDir prefix;
    const auto install =
        runProgram({"cmake", "--install", TAVRINO_BUILD_DIR, "--prefix", prefix.path().string()});
    ASSERT_EQ(install.status, 0) << install.out << install.err;

    const auto bundle = prefix / "lib/tavrino";
    EXPECT_TRUE(std::filesystem::is_regular_file(bundle / "Info.ini"));
    EXPECT_GT(std::filesystem::file_size(bundle / "Resources/THIRD_PARTY_NOTICES.txt"), 500u);
    EXPECT_EQ(std::filesystem::canonical(prefix / "bin/tavrino"),
              std::filesystem::canonical(bundle / "tavrino"));
    EXPECT_TRUE(std::filesystem::is_regular_file(
        prefix / "share/icons/hicolor/scalable/apps/app.korvanta.tavrino.svg"));

    std::ifstream entry(prefix / "share/applications/app.korvanta.tavrino.desktop");
    const std::string text((std::istreambuf_iterator<char>(entry)), {});
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\n"));
    EXPECT_NE(text.find("\nExec=" + (bundle / "tavrino").string() + "\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=app.korvanta.tavrino\n"), std::string::npos);
    EXPECT_EQ(text.find('@'), std::string::npos);

    const auto selftest = runProgram({(prefix / "bin/tavrino").string(), "--selftest"});
    EXPECT_EQ(selftest.status, 0) << selftest.out;
    EXPECT_NE(selftest.out.find("OK\t앱 묶음"), std::string::npos);
}

// The share of pixels in a region that are darker (or lighter) than a threshold.
double share(const QImage& image, QRect region, bool dark, int threshold) {
    int hits = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            const int gray = qGray(image.pixel(x, y));
            hits += dark ? gray < threshold : gray > threshold;
        }
    }
    return double(hits) / (region.width() * region.height());
}

struct Preview {
    QImage panel;
    QImage icon;
    std::string out;
};

Preview render(std::vector<std::string> flags) {
    test::TempDir dir;
    std::vector<std::string> argv{test::builtProgram("src/app/tavrino").string(),
                                  "--welcome-preview", (dir / "panel.png").string(),
                                  (dir / "icon.png").string()};
    argv.insert(argv.end(), flags.begin(), flags.end());
    const auto result = runProgram(argv);
    EXPECT_EQ(result.status, 0) << result.err;
    return {QImage(QString::fromStdString((dir / "panel.png").string())),
            QImage(QString::fromStdString((dir / "icon.png").string())), result.out};
}

TEST(ProgramWelcomePreview, LightAndDarkPanelsHaveTheirGroundInkAndButtons) {
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    const Preview light = render({});
    const Preview dark = render({"--dark"});
    qunsetenv("XDG_CURRENT_DESKTOP");
    EXPECT_EQ(light.out, "버튼: 시스템 설정 열기, Tavrino 종료, 확인\n");
    for (const Preview* preview : {&light, &dark}) {
        ASSERT_FALSE(preview->panel.isNull());
        EXPECT_EQ(preview->panel.width(), 420);
        EXPECT_GT(preview->panel.height(), 200);  // the body's paragraphs make it tall
        EXPECT_LT(preview->panel.height(), 420);
    }
    const QRect ground(0, 0, 420, 12);
    EXPECT_GT(share(light.panel, ground, false, 200), 0.95);
    EXPECT_GT(share(dark.panel, ground, true, 80), 0.95);
    // The header's anvil (33 × 27 at 20, 18) is drawn in the text colour.
    const QRect anvil(20, 18, 33, 27);
    EXPECT_GT(share(light.panel, anvil, true, 90), 0.2);
    EXPECT_GT(share(dark.panel, anvil, false, 170), 0.2);
    // Text covers a fair part of the body but far from all of it.
    const QRect body(20, 70, 380, 100);
    EXPECT_GT(share(light.panel, body, true, 128), 0.03);
    EXPECT_LT(share(light.panel, body, true, 128), 0.4);
}

TEST(ProgramWelcomePreview, ConflictPanelAndItsWaitingState) {
    const Preview idle = render({"--conflict"});
    const Preview waiting = render({"--conflict", "--waiting"});
    EXPECT_EQ(idle.out, "버튼: 닫기, 이전 Tavrino 종료 후 계속\n");
    ASSERT_FALSE(idle.panel.isNull());
    ASSERT_FALSE(waiting.panel.isNull());
    EXPECT_EQ(idle.panel.width(), 420);
    // Disabled buttons draw their titles faintly: the button row holds less dark ink.
    const QRect buttons(180, idle.panel.height() - 40, 230, 30);
    const QRect waitingButtons(180, waiting.panel.height() - 40, 230, 30);
    EXPECT_GT(share(idle.panel, buttons, true, 100),
              1.5 * share(waiting.panel, waitingButtons, true, 100));
}

TEST(ProgramWelcomePreview, IconSampleShowsTheAnvilOnLightAndDarkGrounds) {
    const Preview preview = render({});
    ASSERT_EQ(preview.icon.size(), QSize(720, 288));
    const QRect lightHalf(0, 0, 360, 288), darkHalf(360, 0, 360, 288);
    EXPECT_GT(share(preview.icon, lightHalf, false, 200), 0.8);
    EXPECT_GT(share(preview.icon, darkHalf, true, 60), 0.8);
    const double darkInk = share(preview.icon, lightHalf, true, 60);
    const double lightInk = share(preview.icon, darkHalf, false, 200);
    EXPECT_GT(darkInk, 0.05);
    EXPECT_NEAR(darkInk, lightInk, 0.01);  // the same anvil on both grounds
}

TEST(ProgramWelcomePreview, UnwritableOutputEndsWithAnError) {
    const auto result = runProgram({test::builtProgram("src/app/tavrino").string(),
                                    "--welcome-preview", "/nonexistent/dir/panel.png"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("PNG을 쓸 수 없음"), std::string::npos);
}

}  // namespace
}  // namespace tavrino::app
