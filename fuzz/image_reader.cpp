// Feeds arbitrary bytes to the image reader the converters use: BMP through our own decoder,
// everything else through the libvips loaders the program allows, within its pixel limit.
// Pictures small enough to decode quickly are decoded in full, flattened onto white and, when
// tagged, turned upright, so damaged pixel data must end in a ConvertError as well.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "convert/ConvertError.h"
#include "convert/Image.h"

namespace {

// Decoding a picture near the program's limit takes seconds; the fuzzer learns more from
// many small ones, and the header checks of large ones still run.
constexpr std::uint64_t decodedPixels = 1u << 22;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // One worker thread: the machine is shared, and a fault shows up on the fuzzer's thread.
    setenv("VIPS_CONCURRENCY", "1", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrino;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const Image image = loadImageBytes(bytes);
        const auto pixels =
            static_cast<std::uint64_t>(image.width()) * static_cast<std::uint64_t>(image.height());
        if (pixels > decodedPixels) return 0;
        const PixelBuffer decoded = flattened(image).pixels();
        if (decoded.width != image.width() || decoded.height != image.height()) std::abort();
    } catch (const ConvertError&) {
    }
    return 0;
}
