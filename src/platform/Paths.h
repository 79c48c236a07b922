#pragma once
// Where things live on this machine, following the XDG base directory conventions.

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrino {

std::filesystem::path homeDirectory();
// $XDG_STATE_HOME, or ~/.local/state.
std::filesystem::path stateHome();
// $XDG_CONFIG_HOME, or ~/.config.
std::filesystem::path configHome();
// $XDG_DATA_HOME, or ~/.local/share.
std::filesystem::path dataHome();
// $TMPDIR, or /tmp.
std::filesystem::path temporaryDirectory();

// "~/..." for a path under the home directory, the path itself otherwise.
std::string withTilde(const std::filesystem::path& path);

// ASCII letters lower-cased; other bytes (UTF-8 included) as they are.
std::string lowered(std::string_view text);
// The lower-cased path extension without the dot ("" when there is none).
std::string lowerExtension(const std::filesystem::path& path);

}  // namespace tavrino
