#pragma once
// The installed bundle: <prefix>/lib/tavrino/ holds the executables, Info.ini and
// Resources/. A program whose (resolved) executable folder has no Info.ini runs bare, from
// the build tree.

#include <filesystem>
#include <optional>
#include <string>

namespace tavrino {

// The folder of this process's executable, with links resolved.
std::filesystem::path executableDirectory();

bool runningFromBundle();

// The bundle folder when running from one.
std::optional<std::filesystem::path> bundleDirectory();

// A value of Info.ini's [Bundle] section ("version", "identifier"), when present.
std::optional<std::string> bundleInfo(const std::string& key);

// Reads key=value from an INI file's section; no value when the file, section or key is
// missing.
std::optional<std::string> iniValue(const std::filesystem::path& file, const std::string& section,
                                    const std::string& key);

}  // namespace tavrino
