#pragma once
// The program a long-running LibreOffice is started as. Debian's `soffice` is a shell script
// that runs `oosplash`, which runs `soffice.bin` and starts it again when it asks to be
// restarted (as it does once on a new profile). The warm instance's watchdog does that
// restarting itself, so it can start `soffice.bin` directly and spare the script's dozen
// processes and the launcher on every cold start.

#include <filesystem>
#include <string>
#include <vector>

namespace tavrino::docs {

struct OfficeProgram {
    std::filesystem::path program;
    // NAME=VALUE entries to start it with: what the launcher would have set, and a PATH.
    std::vector<std::string> environment;
    // The folder the real program file is in (LibreOffice's `program` folder), links followed;
    // empty when the program could not be found.
    std::filesystem::path folder;
};

// `soffice` as given, or looked up in PATH when it is a bare name; when it is LibreOffice's
// launcher script with `soffice.bin` beside it (after following links), that program instead.
OfficeProgram officeProgram(const std::filesystem::path& soffice);

// Exit statuses with which soffice.bin asks to be started again (after creating a profile or
// synchronising extensions; after a crash it recovered from).
inline constexpr int kOfficeRestart = 79;
inline constexpr int kOfficeCrashRestart = 81;

}  // namespace tavrino::docs
