#pragma once
// Running the bundled document tools (pelgrin, wordbridge) and system programs as child
// processes. Standard output and standard error share one pipe, read to its end before the
// child is waited for, so a chatty child can never block on a full pipe. Failures are
// ConvertErrors naming the program and quoting its last line of output.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrino {

struct BundledTool {
    std::string name;       // executable name
    std::string vendorDir;  // folder under vendor/ in a development layout
    std::string label;      // how messages name it
};

inline const BundledTool pelgrinTool{"pelgrin", "pelgrin", "한글 변환(pelgrin)"};
inline const BundledTool wordbridgeTool{"wordbridge", "wbkit", "Word 변환(wordbridge)"};

// Where a tool may live, in the order they are tried: the bundle's Resources folder (when
// there is one), the running program's folder, vendor/<vendorDir>/<name> in up to five
// parents of that folder, and finally docengine/<name> in the same parents (the build tree, where
// the tools are built beside the programs that call them).
std::vector<std::filesystem::path> toolCandidates(
    const std::string& name, const std::string& vendorDir,
    const std::optional<std::filesystem::path>& resourcesDir,
    const std::filesystem::path& programDir);

// The first candidate that is an executable file, for this process.
std::optional<std::string> bundledToolPath(const std::string& name, const std::string& vendorDir);

// Runs a bundled tool and returns everything it printed. Throws ConvertError: for a path
// argument holding an unusable character (checked first), a missing tool, or a non-zero exit
// status; and the system's error when the program cannot be started.
std::string runTool(const std::optional<std::string>& exe, const std::string& label,
                    const std::vector<std::string>& args);

// Runs a system program by absolute path, optionally in `cwd`. Throws ConvertError like
// runTool, naming the program by its file name.
void runProcess(const std::string& exe, const std::vector<std::string>& args,
                const std::optional<std::filesystem::path>& cwd = std::nullopt);

// The captured output as text: empty when the bytes are not valid UTF-8.
std::string decodedOutput(std::string bytes);

// The last non-empty line after splitting at line feeds; "" when there is none.
std::string lastLine(std::string_view text);

}  // namespace tavrino
