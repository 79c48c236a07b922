#pragma once
// The commands of tavrino-cli. Each takes the arguments after its name, writes its result
// to standard output and returns the exit status; a UsageError means the arguments were
// malformed (status 2).

#include <stdexcept>
#include <string>
#include <vector>

namespace tavrino::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr const char* usageLine =
    "usage: tavrino-cli menu [--tools] FILE... | applies ITEM FILE... | run ITEM FILE... | "
    "crop X,Y,W,H FILE | file-actions install|remove";

// The full help that --help prints: the commands, the items and the exit statuses.
extern const char* const helpText;

int menuCommand(const std::vector<std::string>& arguments);
int appliesCommand(const std::vector<std::string>& arguments);
// Carries the item out over the files through the run engine: the log lines as they happen,
// then the finish text. Status 0 when the run is ok, 1 when any file failed.
int runCommand(const std::vector<std::string>& arguments);

// Crops one image to X,Y,W,H (pixels from the top-left of the upright picture), as "적용"
// in the crop window does, and logs the outcome. Status 0 when the file was written, 1 when
// the crop failed.
int cropCommand(const std::vector<std::string>& arguments);

// Installs or removes the file-manager actions: `install` and `remove` for this user, with
// the actions run by this program's folder; `system SHARE BUNDLE` writes the package's.
int fileActionsCommand(const std::vector<std::string>& arguments);

// Dispatches on the first argument.
int runCommandLine(const std::vector<std::string>& arguments);

}  // namespace tavrino::cli
