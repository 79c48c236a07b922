#pragma once
// Puts the file-manager actions (ActionFiles.h) on disk or takes them away again. The
// package writes Dolphin's and Nemo's into /usr/share; a user's own copy (scripts/run,
// `tavrino-cli file-actions install`) writes all four file managers' into the user's data
// and config folders. Each file is written through a temporary name, so a file manager
// never reads half of one. Failures throw std::filesystem::filesystem_error or
// std::runtime_error (a uca.xml that is not Thunar's).

#include <filesystem>

namespace tavrino {

struct ActionFolders {
    std::filesystem::path dataHome;    // $XDG_DATA_HOME, ~/.local/share by default
    std::filesystem::path configHome;  // $XDG_CONFIG_HOME, ~/.config by default
};
ActionFolders userActionFolders();

// Dolphin, Nemo, Nautilus and Thunar, for actions run by the bundle folder's tavrino-action.
// Earlier actions of ours are replaced, so petals that no longer exist disappear too.
void installUserActions(const ActionFolders& folders, const std::filesystem::path& bundle);
void removeUserActions(const ActionFolders& folders);

// Dolphin and Nemo below a system data folder (a package's <root>/usr/share).
void installSystemActions(const std::filesystem::path& share, const std::filesystem::path& bundle);

}  // namespace tavrino
