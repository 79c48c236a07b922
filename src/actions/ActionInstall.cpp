#include "actions/ActionInstall.h"

#include <system_error>

#include "actions/ActionFiles.h"
#include "platform/Paths.h"
#include "platform/WholeFile.h"

namespace tavrino {
namespace {

namespace fs = std::filesystem;

// KIO wants a user's service menus executable (so that a downloaded file cannot act by
// itself); system-wide files are trusted as packaged and stay plain data.
enum class Trust { userFile, systemFile };

void writeAll(const fs::path& root, const std::vector<ActionFile>& files, Trust trust) {
    for (const ActionFile& file : files) {
        const bool executable = file.executable && trust == Trust::userFile;
        writeWholeFile(root / file.relative, file.text,
                       executable
                           ? fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec
                           : fs::perms::none);
    }
}

// Our files in a folder are the ones named with our prefix; anything else is left alone.
void removeOurs(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().filename().string().starts_with(actionFilePrefix)) {
            fs::remove(entry.path(), error);
        }
    }
}

void mergeThunar(const ActionFolders& folders, const std::vector<FileAction>& actions,
                 const fs::path& bundle) {
    const fs::path file = folders.configHome / "Thunar" / "uca.xml";
    std::error_code error;
    if (actions.empty() && !fs::exists(file, error)) return;
    const std::string existing = readWholeFile(file).value_or("");
    writeWholeFile(file, mergedThunarActions(existing, actions, bundle));
}

void removeNautilus(const ActionFolders& folders) {
    std::error_code ignored;
    fs::remove_all(folders.dataHome / "nautilus" / "scripts" / actionSubmenu, ignored);
}

}  // namespace

ActionFolders userActionFolders() {
    return {dataHome(), configHome()};
}

void installUserActions(const ActionFolders& folders, const fs::path& bundle) {
    const auto actions = fileActions();
    removeUserActions(folders);
    writeAll(folders.dataHome, dolphinServiceMenus(actions, bundle), Trust::userFile);
    writeAll(folders.dataHome, nemoActions(actions, bundle), Trust::userFile);
    writeAll(folders.dataHome, nautilusScripts(actions, bundle), Trust::userFile);
    mergeThunar(folders, actions, bundle);
}

void removeUserActions(const ActionFolders& folders) {
    removeOurs(folders.dataHome / "kio" / "servicemenus");
    removeOurs(folders.dataHome / "nemo" / "actions");
    removeNautilus(folders);
    mergeThunar(folders, {}, {});
}

void installSystemActions(const fs::path& share, const fs::path& bundle) {
    const auto actions = fileActions();
    writeAll(share, dolphinServiceMenus(actions, bundle), Trust::systemFile);
    writeAll(share, nemoActions(actions, bundle), Trust::systemFile);
}

}  // namespace tavrino
