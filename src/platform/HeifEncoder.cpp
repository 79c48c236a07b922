#include "platform/HeifEncoder.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>

namespace tavrino {
namespace {

struct ContextDeleter {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct EncoderDeleter {
    void operator()(heif_encoder* encoder) const { heif_encoder_release(encoder); }
};
struct ImageDeleter {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsDeleter {
    void operator()(heif_encoding_options* options) const { heif_encoding_options_free(options); }
};

std::string messageOf(const heif_error& error) {
    return error.message && error.message[0] ? error.message : "libheif error";
}

// Copies packed rows into libheif's interleaved plane, which has its own stride.
std::unique_ptr<heif_image, ImageDeleter> makeImage(const PixelBuffer& pixels, heif_error& error) {
    const bool alpha = pixels.bands == 4;
    heif_image* raw = nullptr;
    error =
        heif_image_create(pixels.width, pixels.height, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &raw);
    std::unique_ptr<heif_image, ImageDeleter> image(raw);
    if (error.code != heif_error_Ok) return nullptr;
    error =
        heif_image_add_plane(image.get(), heif_channel_interleaved, pixels.width, pixels.height, 8);
    if (error.code != heif_error_Ok) return nullptr;
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    for (int y = 0; y < pixels.height; ++y) {
        std::memcpy(plane + static_cast<size_t>(y) * static_cast<size_t>(stride),
                    pixels.bytes.data() + static_cast<size_t>(y) * pixels.rowBytes(),
                    pixels.rowBytes());
    }
    return image;
}

heif_error configure(heif_encoder* encoder, const HeicSettings& settings) {
    heif_error error = heif_encoder_set_lossy_quality(encoder, settings.quality);
    if (error.code == heif_error_Ok && !settings.preset.empty()) {
        error = heif_encoder_set_parameter_string(encoder, "preset", settings.preset.c_str());
    }
    if (error.code == heif_error_Ok && settings.tuIntraDepth > 0) {
        error =
            heif_encoder_set_parameter_integer(encoder, "tu-intra-depth", settings.tuIntraDepth);
    }
    return error;
}

}  // namespace

bool heicEncoderAvailable() {
    return heif_have_encoder_for_format(heif_compression_HEVC) != 0;
}

std::string encodeHeicFile(const PixelBuffer& pixels, const std::filesystem::path& path,
                           const HeicSettings& settings) {
    if (pixels.bands != 3 && pixels.bands != 4) return "HEIC needs RGB or RGBA pixels";
    std::unique_ptr<heif_context, ContextDeleter> context(heif_context_alloc());
    heif_encoder* rawEncoder = nullptr;
    heif_error error =
        heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder);
    std::unique_ptr<heif_encoder, EncoderDeleter> encoder(rawEncoder);
    if (error.code != heif_error_Ok) return messageOf(error);
    if (error = configure(encoder.get(), settings); error.code != heif_error_Ok) {
        return messageOf(error);
    }
    auto image = makeImage(pixels, error);
    if (!image) return messageOf(error);
    std::unique_ptr<heif_encoding_options, OptionsDeleter> options(heif_encoding_options_alloc());
    error = heif_context_encode_image(context.get(), image.get(), encoder.get(), options.get(),
                                      nullptr);
    if (error.code != heif_error_Ok) return messageOf(error);
    error = heif_context_write_to_file(context.get(), path.c_str());
    return error.code == heif_error_Ok ? std::string() : messageOf(error);
}

}  // namespace tavrino
