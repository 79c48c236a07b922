#include "platform/Vips.h"

#include <vips/vips.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/CoreShare.h"

namespace tavrino {

void ensureVips() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (VIPS_INIT("tavrino") != 0) std::abort();
        vips_block_untrusted_set(TRUE);
        // Results must reflect the files as they are now: a cached decode of a file that
        // changed on disk would be wrong, and there is no repeated work to save.
        vips_cache_set_max(0);
        // Damaged input makes libvips warn on standard error before it fails; the failure
        // itself reaches the user as one clear message, the warnings would only be noise.
        g_log_set_handler(
            "VIPS", G_LOG_LEVEL_WARNING,
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    });
}

void releaseVipsObject(void* object) {
    g_object_unref(object);
}

namespace {

// libvips sizes a pipeline's thread pool from its concurrency setting when the pipeline
// starts. A picture carried beside others takes its share of the cores, so that two side by
// side do not each start a worker per core and take turns; one left alone at the end of a
// drop gets every core back for its next pipeline.
void followCoreShare() {
    vips_concurrency_set(static_cast<int>(coresPerJob()));
}

// Runs one libvips operation that writes its result through `out`; an empty reference
// (and libvips' error text cleared) when it fails.
template <typename Operation>
VipsImageRef produced(Operation operation) {
    VipsImageRef out;
    if (operation(out.out())) {
        vips_error_clear();
        return {};
    }
    return out;
}

}  // namespace

PixelMemory::PixelMemory(void* data, int width, int height, int bands)
    : view_{width, height, bands, static_cast<const std::uint8_t*>(data)} {}

PixelMemory::~PixelMemory() {
    g_free(const_cast<std::uint8_t*>(view_.data));
}

namespace {

// Picks the loader from the content of `source` and opens it when `allowLoader` accepts it.
VipsOpened openFromSource(const VipsSourceRef& source, bool randomAccess, int page,
                          bool (*allowLoader)(std::string_view loader)) {
    const VipsAccess access = randomAccess ? VIPS_ACCESS_RANDOM : VIPS_ACCESS_SEQUENTIAL;
    const char* typeName = source ? vips_foreign_find_load_source(source.get()) : nullptr;
    const char* loader = typeName ? vips_nickname_find(g_type_from_name(typeName)) : nullptr;
    VipsOpened opened;
    if (loader && allowLoader(loader)) {
        opened.loader = loader;
        // Only multi-image loaders know "page"; the others refuse unknown options.
        opened.image = VipsImageRef(
            page > 0 ? vips_image_new_from_source(source.get(), "", "access", access, "fail_on",
                                                  VIPS_FAIL_ON_ERROR, "page", page, nullptr)
                     : vips_image_new_from_source(source.get(), "", "access", access, "fail_on",
                                                  VIPS_FAIL_ON_ERROR, nullptr));
    }
    vips_error_clear();
    return opened;
}

}  // namespace

VipsOpened openVipsPicture(const std::filesystem::path& path, bool randomAccess, int page,
                           bool (*allowLoader)(std::string_view loader)) {
    ensureVips();
    const VipsSourceRef source(vips_source_new_from_file(path.c_str()));
    return openFromSource(source, randomAccess, page, allowLoader);
}

VipsOpened openVipsPictureBytes(std::string_view bytes, bool randomAccess, int page,
                                bool (*allowLoader)(std::string_view loader)) {
    ensureVips();
    const VipsSourceRef source(vips_source_new_from_memory(bytes.data(), bytes.size()));
    return openFromSource(source, randomAccess, page, allowLoader);
}

int vipsWidth(const VipsImageRef& image) {
    return vips_image_get_width(image.get());
}
int vipsHeight(const VipsImageRef& image) {
    return vips_image_get_height(image.get());
}
int vipsBands(const VipsImageRef& image) {
    return vips_image_get_bands(image.get());
}
std::uint64_t vipsDecodedBytes(const VipsImageRef& image) {
    return static_cast<std::uint64_t>(vipsWidth(image)) *
           static_cast<std::uint64_t>(vipsHeight(image)) *
           static_cast<std::uint64_t>(vipsBands(image)) *
           static_cast<std::uint64_t>(vips_format_sizeof(image.get()->BandFmt));
}
bool vipsHasAlpha(const VipsImageRef& image) {
    return vips_image_hasalpha(image.get());
}
int vipsOrientation(const VipsImageRef& image) {
    return vips_image_get_orientation(image.get());
}

VipsImageRef vipsShare(const VipsImageRef& image) {
    if (image) g_object_ref(image.get());
    return VipsImageRef(image.get());
}

// 16-bit PNGs and TIFFs, CMYK JPEGs and Lab TIFFs are converted here, lazily.
VipsImageRef vipsEightBit(VipsImageRef in) {
    VipsImage* image = in.get();
    const VipsInterpretation kind = vips_image_guess_interpretation(image);
    const bool grey = kind == VIPS_INTERPRETATION_B_W;
    if ((grey || kind == VIPS_INTERPRETATION_sRGB) && image->BandFmt == VIPS_FORMAT_UCHAR) {
        return in;
    }
    VipsImageRef converted = produced([&](VipsImage** out) {
        return vips_colourspace(image, out,
                                grey ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB, nullptr);
    });
    if (!converted || converted.get()->BandFmt == VIPS_FORMAT_UCHAR) return converted;
    return produced([&](VipsImage** out) {
        return vips_cast(converted.get(), out, VIPS_FORMAT_UCHAR, nullptr);
    });
}

VipsImageRef vipsSrgb(const VipsImageRef& image) {
    return produced([&](VipsImage** out) {
        return vips_colourspace(image.get(), out, VIPS_INTERPRETATION_sRGB, nullptr);
    });
}

VipsImageRef vipsUpright(const VipsImageRef& image) {
    return produced([&](VipsImage** out) { return vips_autorot(image.get(), out, nullptr); });
}

VipsImageRef vipsOnWhite(const VipsImageRef& image) {
    const int colours = vipsBands(image) - 1;
    std::vector<double> white(static_cast<size_t>(colours), 255.0);
    VipsArrayDouble* background = vips_array_double_new(white.data(), colours);
    VipsImageRef flat = produced([&](VipsImage** out) {
        return vips_flatten(image.get(), out, "background", background, nullptr);
    });
    vips_area_unref(VIPS_AREA(background));
    if (!flat) return {};
    return produced(
        [&](VipsImage** out) { return vips_cast(flat.get(), out, VIPS_FORMAT_UCHAR, nullptr); });
}

VipsImageRef vipsResized(const VipsImageRef& image, int width, int height) {
    // The thumbnail operation premultiplies alpha before it filters (no dark fringes around
    // transparent parts) and, forced to a size, gives exactly the truncated one.
    return produced([&](VipsImage** out) {
        return vips_thumbnail_image(image.get(), out, width, "height", height, "size",
                                    VIPS_SIZE_FORCE, "no_rotate", TRUE, nullptr);
    });
}

VipsImageRef vipsQuarterTurn(const VipsImageRef& image) {
    return produced(
        [&](VipsImage** out) { return vips_rot(image.get(), out, VIPS_ANGLE_D90, nullptr); });
}

VipsImageRef vipsCropped(const VipsImageRef& image, int left, int top, int width, int height) {
    return produced([&](VipsImage** out) {
        return vips_extract_area(image.get(), out, left, top, width, height, nullptr);
    });
}

VipsImageRef vipsInMemory(const VipsImageRef& image) {
    followCoreShare();
    VipsImageRef memory(vips_image_copy_memory(image.get()));
    vips_error_clear();
    return memory;
}

VipsImageRef vipsFromPixels(const PixelBuffer& buffer) {
    ensureVips();
    VipsImageRef image(vips_image_new_from_memory_copy(buffer.bytes.data(), buffer.bytes.size(),
                                                       buffer.width, buffer.height, buffer.bands,
                                                       VIPS_FORMAT_UCHAR));
    if (!image) {
        vips_error_clear();
        return {};
    }
    image.get()->Type = buffer.bands <= 2 ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB;
    return image;
}

bool vipsDecodesAll(const VipsImageRef& image) {
    followCoreShare();
    double ignored = 0;
    const bool ok = vips_avg(image.get(), &ignored, nullptr) == 0;
    vips_error_clear();
    return ok;
}

PixelMemory vipsPixelMemory(const VipsImageRef& image) {
    followCoreShare();
    size_t size = 0;
    void* memory = vips_image_write_to_memory(image.get(), &size);
    vips_error_clear();
    if (!memory) return PixelMemory(nullptr, 0, 0, 0);
    return PixelMemory(memory, vipsWidth(image), vipsHeight(image), vipsBands(image));
}

bool vipsForEachStripe(const VipsImageRef& image, int rows,
                       const std::function<void(const PixelView& stripe)>& use) {
    VipsRef<VipsRegion> region(vips_region_new(image.get()));
    if (!region || rows < 1) return false;
    const int width = vipsWidth(image);
    const int height = vipsHeight(image);
    const std::size_t rowBytes = VIPS_IMAGE_SIZEOF_LINE(image.get());
    std::vector<std::uint8_t> stripe;
    for (int top = 0; top < height; top += rows) {
        VipsRect area{0, top, width, std::min(rows, height - top)};
        if (vips_region_prepare(region.get(), &area) != 0) {
            vips_error_clear();
            return false;
        }
        // A region's rows may lie apart in memory (a window of a larger buffer): pack them.
        stripe.resize(rowBytes * static_cast<std::size_t>(area.height));
        for (int y = 0; y < area.height; ++y) {
            std::memcpy(stripe.data() + rowBytes * static_cast<std::size_t>(y),
                        VIPS_REGION_ADDR(region.get(), 0, top + y), rowBytes);
        }
        use(PixelView{width, area.height, vipsBands(image), stripe.data()});
    }
    return true;
}

bool vipsSave(const VipsImageRef& source, const std::filesystem::path& path, VipsSaver saver,
              int quality) {
    // "strip" drops Exif, XMP and ICC data, but the TIFF writer still turns libvips' own
    // orientation field into an Orientation tag; the field goes from a copy of the header.
    VipsImageRef image =
        produced([&](VipsImage** out) { return vips_copy(source.get(), out, nullptr); });
    if (!image) return false;
    vips_image_remove(image.get(), VIPS_META_ORIENTATION);
    followCoreShare();
    int failed = 0;
    if (saver == VipsSaver::tiff) {
        // libtiff seeks in its output, so tiffsave_target builds the file in memory first;
        // writing to the path directly saves that copy. A path given to a saver is taken
        // literally (only vips_image_write_to_file reads options from it).
        failed = vips_tiffsave(image.get(), path.c_str(), "strip", TRUE, nullptr);
    } else {
        VipsRef<VipsTarget> target(vips_target_new_to_file(path.c_str()));
        if (!target) {
            failed = 1;
        } else {
            failed = vips_jpegsave_target(image.get(), target.get(), "Q", quality, "strip", TRUE,
                                          nullptr);
        }
    }
    vips_error_clear();
    return failed == 0;
}

}  // namespace tavrino
