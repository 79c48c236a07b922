#include "app/Autostart.h"

#include <fstream>
#include <system_error>

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
    std::filesystem::create_directories(entry.parent_path());
    auto temporary = entry;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Tavrino\n"
               "Comment=Convert files while dragging them\n"
               "Exec="
            << program.string()
            << "\n"
               "Icon=" TAVRINO_IDENTIFIER
               "\n"
               "Terminal=false\n"
               "NoDisplay=true\n"
               "X-GNOME-Autostart-enabled=true\n";
        out.close();
        if (!out) {
            std::filesystem::remove(temporary);
            throw std::filesystem::filesystem_error("autostart entry not written", temporary,
                                                    std::make_error_code(std::errc::io_error));
        }
    }
    std::filesystem::rename(temporary, entry);
}

}  // namespace tavrino::app
