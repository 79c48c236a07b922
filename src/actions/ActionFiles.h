#pragma once
// The files that put the petals into each file manager's right-click menu, as text. Every
// entry runs `tavrino-action ITEM FILE...` from the bundle folder, which carries the item out
// through tavrino-cli and shows the finish text as a desktop notification.
//   Dolphin: one service menu per petal (so its MIME types are exactly the petal's), all in
//            the submenu "Tavrino", under kio/servicemenus.
//   Nemo:    one action per petal under nemo/actions, named "Tavrino: ..." (Nemo's own
//            actions have no submenus).
//   Nautilus: one script per petal in the scripts folder "Tavrino"; Nautilus shows every
//            script for every file, and the run refuses what does not fit.
//   Thunar:  custom actions in the submenu "Tavrino", merged into the user's uca.xml.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "actions/ActionCatalog.h"

namespace tavrino {

struct ActionFile {
    std::filesystem::path relative;  // below the data folder (share/ or ~/.local/share)
    std::string text;
    bool executable = false;
};

inline constexpr std::string_view actionProgram = "tavrino-action";
inline constexpr std::string_view actionSubmenu = "Tavrino";
// Every file and Thunar action of ours starts with this, so that removing finds them all.
inline constexpr std::string_view actionFilePrefix = TAVRINO_IDENTIFIER ".";
inline constexpr std::string_view thunarIdPrefix = "tavrino-";

// Quoting for a POSIX shell and for GLib's command-line parser alike.
std::string shellQuoted(std::string_view text);
// Quoting for the Exec key of a desktop entry.
std::string execQuoted(std::string_view text);

std::vector<ActionFile> dolphinServiceMenus(const std::vector<FileAction>& actions,
                                            const std::filesystem::path& bundle);
std::vector<ActionFile> nemoActions(const std::vector<FileAction>& actions,
                                    const std::filesystem::path& bundle);
std::vector<ActionFile> nautilusScripts(const std::vector<FileAction>& actions,
                                        const std::filesystem::path& bundle);

// Thunar's uca.xml with our actions replaced by `actions` (none: removed) and everything
// else kept as it was. An empty `existing` starts a new file; one that is not Thunar's XML
// throws std::runtime_error, so the user's actions are never lost to a rewrite.
std::string mergedThunarActions(std::string_view existing, const std::vector<FileAction>& actions,
                                const std::filesystem::path& bundle);

}  // namespace tavrino
