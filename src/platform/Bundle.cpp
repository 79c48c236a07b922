#include "platform/Bundle.h"

#include <fstream>
#include <system_error>

namespace tavrino {
namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::filesystem::path executableDirectory() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : exe.parent_path();
}

bool runningFromBundle() {
    return bundleDirectory().has_value();
}

std::optional<std::filesystem::path> bundleDirectory() {
    const auto dir = executableDirectory();
    std::error_code error;
    if (std::filesystem::is_regular_file(dir / "Info.ini", error)) return dir;
    return std::nullopt;
}

std::optional<std::string> bundleInfo(const std::string& key) {
    const auto dir = bundleDirectory();
    if (!dir) return std::nullopt;
    return iniValue(*dir / "Info.ini", "Bundle", key);
}

std::optional<std::string> iniValue(const std::filesystem::path& file, const std::string& section,
                                    const std::string& key) {
    std::ifstream in(file);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            inSection = line == "[" + section + "]";
            continue;
        }
        const size_t equals = line.find('=');
        if (inSection && equals != std::string::npos && trimmed(line.substr(0, equals)) == key) {
            return trimmed(line.substr(equals + 1));
        }
    }
    return std::nullopt;
}

}  // namespace tavrino
