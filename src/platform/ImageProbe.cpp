#include "platform/ImageProbe.h"

#include <array>
#include <atomic>
#include <cctype>
#include <fstream>
#include <string>
#include <string_view>

namespace tavrino {

bool isPictureLoader(std::string_view loader) {
    static constexpr std::array<std::string_view, 9> pictures{
        "jpegload_source", "pngload_source",  "gifload_source",
        "tiffload_source", "heifload_source", "webpload_source",
        "jp2kload_source", "jxlload_source",  "ppmload_source"};
    for (std::string_view name : pictures) {
        if (loader == name) return true;
    }
    return false;
}

namespace {

// A cheap look at the first bytes before libvips sniffs the content with every loader it
// has: text files and documents under odd names are turned away without that cost.
bool startsLikePicture(const std::filesystem::path& path) {
    using namespace std::string_view_literals;
    std::ifstream in(path, std::ios::binary);
    char head[16] = {};
    in.read(head, sizeof head);
    const std::string_view bytes(head, static_cast<size_t>(in.gcount()));
    auto at = [&](size_t offset, std::string_view magic) {
        return bytes.size() >= offset + magic.size() && bytes.substr(offset, magic.size()) == magic;
    };
    return at(0, "GIF8") || at(0, "\x89PNG") || at(0, "\xFF\xD8\xFF") || at(0, "II*") ||
           at(0, "MM\0*"sv) || at(8, "WEBP") || at(4, "ftyp") || at(0, "\xFF\x0A") ||
           at(4, "jP  ") || at(4, "JXL ") || at(0, "\xFF\x4F\xFF\x51") ||
           (bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6');
}

std::atomic<std::uint64_t> headerReads{0};

}  // namespace

EngineSlot<ImageHeaderReader>& imageHeaderSlot() {
    static EngineSlot<ImageHeaderReader> slot{mediaModule};
    return slot;
}

std::uint64_t imageHeaderReads() {
    return headerReads.load(std::memory_order_relaxed);
}

// Files that do not start like a picture are answered here, without the media engine: every
// loader we allow checks the same signatures first. Without the engine no header can be
// read, which is an unreadable file here; the work on the file then fails on its own.
int imageFrameCount(const std::filesystem::path& path) {
    headerReads.fetch_add(1, std::memory_order_relaxed);
    if (!startsLikePicture(path)) return 0;
    try {
        return imageHeaderSlot().get().frameCount(path);
    } catch (const ModuleError&) {
        return 0;
    }
}

std::optional<std::uint64_t> imagePixelCount(const std::filesystem::path& path) {
    if (!startsLikePicture(path)) return std::nullopt;
    try {
        return imageHeaderSlot().get().pixelCount(path);
    } catch (const ModuleError&) {
        return std::nullopt;
    }
}

bool probeIsImage(const std::filesystem::path& path) {
    return imageFrameCount(path) > 0;
}

}  // namespace tavrino
