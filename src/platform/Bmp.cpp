#include "platform/Bmp.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 65536
#include <stb/stb_image.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace tavrino {
namespace {

std::uint32_t readLE(std::span<const unsigned char> bytes, size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<size_t>(i)];
    return value;
}

// BITMAPFILEHEADER (14 bytes: "BM", file size, reserved, bfOffBits at 10) followed by a
// BITMAPINFOHEADER or later (biSize at 14, biWidth 18, biHeight 22 (negative: top-down),
// biBitCount 28, biCompression 30). For BI_RGB (0) and BI_BITFIELDS (3) every row is padded
// to 4 bytes, so the pixel data's length follows from the header.
bool headerMatchesLength(std::span<const unsigned char> bytes) {
    if (bytes.size() < 34 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint64_t offset = readLE(bytes, 10, 4);
    if (readLE(bytes, 14, 4) < 40) return false;  // OS/2 1.x headers: not worth the risk
    const auto width = static_cast<std::int32_t>(readLE(bytes, 18, 4));
    const auto height = static_cast<std::int32_t>(readLE(bytes, 22, 4));
    const std::uint64_t bits = readLE(bytes, 28, 2);
    const std::uint32_t compression = readLE(bytes, 30, 4);
    if (width <= 0 || height == 0 || height == INT32_MIN || bits == 0 || bits > 32) return false;
    if (compression != 0 && compression != 3) return false;
    const std::uint64_t rows =
        static_cast<std::uint64_t>(height < 0 ? -std::int64_t{height} : height);
    if (static_cast<std::uint64_t>(width) * rows > maxImagePixels) return false;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    return offset + stride * rows <= bytes.size();
}

// stb hands over a few bytes at a time; collecting them spares a call per pixel group.
struct BufferedFile {
    std::ofstream file;
    std::vector<char> buffer;

    void flush() {
        file.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
};

void appendToFile(void* context, void* data, int size) {
    auto* out = static_cast<BufferedFile*>(context);
    const auto* bytes = static_cast<const char*>(data);
    out->buffer.insert(out->buffer.end(), bytes, bytes + size);
    if (out->buffer.size() >= (1u << 20)) out->flush();
}

}  // namespace

std::optional<PixelBuffer> decodeBmpFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > maxImagePixels * 4 + (1u << 20)) return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes(size);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return std::nullopt;
    }
    return decodeBmpBytes(bytes);
}

std::optional<PixelBuffer> decodeBmpBytes(std::span<const unsigned char> bytes) {
    // stb counts the input in an int.
    if (bytes.size() > INT_MAX || !headerMatchesLength(bytes)) return std::nullopt;
    int width = 0, height = 0, bands = 0;
    std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> decoded(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &bands,
                              0),
        &stbi_image_free);
    if (!decoded || bands < 1 || bands > 4) return std::nullopt;
    PixelBuffer pixels{width, height, bands, {}};
    pixels.bytes.assign(decoded.get(),
                        decoded.get() + pixels.rowBytes() * static_cast<size_t>(height));
    return pixels;
}

bool encodeBmpFile(const PixelView& pixels, const std::filesystem::path& path) {
    BufferedFile out{std::ofstream(path, std::ios::binary | std::ios::trunc), {}};
    if (!out.file) return false;
    out.buffer.reserve(1u << 20 | 64);
    std::vector<std::uint8_t> widened;
    const std::uint8_t* data = pixels.data;
    int bands = pixels.bands;
    if (bands == 2) {
        // stb has no grey + alpha layout: widen to RGBA.
        const size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
        widened.reserve(count * 4);
        for (size_t i = 0; i < count; ++i) {
            const std::uint8_t grey = data[2 * i];
            widened.insert(widened.end(), {grey, grey, grey, data[2 * i + 1]});
        }
        data = widened.data();
        bands = 4;
    }
    const int ok =
        stbi_write_bmp_to_func(&appendToFile, &out, pixels.width, pixels.height, bands, data);
    out.flush();
    out.file.flush();
    return ok != 0 && out.file.good();
}

bool encodeBmpFile(const PixelBuffer& pixels, const std::filesystem::path& path) {
    return encodeBmpFile(PixelView{pixels.width, pixels.height, pixels.bands, pixels.bytes.data()},
                         path);
}

}  // namespace tavrino
