#pragma once
// The tray item's menu as a table, top to bottom, so that its titles, order and states can
// be checked without a tray.

#include <optional>
#include <string>
#include <vector>

namespace tavrino::app {

struct StatusMenuEntry {
    enum class Action { none, showWelcome, openNotices, quit };
    bool separator = false;
    std::string title;
    Action action = Action::none;
    std::string shortcut;  // Qt's portable text, e.g. "Ctrl+Q"
    bool enabled = true;
    bool operator==(const StatusMenuEntry&) const = default;
};

// `version`: Info.ini's version, when the bundle has one.
std::vector<StatusMenuEntry> statusMenuEntries(const std::optional<std::string>& version);

}  // namespace tavrino::app
