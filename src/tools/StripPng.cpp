// PNG chunk filter. After the 8-byte signature a PNG is a sequence of chunks: a big-endian
// data length, a four-letter type, the data and a CRC over type and data. A lower-case first
// letter marks an ancillary chunk a decoder may ignore; IEND ends the file.

#include <array>
#include <cstdint>

#include "tools/Crc32.h"
#include "tools/ExifOrientation.h"
#include "tools/LosslessStrip.h"

namespace tavrino {
namespace {

constexpr std::string_view signature("\x89PNG\r\n\x1A\n", 8);

// Ancillary chunks that change how the pixels are shown or animated; everything else
// ancillary (tEXt, zTXt, iTXt, eXIf, tIME, private chunks) is metadata and goes.
bool keepAncillary(std::string_view type) {
    static constexpr std::array<std::string_view, 15> kept{"tRNS", "gAMA", "cHRM", "sRGB", "iCCP",
                                                           "sBIT", "bKGD", "pHYs", "hIST", "sPLT",
                                                           "acTL", "fcTL", "fdAT", "cICP", "cLLi"};
    for (std::string_view k : kept) {
        if (type == k) return true;
    }
    return type == "mDCv";
}

std::uint32_t readU32(std::string_view bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

void appendU32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift & 0xFF);
}

std::string chunk(std::string_view type, std::string_view data) {
    std::string out;
    appendU32(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type) + std::string(data);
    out += typed;
    appendU32(out, crc32(typed));
    return out;
}

}  // namespace

std::optional<std::string> strippedPng(std::string_view png) {
    if (png.substr(0, signature.size()) != signature) return std::nullopt;
    std::string before, after;  // kept chunks before and from the first IDAT
    std::optional<int> orientation;
    bool sawImageData = false;
    for (size_t at = signature.size();;) {
        if (png.size() - at < 12) return std::nullopt;
        const std::uint32_t length = readU32(png, at);
        if (length > 0x7FFFFFFFu || png.size() - at - 12 < length) return std::nullopt;
        const std::string_view typed = png.substr(at + 4, 4 + size_t{length});
        if (crc32(typed) != readU32(png, at + 8 + length)) return std::nullopt;
        const std::string_view type = typed.substr(0, 4);
        const std::string_view whole = png.substr(at, 12 + size_t{length});
        at += whole.size();
        if (type == "eXIf" && !orientation) orientation = orientationInTiff(typed.substr(4));
        sawImageData = sawImageData || type == "IDAT";
        const bool critical = type[0] >= 'A' && type[0] <= 'Z';
        if (critical || keepAncillary(type)) (sawImageData ? after : before).append(whole);
        if (type == "IEND") break;
    }
    if (!sawImageData || before.size() < 8 || before.compare(4, 4, "IHDR") != 0) {
        return std::nullopt;
    }
    std::string out(signature);
    out += before;
    if (orientation) out += chunk("eXIf", orientationOnlyTiff(*orientation));
    out += after;
    return out;
}

}  // namespace tavrino
