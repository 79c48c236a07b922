#include "app/Autostart.h"

#include <system_error>

#include "platform/WholeFile.h"

namespace tavrino::app {

std::filesystem::path autostartEntry(const std::filesystem::path& configHome) {
    return configHome / "autostart" / (std::string(TAVRINO_IDENTIFIER) + ".desktop");
}

void applyAutostart(bool enabled, const std::filesystem::path& configHome,
                    const std::filesystem::path& program) {
    const auto entry = autostartEntry(configHome);
    if (!enabled) {
        std::error_code ignored;  // already gone is the wanted state
        std::filesystem::remove(entry, ignored);
        return;
    }
    writeWholeFile(entry,
                   "[Desktop Entry]\n"
                   "Type=Application\n"
                   "Name=Tavrino\n"
                   "Comment=Convert files while dragging them\n"
                   "Exec=" +
                       program.string() +
                       "\n"
                       "Icon=" TAVRINO_IDENTIFIER
                       "\n"
                       "Terminal=false\n"
                       "NoDisplay=true\n"
                       "X-GNOME-Autostart-enabled=true\n");
}

}  // namespace tavrino::app
