#include "app/WelcomeText.h"

#include <algorithm>
#include <cstdlib>

namespace tavrino::app {
namespace {

constexpr const char* runningSentence =
    "다른(이전) Tavrino가 실행 중입니다 — 트레이 아이콘이나 시스템 모니터에서 종료한 뒤 다시 "
    "실행하세요.";

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

}  // namespace

Desktop desktopFrom(std::string_view currentDesktop) {
    std::vector<std::string> names;
    size_t at = 0;
    while (at <= currentDesktop.size()) {
        const size_t end = std::min(currentDesktop.find(':', at), currentDesktop.size());
        names.push_back(upper(currentDesktop.substr(at, end - at)));
        at = end + 1;
    }
    const auto has = [&](std::string_view name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    if (has("KDE")) return Desktop::kde;
    if (has("X-CINNAMON") || has("CINNAMON")) return Desktop::cinnamon;
    if (has("XFCE")) return Desktop::xfce;
    if (has("MATE")) return Desktop::mate;
    if (has("GNOME")) return Desktop::gnome;
    return Desktop::other;
}

Desktop currentDesktop() {
    const char* value = std::getenv("XDG_CURRENT_DESKTOP");
    return desktopFrom(value ? value : "");
}

bool waylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    if (type && *type) return std::string_view(type) == "wayland";
    // Sessions started without a display manager often name no type.
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return display && *display;
}

TraySettings traySettings(Desktop desktop) {
    switch (desktop) {
        case Desktop::gnome:
            return {"확장 프로그램 열기",
                    {{"gnome-extensions-app"}, {"gnome-shell-extension-prefs"}},
                    "GNOME은 기본 상태에서 트레이 아이콘을 보여 주지 않으니 확장 프로그램에서 "
                    "\"AppIndicator and KStatusNotifierItem Support\"를 켜세요"};
        case Desktop::kde:
            return {"시스템 설정 열기",
                    {{"systemsettings"}, {"systemsettings5"}},
                    "시스템 트레이의 펼침 화살표를 열어 보고, 시스템 트레이 설정 > 항목에서 "
                    "Tavrino를 \"항상 표시\"로 바꾸세요"};
        case Desktop::xfce:
            return {"패널 설정 열기",
                    {{"xfce4-panel", "--preferences"}},
                    "패널 설정 > 항목에서 \"상태 알림 플러그인\"이나 \"알림 영역\"을 패널에 "
                    "추가하세요"};
        case Desktop::cinnamon:
            return {"애플릿 설정 열기",
                    {{"cinnamon-settings", "applets"}},
                    "애플릿 설정에서 \"시스템 트레이\"가 패널에 있는지 확인하세요"};
        case Desktop::mate:
            return {"제어 센터 열기",
                    {{"mate-control-center"}},
                    "패널에서 마우스 오른쪽 버튼 > 패널에 추가에서 \"알림 영역\"을 추가하세요"};
        case Desktop::other:
            break;
    }
    return {"",
            {},
            "데스크톱 패널에 시스템 트레이(알림 영역)가 있는지 확인하세요. 트레이가 없으면 "
            "Tavrino를 다시 실행할 때 이 안내가 뜹니다"};
}

std::string waylandAlternatives() {
    return "파일 관리자의 오른쪽 클릭 메뉴(Tavrino)와 터미널의 tavrino-cli는 지금도 쓸 수 "
           "있습니다.";
}

std::string companionName(Desktop desktop) {
    return desktop == Desktop::kde ? "KWin 효과" : "GNOME Shell 확장";
}

std::string welcomeBody(Desktop desktop, WheelSupport support) {
    // The reporter is the same for the user on either compositor; only what it is called
    // there, and who reads it at log-in, differ.
    const std::string reporter = companionName(desktop) + " \"Tavrino drag reporter\"(끌기 도우미)";
    const std::string reader = desktop == Desktop::kde ? "KWin은 효과를" : "GNOME Shell은 확장을";
    std::string body =
        "파일을 끌어 옮기는 동안 Shift를 누르고 있으면 변환 메뉴, Alt를 누르고 있으면 도구 "
        "메뉴가 뜹니다.";
    switch (support) {
        case WheelSupport::x11:
            break;
        case WheelSupport::companionActive:
            body += "\n\nWayland 세션: " + reporter +
                    "가 켜져 있어 원형 메뉴가 뜹니다. 끌기 도우미는 끌기의 시작과 포인터, 누른 "
                    "키만 이 컴퓨터 안의 Tavrino에 알립니다.";
            break;
        case WheelSupport::companionOff:
            body += "\n\nWayland 세션에서는 " + reporter +
                    "가 켜져 있어야 원형 메뉴가 뜹니다. 지금은 꺼져 있습니다: \"끌기 도우미 "
                    "켜기\"를 누르세요. " +
                    waylandAlternatives();
            break;
        case WheelSupport::companionUnread:
            body += "\n\nWayland 세션에서는 " + reporter + "가 있어야 원형 메뉴가 뜹니다. " +
                    reader +
                    " 로그인할 때 읽으니 로그아웃했다가 다시 로그인한 뒤 Tavrino를 다시 "
                    "실행하세요. " +
                    waylandAlternatives();
            break;
        case WheelSupport::unsupported:
            body +=
                "\n\n이 Wayland 데스크톱에서는 다른 프로그램의 끌기를 알 수 없어 원형 메뉴가 "
                "뜨지 않습니다. 로그인 화면에서 X11(Xorg) 세션이나 GNOME, KDE Plasma를 고르면 "
                "원형 메뉴도 뜹니다. " +
                waylandAlternatives();
            break;
    }
    body +=
        "\n\n패널 트레이(알림 영역)의 모루 아이콘에서 Tavrino를 종료합니다. 아이콘이 안 "
        "보이면 " +
        traySettings(desktop).hint + ".";
    body +=
        "\n\n작업 표시줄에는 아이콘이 없습니다. 이 안내는 Tavrino를 다시 실행하면 언제든 "
        "다시 뜹니다.";
    return body;
}

namespace ConflictTexts {

std::string body() {
    return std::string(runningSentence) +
           "\n\n아래 버튼을 누르면 이전 Tavrino에 종료를 요청하고, 끝나면 이 Tavrino가 이어서 "
           "실행됩니다.";
}

std::string waiting() {
    return std::string(runningSentence) +
           "\n\n이전 Tavrino에 종료를 요청했습니다. 끝나기를 기다리는 중입니다(최대 10초)…";
}

std::string timedOut() {
    return "이전 Tavrino가 끝나지 않았습니다. 트레이 아이콘이나 시스템 모니터에서 종료한 뒤 다시 "
           "누르거나, Tavrino를 다시 실행하세요.";
}

}  // namespace ConflictTexts
}  // namespace tavrino::app
