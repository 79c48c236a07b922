#include "app/StatusMenu.h"

namespace tavrino::app {

std::vector<StatusMenuEntry> statusMenuEntries(const std::optional<std::string>& version) {
    using Action = StatusMenuEntry::Action;
    const std::string heading =
        version && !version->empty() ? "Tavrino " + *version : std::string("Tavrino");
    return {
        {false, heading, Action::none, "", false},
        {true, "", Action::none, "", false},
        {false, "사용법 안내…", Action::showWelcome, "", true},
        {false, "오픈소스 고지…", Action::openNotices, "", true},
        {true, "", Action::none, "", false},
        {false, "Tavrino 종료", Action::quit, "Ctrl+Q", true},
    };
}

}  // namespace tavrino::app
