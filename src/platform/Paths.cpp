#include "platform/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace tavrino {
namespace {

// An XDG variable counts only when it holds an absolute path.
std::filesystem::path xdgDirectory(const char* variable, const char* fallback) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
    return homeDirectory() / fallback;
}

}  // namespace

std::filesystem::path homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && home[0]) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

std::filesystem::path stateHome() {
    return xdgDirectory("XDG_STATE_HOME", ".local/state");
}
std::filesystem::path configHome() {
    return xdgDirectory("XDG_CONFIG_HOME", ".config");
}
std::filesystem::path dataHome() {
    return xdgDirectory("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path temporaryDirectory() {
    std::error_code error;
    std::filesystem::path dir = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : dir;
}

std::string withTilde(const std::filesystem::path& path) {
    const std::string home = homeDirectory().string();
    const std::string text = path.string();
    if (home.size() > 1 && text.starts_with(home + "/")) return "~" + text.substr(home.size());
    return text;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
    return lowered(ext);
}

}  // namespace tavrino
