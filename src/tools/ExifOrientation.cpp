#include "tools/ExifOrientation.h"

#include "tools/TiffReader.h"

#include <cstdint>

namespace tavrino {
namespace {

constexpr std::uint16_t orientationTag = 0x0112;
constexpr std::uint16_t shortType = 3;

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value >> 8 & 0xff);
    out += static_cast<char>(value & 0xff);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xffff);
}

}  // namespace

std::optional<int> orientationInTiff(std::string_view tiff) {
    TiffReader reader(tiff);
    if (!reader.readByteOrder()) return std::nullopt;
    const auto ifd = reader.u32(4);
    const auto count = ifd ? reader.u16(*ifd) : std::nullopt;
    if (!count) return std::nullopt;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const size_t entry = *ifd + 2 + size_t{i} * 12;
        const auto tag = reader.u16(entry);
        if (!tag) return std::nullopt;
        if (*tag != orientationTag) continue;
        // A SHORT value sits left-justified in the four value bytes of the entry.
        if (reader.u16(entry + 2) != shortType) return std::nullopt;
        const auto value = reader.u16(entry + 8);
        if (!value || *value < 1 || *value > 8) return std::nullopt;
        return static_cast<int>(*value);
    }
    return std::nullopt;
}

std::string orientationOnlyTiff(int orientation) {
    std::string out = "MM";
    put16(out, 42);
    put32(out, 8);  // IFD0 follows the header at once
    put16(out, 1);  // one entry
    put16(out, orientationTag);
    put16(out, shortType);
    put32(out, 1);
    put16(out, static_cast<std::uint32_t>(orientation));
    put16(out, 0);
    put32(out, 0);  // no next IFD
    return out;
}

}  // namespace tavrino
