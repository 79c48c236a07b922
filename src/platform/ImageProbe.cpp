#include "platform/ImageProbe.h"

#include <vips/vips.h>

#include <array>
#include <string_view>

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

// Opens the file as a source (a plain path, so brackets in names are not taken as load
// options) and reads only its header.
VipsImageRef openHeader(const std::filesystem::path& path) {
    ensureVips();
    VipsSourceRef source(vips_source_new_from_file(path.c_str()));
    if (!source) {
        vips_error_clear();
        return {};
    }
    // The search answers with a type name; the loaders are known by their nicknames.
    const char* typeName = vips_foreign_find_load_source(source.get());
    const char* loader = typeName ? vips_nickname_find(g_type_from_name(typeName)) : nullptr;
    if (!loader || !isPictureLoader(loader)) {
        vips_error_clear();
        return {};
    }
    VipsImageRef image(vips_image_new_from_source(source.get(), "", "access",
                                                  VIPS_ACCESS_SEQUENTIAL, nullptr));
    if (!image) vips_error_clear();
    return image;
}

}  // namespace

int imageFrameCount(const std::filesystem::path& path) {
    VipsImageRef image = openHeader(path);
    return image ? vips_image_get_n_pages(image.get()) : 0;
}

bool probeIsImage(const std::filesystem::path& path) {
    return static_cast<bool>(openHeader(path));
}

}  // namespace tavrino
