#include "platform/ImageProbe.h"

#include <vips/vips.h>

#include <array>
#include <atomic>
#include <cctype>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/Paths.h"
#include "platform/Vips.h"

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

VipsSourceRef openSource(const std::filesystem::path& path) {
    ensureVips();
    VipsSourceRef source(vips_source_new_from_file(path.c_str()));
    if (!source) vips_error_clear();
    return source;
}

// Reads only the header, with the loader the content calls for. The file is opened as a
// source (a plain path, so brackets in names are not taken as load options).
VipsImageRef openHeader(const std::filesystem::path& path) {
    if (!startsLikePicture(path)) return {};
    VipsSourceRef source = openSource(path);
    if (!source) return {};
    // The search answers with a type name; the loaders are known by their nicknames.
    const char* typeName = vips_foreign_find_load_source(source.get());
    const char* loader = typeName ? vips_nickname_find(g_type_from_name(typeName)) : nullptr;
    if (!loader || !isPictureLoader(loader)) {
        vips_error_clear();
        return {};
    }
    VipsImageRef image(
        vips_image_new_from_source(source.get(), "", "access", VIPS_ACCESS_SEQUENTIAL, nullptr));
    if (!image) vips_error_clear();
    return image;
}

// GIF and TIFF files are asked directly by the loader their extension names, which skips
// sniffing the content against every loader: frames are counted while the user drags.
VipsImageRef openFramedHeader(const std::filesystem::path& path, std::string_view extension) {
    VipsSourceRef source = openSource(path);
    if (!source) return {};
    VipsImageRef image;
    const int failed = extension == "gif"
                           ? vips_gifload_source(source.get(), image.out(), "access",
                                                 VIPS_ACCESS_SEQUENTIAL, nullptr)
                           : vips_tiffload_source(source.get(), image.out(), "access",
                                                  VIPS_ACCESS_SEQUENTIAL, nullptr);
    if (failed) {
        vips_error_clear();
        return {};
    }
    return image;
}

std::atomic<std::uint64_t> headerReads{0};

}  // namespace

std::uint64_t imageHeaderReads() {
    return headerReads.load(std::memory_order_relaxed);
}

int imageFrameCount(const std::filesystem::path& path) {
    headerReads.fetch_add(1, std::memory_order_relaxed);
    const std::string ext = lowerExtension(path);
    VipsImageRef image;
    if (ext == "gif" || ext == "tif" || ext == "tiff") image = openFramedHeader(path, ext);
    // A GIF or TIFF in name only may still be another kind of picture.
    if (!image) image = openHeader(path);
    return image ? vips_image_get_n_pages(image.get()) : 0;
}

std::optional<std::uint64_t> imagePixelCount(const std::filesystem::path& path) {
    const VipsImageRef image = openHeader(path);
    if (!image) return std::nullopt;
    return static_cast<std::uint64_t>(vips_image_get_width(image.get())) *
           static_cast<std::uint64_t>(vips_image_get_height(image.get()));
}

bool probeIsImage(const std::filesystem::path& path) {
    return imageFrameCount(path) > 0;
}

}  // namespace tavrino
