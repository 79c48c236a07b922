#include "convert/OutputNaming.h"

#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "convert/ConvertError.h"
#include "convert/NamingTurn.h"
#include "convert/PendingFile.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

bool existsAt(const fs::path& path) {
    struct stat info {};
    // lstat: a dangling link still occupies the name.
    return ::lstat(path.c_str(), &info) == 0;
}

std::string stemOf(const fs::path& source) {
    return source.stem().string();
}

// A version-4 UUID in its canonical upper-case text form (8-4-4-4-12 hex digits).
std::string newUUID() {
    std::array<unsigned char, 16> bytes{};
    size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (n < 0 && errno != EINTR)
            throw fs::filesystem_error("getrandom",
                                       std::error_code(errno, std::generic_category()));
        if (n > 0) filled += static_cast<size_t>(n);
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        text += hex;
    }
    return text;
}

// Decodes one UTF-8 scalar at `i`; returns false for a malformed or overlong sequence.
bool nextScalar(std::string_view text, size_t& i, char32_t& scalar) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || i + length > text.size()) return false;
    scalar = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return false;
        scalar = (scalar << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (scalar < smallest[length] || scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF)) {
        return false;
    }
    i += static_cast<size_t>(length);
    return true;
}

}  // namespace

fs::path OutputName::candidate(int n) const {
    std::string tail = suffix.empty() ? "" : " " + suffix;
    if (n >= 2) tail += " " + std::to_string(n);
    if (!extension.empty()) tail += "." + extension;
    if (!counted) return folder / (base + tail);
    const size_t limit = longestFileName(folder);
    if (base.size() + tail.size() <= limit) return folder / (base + tail);
    return folder / (cutToBytes(base, limit > tail.size() ? limit - tail.size() : 0) + tail);
}

std::string OutputName::hiddenPrefix(size_t extra) const {
    const size_t limit = longestFileName(folder);
    const size_t room = limit > extra + 2 ? limit - extra - 2 : 0;
    return "." + cutToBytes(candidate(1).filename().string(), room) + "-";
}

fs::path OutputName::firstFree() const {
    awaitNamingTurn();
    for (int n = 1;; ++n) {
        fs::path path = candidate(n);
        if (!counted || !existsAt(path)) return path;
    }
}

OutputName OutputName::exactly(const fs::path& path) {
    return {path.parent_path(), path.filename().string(), "", false, ""};
}

OutputName outputName(const fs::path& source, std::string_view ext) {
    return {source.parent_path(), stemOf(source), std::string(ext), true, ""};
}

OutputName toolOutputName(const fs::path& source, std::string_view suffix, std::string_view ext) {
    return {source.parent_path(), stemOf(source), std::string(ext), true, std::string(suffix)};
}

OutputName imageFolderName(const fs::path& source) {
    return {source.parent_path(), stemOf(source), "", true, "이미지"};
}

fs::path outputURL(const fs::path& source, Fmt fmt) {
    return outputURL(source, rawValue(fmt));
}

fs::path outputURL(const fs::path& source, std::string_view ext) {
    return outputName(source, ext).firstFree();
}

fs::path toolOutputURL(const fs::path& source, std::string_view suffix, std::string_view ext) {
    return toolOutputName(source, suffix, ext).firstFree();
}

fs::path imageFolderURL(const fs::path& source) {
    return imageFolderName(source).firstFree();
}

fs::path createImageFolder(const fs::path& source) {
    const OutputName name = imageFolderName(source);
    awaitNamingTurn();
    for (int n = 1;; ++n) {
        const fs::path folder = name.candidate(n);
        if (::mkdir(folder.c_str(), 0755) == 0) return folder;
        if (errno != EEXIST) {
            throw fs::filesystem_error("cannot create directory", folder,
                                       std::error_code(errno, std::generic_category()));
        }
    }
}

fs::path tempDir() {
    const fs::path parent = temporaryDirectory();
    fs::create_directories(parent);
    const fs::path dir = parent / ("zt-hwp-" + newUUID());
    if (::mkdir(dir.c_str(), 0700) != 0) {
        throw fs::filesystem_error("cannot create directory", dir,
                                   std::error_code(errno, std::generic_category()));
    }
    return dir;
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path moveIntoPlace(const fs::path& file, const fs::path& src, std::string_view ext) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 1) {
        throw ConvertError("결과 파일이 비어 있음");
    }
    const OutputName name = outputName(src, ext);
    struct stat folder {};
    if (::stat(name.folder.empty() ? "." : name.folder.c_str(), &folder) == 0 &&
        folder.st_dev == info.st_dev) {
        return placeExclusively(file, name);
    }
    // Another file system: copy into a hidden sibling first, so that the final name only
    // ever appears on a complete file, then drop the original.
    PendingFile pending(name);
    fs::copy_file(file, pending.path(), fs::copy_options::overwrite_existing);
    fs::path placed = pending.place();
    std::error_code ignored;
    fs::remove(file, ignored);
    return placed;
}

size_t longestFileName(const fs::path& folder) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<size_t>(limit) : 255;
}

std::string cutToBytes(std::string_view text, size_t bytes) {
    if (text.size() <= bytes) return std::string(text);
    size_t end = bytes;
    // Back off continuation bytes (10xxxxxx) to the start of the sequence they belong to.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

bool unusableFileName(std::string_view name) {
    for (size_t i = 0; i < name.size();) {
        char32_t scalar = 0;
        if (!nextScalar(name, i, scalar)) return true;
        if (scalar < 0x20 || scalar == 0x7F || scalar == 0xFFFD) return true;
    }
    return false;
}

}  // namespace tavrino
