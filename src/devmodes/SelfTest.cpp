#include "devmodes/SelfTest.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <fstream>
#include <ostream>

#include "app/AnvilIcon.h"
#include "app/CropCanvas.h"
#include "app/CropWindowController.h"
#include "app/StatusMenu.h"
#include "app/WelcomeText.h"
#include "menu/HubText.h"
#include "menu/MenuRules.h"
#include "platform/Bundle.h"
#include "platform/Paths.h"

#include "convert/ConvertFile.h"
#include "tools/CropImage.h"

namespace tavrino::app {
namespace {

using Failure = std::optional<std::string>;

// Sample files drawn with Qt in a private folder that goes away with the test.
class Samples {
  public:
    Samples() {
        std::string pattern = (temporaryDirectory() / "tavrino-selftest-XXXXXX").string();
        if (::mkdtemp(pattern.data())) folder_ = pattern;
    }
    ~Samples() {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    Samples(const Samples&) = delete;
    Samples& operator=(const Samples&) = delete;

    std::filesystem::path png(const std::string& name, int width = 64, int height = 48) const {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb(x * 4, y * 5, 128));
        }
        const auto path = folder_ / name;
        image.save(QString::fromStdString(path.string()), "PNG");
        return path;
    }
    std::filesystem::path pdf(const std::string& name) const {
        const auto path = folder_ / name;
        QPdfWriter writer(QString::fromStdString(path.string()));
        QPainter painter(&writer);
        painter.drawText(100, 100, "Tavrino");
        return path;
    }

  private:
    std::filesystem::path folder_;
};

// Every petal shown must work on every dropped file (run or skip), and one file must run it.
Failure checkPetals(const std::vector<std::filesystem::path>& files, MenuKind kind) {
    const std::vector<WheelItem> items = menuItems(files, kind);
    if (items.empty()) return "빈 메뉴: " + files.front().filename().string();
    for (const WheelItem& item : items) {
        bool anyRun = false;
        for (const auto& file : files) {
            const Applies verdict = applies(item, file);
            if (verdict == Applies::no) return title(item) + " 이(가) 맞지 않는 파일에 뜸";
            anyRun = anyRun || verdict == Applies::run;
        }
        if (!anyRun) return title(item) + " 은(는) 할 일이 없는데 뜸";
    }
    return std::nullopt;
}

Failure checkWheelMenus() {
    const Samples samples;
    const std::vector<std::filesystem::path> png{samples.png("sample.png")};
    if (auto failure = checkPetals(png, MenuKind::convert)) return failure;
    if (auto failure = checkPetals(png, MenuKind::tools)) return failure;
    const auto items = menuItems(png, MenuKind::convert);
    if (std::count(items.begin(), items.end(), WheelItem{ConvertItem{Fmt::png}}) != 0) {
        return std::string("PNG 파일에 PNG 변환이 뜸");
    }
    const std::vector<std::filesystem::path> mixed{samples.png("a.png"), samples.pdf("b.pdf")};
    return checkPetals(mixed, MenuKind::convert);
}

Failure checkStatusMenu() {
    const auto version = bundleInfo("version");
    const auto entries = statusMenuEntries(version);
    if (entries.size() != 6) return std::string("메뉴 항목 수가 6이 아님");
    const std::string heading = version ? "Tavrino " + *version : "Tavrino";
    if (entries.front().title != heading || entries.front().enabled) {
        return "첫 줄이 " + heading + "(비활성)가 아님: " + entries.front().title;
    }
    if (entries.back().title != "Tavrino 종료") return std::string("마지막 항목이 종료가 아님");
    return std::nullopt;
}

Failure checkHubWording() {
    if (finishMessage(3, 3, 0, std::nullopt, "PNG") != FinishMessage{true, "3개 완료"}) {
        return std::string("3개 완료 문구가 다름");
    }
    if (finishMessage(1, 0, 0, std::nullopt, "PNG") != FinishMessage{false, "실패"}) {
        return std::string("실패 문구가 다름");
    }
    if (!HubText::place({40.0}, 15.0)) return std::string("한 줄 문구가 허브에 들어가지 않음");
    return std::nullopt;
}

Failure checkWelcomeWording() {
    for (Desktop desktop : {Desktop::gnome, Desktop::kde, Desktop::xfce, Desktop::cinnamon,
                            Desktop::mate, Desktop::other}) {
        const std::string body = welcomeBody(desktop, WheelSupport::x11);
        for (const char* foreign : {"Option", "Dock", "메뉴 막대", "제어 센터", "노치"}) {
            if (body.find(foreign) != std::string::npos)
                return "안내 문구에 " + std::string(foreign);
        }
    }
    return std::nullopt;
}

Failure checkIcon() {
    const QImage icon = AnvilIcon::menuBarIcon(Qt::black, 4.0);
    int covered = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x)
            covered += qAlpha(icon.pixel(x, y)) > 127;
    }
    const double share = double(covered) / (icon.width() * icon.height());
    if (share < 0.25 || share > 0.6) return "아이콘 면적이 이상함: " + std::to_string(share);
    return std::nullopt;
}

Failure checkBundle() {
    const auto bundle = bundleDirectory();
    if (!bundle) return std::nullopt;  // a build-tree run has no bundle to check
    for (const char* key : {"identifier", "version"}) {
        if (bundleInfo(key).value_or("").empty()) return "Info.ini에 " + std::string(key) + " 없음";
    }
    const auto notices = *bundle / "Resources" / "THIRD_PARTY_NOTICES.txt";
    std::error_code error;
    if (std::filesystem::file_size(notices, error) == 0 || error) {
        return "오픈소스 고지 파일 없음: " + notices.string();
    }
    return std::nullopt;
}

Failure checkConversionRoundTrip() {
    const Samples samples;
    const auto png = samples.png("round.png", 40, 30);
    const auto jpg = convertFile(png, Fmt::jpg);
    const auto back = convertFile(jpg, Fmt::png);
    const QImage result(QString::fromStdString(back.string()));
    if (result.size() != QSize(40, 30)) return std::string("PNG→JPG→PNG 크기가 달라짐");
    return std::nullopt;
}

// The crop window with a ratio chosen, and the file its crop gives, agree on the size.
Failure checkCrop() {
    const Samples samples;
    const auto png = samples.png("crop.png", 80, 60);
    CropWindowController window(png, loadOrientedImage(png));
    window.ratioChanged(1);  // 1:1
    const QString label = window.sizeLabel()->text();
    if (label != "60 × 60 px") return "1:1 크기 표시가 다름: " + label.toStdString();
    const CropResult result = cropImage(png, window.canvas()->geometry().crop());
    const QImage written(QString::fromStdString(result.output.string()));
    if (written.size() != QSize(60, 60)) return std::string("자른 파일의 크기가 표시와 다름");
    return std::nullopt;
}

}  // namespace

std::vector<SelfCheck> selfChecks() {
    std::vector<SelfCheck> checks{
        {"상태 메뉴", checkStatusMenu}, {"원형 메뉴", checkWheelMenus},
        {"허브 문구", checkHubWording}, {"안내 문구", checkWelcomeWording},
        {"아이콘", checkIcon},          {"앱 묶음", checkBundle},
    };
    checks.push_back({"변환 왕복", checkConversionRoundTrip});
    checks.push_back({"자르기", checkCrop});
    return checks;
}

int runSelfTest(const std::vector<SelfCheck>& checks, std::ostream& out) {
    int failed = 0;
    for (const SelfCheck& check : checks) {
        Failure failure;
        try {
            failure = check.run();
        } catch (const std::exception& error) {
            failure = std::string(error.what());
        }
        if (failure) {
            ++failed;
            out << "FAIL\t" << check.name << '\t' << *failure << '\n';
        } else {
            out << "OK\t" << check.name << '\n';
        }
    }
    out << "자체 점검: " << checks.size() - failed << "개 통과, " << failed << "개 실패"
        << std::endl;
    return failed == 0 ? 0 : 1;
}

}  // namespace tavrino::app
