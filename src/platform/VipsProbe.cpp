#include "platform/VipsProbe.h"

#include <vips/vips.h>

#include <string>
#include <string_view>

#include "platform/ImageProbe.h"
#include "platform/Paths.h"
#include "platform/Vips.h"

namespace tavrino {
namespace {

VipsSourceRef openSource(const std::filesystem::path& path) {
    ensureVips();
    VipsSourceRef source(vips_source_new_from_file(path.c_str()));
    if (!source) vips_error_clear();
    return source;
}

// Reads only the header, with the loader the content calls for. The file is opened as a
// source (a plain path, so brackets in names are not taken as load options).
VipsImageRef openHeader(const std::filesystem::path& path) {
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

}  // namespace

int vipsFrameCount(const std::filesystem::path& path) {
    const std::string ext = lowerExtension(path);
    VipsImageRef image;
    if (ext == "gif" || ext == "tif" || ext == "tiff") image = openFramedHeader(path, ext);
    // A GIF or TIFF in name only may still be another kind of picture.
    if (!image) image = openHeader(path);
    return image ? vips_image_get_n_pages(image.get()) : 0;
}

std::optional<std::uint64_t> vipsPixelCount(const std::filesystem::path& path) {
    const VipsImageRef image = openHeader(path);
    if (!image) return std::nullopt;
    return static_cast<std::uint64_t>(vips_image_get_width(image.get())) *
           static_cast<std::uint64_t>(vips_image_get_height(image.get()));
}

}  // namespace tavrino
