#include "cli/Commands.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "actions/ActionInstall.h"
#include "cli/Interrupt.h"
#include "menu/MenuRules.h"
#include "platform/Bundle.h"
#include "platform/Log.h"
#include "run/RiskCheck.h"
#include "run/RunEngine.h"
#include "tools/MediaWork.h"
#include "tools/Refusal.h"

namespace tavrino::cli {
namespace {

std::vector<std::filesystem::path> pathsOf(std::vector<std::string>::const_iterator first,
                                           std::vector<std::string>::const_iterator last) {
    if (first == last) throw UsageError("no files");
    return {first, last};
}

const char* verdictWord(Applies verdict) {
    switch (verdict) {
        case Applies::run:
            return "run";
        case Applies::skip:
            return "skip";
        case Applies::no:
            return "no";
    }
    return "no";
}

// "X,Y,W,H": four finite numbers, the size not negative.
crop::Rect parseRect(const std::string& text) {
    double values[4] = {};
    const char* next = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (next == end || *next != ',') throw UsageError("malformed rectangle: " + text);
            ++next;
        }
        const auto [rest, error] = std::from_chars(next, end, values[i]);
        if (error != std::errc() || !std::isfinite(values[i])) {
            throw UsageError("malformed rectangle: " + text);
        }
        next = rest;
    }
    if (next != end || values[2] < 0 || values[3] < 0) {
        throw UsageError("malformed rectangle: " + text);
    }
    return {values[0], values[1], values[2], values[3]};
}

}  // namespace

int menuCommand(const std::vector<std::string>& arguments) {
    auto first = arguments.begin();
    MenuKind kind = MenuKind::convert;
    if (first != arguments.end() && *first == "--tools") {
        kind = MenuKind::tools;
        ++first;
    }
    const auto paths = pathsOf(first, arguments.end());
    for (const WheelItem& item : menuItems(paths, kind))
        std::cout << spelling(item) << '\n';
    return 0;
}

int appliesCommand(const std::vector<std::string>& arguments) {
    if (arguments.empty()) throw UsageError("no item");
    const auto item = parseWheelItem(arguments.front());
    if (!item) throw UsageError("malformed item: " + arguments.front());
    for (const auto& path : pathsOf(arguments.begin() + 1, arguments.end())) {
        std::cout << verdictWord(applies(*item, path)) << '\n';
    }
    return 0;
}

int runCommand(const std::vector<std::string>& arguments) {
    if (arguments.empty()) throw UsageError("no item");
    const auto item = parseWheelItem(arguments.front());
    if (!item) throw UsageError("malformed item: " + arguments.front());
    const auto paths = pathsOf(arguments.begin() + 1, arguments.end());
    const InterruptWatch interrupt;
    RunReport report;
    try {
        report = runItem(*item, paths, standardOperations(), [&interrupt](int, int) {
            if (interrupt.interrupted())
                throw RunStopped("끝내라는 신호를 받아 남은 파일은 그대로 둠");
        });
    } catch (const RunStopped&) {
        std::cout.flush();
        interrupt.endBySignal();
    }
    if (report.finish.ok && !report.risks.empty()) {
        // The hub's text, then what the desktop notification would say: this program posts
        // none.
        std::cout << riskHubText(report.risks) << '\n' << riskNoticeTitle(report.risks) << '\n';
        for (const std::string& line : riskNoticeLines(report.risks.front().risks))
            std::cout << line << '\n';
        std::cout.flush();
        return 0;
    }
    std::cout << report.finish.text << std::endl;
    return report.finish.ok ? 0 : 1;
}

int cropCommand(const std::vector<std::string>& arguments) {
    if (arguments.size() != 2) throw UsageError("crop takes a rectangle and one file");
    const crop::Rect rect = parseRect(arguments[0]);
    const std::filesystem::path source = arguments[1];
    // The wheel offers crop for images only; the command line refuses the rest the same way.
    if (applies(ToolItem{Tool::crop}, source) != Applies::run) {
        try {
            refuseFile(Tool::crop, source);
        } catch (const std::exception& error) {
            log("자르기 실패: " + source.filename().string() + ": " + error.what());
            return 1;
        }
    }
    try {
        return mediaWork().cropAndLog(source, rect) ? 0 : 1;
    } catch (const ModuleError& error) {
        log("자르기 실패: " + source.filename().string() + ": " + error.what());
        return 1;
    }
}

int fileActionsCommand(const std::vector<std::string>& arguments) {
    const std::string what = arguments.empty() ? "" : arguments.front();
    if (what == "install" && arguments.size() == 1) {
        const ActionFolders folders = userActionFolders();
        installUserActions(folders, executableDirectory());
        std::cout << "파일 관리자 메뉴 설치: " << folders.dataHome.string() << ", "
                  << (folders.configHome / "Thunar").string() << '\n';
        return 0;
    }
    if (what == "remove" && arguments.size() == 1) {
        removeUserActions(userActionFolders());
        std::cout << "파일 관리자 메뉴 제거\n";
        return 0;
    }
    if (what == "system" && arguments.size() == 3) {
        installSystemActions(arguments[1], arguments[2]);
        return 0;
    }
    throw UsageError("file-actions needs install, remove or system SHARE BUNDLE");
}

const char* const helpText =
    "usage: tavrino-cli COMMAND ...\n"
    "\n"
    "The conversions and tools of the Tavrino wheel from the command line. Results are\n"
    "written beside each source under a name that never overwrites an existing file.\n"
    "\n"
    "  menu [--tools] FILE...   the petals the wheel would show for these files, one a line\n"
    "  applies ITEM FILE...     run, skip or no for each file, one a line\n"
    "  run ITEM FILE...         carry the item out, as a drop on its petal does\n"
    "  crop X,Y,W,H FILE        write the rectangle of an image as \"<name> 자름.<ext>\", as\n"
    "                           the crop window does (pixels from the top-left of the picture\n"
    "                           the right way up; the edges go out to whole pixels)\n"
    "  file-actions install     put the petals into your file managers' right-click menus\n"
    "                           (Nautilus, Dolphin, Thunar, Nemo), in the submenu Tavrino\n"
    "  file-actions remove      take them out again\n"
    "  --help                   this text\n"
    "  --version                the version\n"
    "\n"
    "ITEM is a petal as menu prints it: convert(png), convert(pdf), tool(rotate), ...\n"
    "Interrupted (Ctrl-C), run finishes the files it has begun, leaves the rest untouched and\n"
    "ends by the signal; a second Ctrl-C ends it at once.\n"
    "\n"
    "Exit status: 0 success, 1 a file failed, 2 malformed arguments.\n";

int runCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) throw UsageError("no command");
    const std::string& command = arguments.front();
    if (command == "--help" || command == "-h") {
        std::cout << helpText;
        return 0;
    }
    if (command == "--version") {
        std::cout << "tavrino-cli " << TAVRINO_VERSION << '\n';
        return 0;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "menu") return menuCommand(rest);
    if (command == "applies") return appliesCommand(rest);
    if (command == "run") return runCommand(rest);
    if (command == "crop") return cropCommand(rest);
    if (command == "file-actions") return fileActionsCommand(rest);
    throw UsageError("unknown command: " + command);
}

}  // namespace tavrino::cli
