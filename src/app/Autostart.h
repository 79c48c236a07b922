#pragma once
// Start at login: the XDG autostart entry under the user's config home, present while the
// "startAtLogin" setting is on (the default) and removed once it is turned off.

#include <filesystem>

namespace tavrino::app {

std::filesystem::path autostartEntry(const std::filesystem::path& configHome);

// Writes the entry pointing at program (through a temporary file, so a session never reads
// half of it) or removes it. Failures to write are reported by std::filesystem_error.
void applyAutostart(bool enabled, const std::filesystem::path& configHome,
                    const std::filesystem::path& program);

}  // namespace tavrino::app
