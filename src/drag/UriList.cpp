#include "drag/UriList.h"

#include <unistd.h>

#include <array>
#include <cctype>
#include <string>

namespace tavrino {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decoding gives raw bytes; Linux file names are byte strings, so the UTF-8 that
// sources produce for Korean names passes through untouched.
std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        const char byte = static_cast<char>(high * 16 + low);
        if (byte == '\0') return std::nullopt;
        out.push_back(byte);
        i += 2;
    }
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

bool isThisHost(std::string_view host) {
    if (host.empty() || host == "localhost") return true;
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0) return false;
    return host == std::string_view(name.data());
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

}  // namespace

std::optional<std::filesystem::path> pathFromFileUrl(std::string_view url) {
    constexpr std::string_view scheme = "file://";
    if (!startsWithNoCase(url, scheme)) return std::nullopt;
    // A URL carries control characters only escaped; a raw one (a NUL above all, which
    // would cut the path short in every system call) means the list is not what it claims.
    for (const char c : url) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return std::nullopt;
    }
    std::string_view rest = url.substr(scheme.size());
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    if (!isThisHost(rest.substr(0, slash))) return std::nullopt;
    rest = rest.substr(slash);
    // A query or fragment has no meaning for a local file; a literal '#' or '?' in a name
    // is always escaped by the sources.
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::optional<std::string> decoded = percentDecoded(rest);
    if (!decoded || decoded->empty()) return std::nullopt;
    return std::filesystem::path(*decoded);
}

std::vector<std::filesystem::path> fileUrlsFromUriList(std::string_view text) {
    std::vector<std::filesystem::path> files;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (std::optional<std::filesystem::path> path = pathFromFileUrl(line)) {
            files.push_back(std::move(*path));
        }
    }
    return files;
}

}  // namespace tavrino
