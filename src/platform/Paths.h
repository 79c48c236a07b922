#pragma once
// Where things live on this machine, following the XDG base directory conventions.

#include <filesystem>

namespace tavrino {

std::filesystem::path homeDirectory();
// $XDG_STATE_HOME, or ~/.local/state.
std::filesystem::path stateHome();
// $XDG_CONFIG_HOME, or ~/.config.
std::filesystem::path configHome();
// $XDG_CACHE_HOME, or ~/.cache.
std::filesystem::path cacheHome();
// $TMPDIR, or /tmp.
std::filesystem::path temporaryDirectory();

// "~/..." for a path under the home directory, the path itself otherwise.
std::string withTilde(const std::filesystem::path& path);

}  // namespace tavrino
