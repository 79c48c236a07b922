#pragma once
// Bounds-checked reading of TIFF structures (a TIFF file, or the Exif block of a JPEG or
// PNG, which has the same layout): the byte order from the header, then 16- and 32-bit
// numbers at offsets. A read outside the bytes gives no value.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tavrino {

class TiffReader {
  public:
    explicit TiffReader(std::string_view bytes) : bytes_(bytes) {}

    bool readByteOrder() {
        if (bytes_.substr(0, 2) == "II")
            bigEndian_ = false;
        else if (bytes_.substr(0, 2) == "MM")
            bigEndian_ = true;
        else
            return false;
        return u16(2) == 42;
    }
    std::optional<std::uint32_t> u16(size_t at) const {
        if (at > bytes_.size() || bytes_.size() - at < 2) return std::nullopt;
        const auto b0 = static_cast<std::uint8_t>(bytes_[at]);
        const auto b1 = static_cast<std::uint8_t>(bytes_[at + 1]);
        return bigEndian_ ? (b0 << 8 | b1) : (b1 << 8 | b0);
    }
    std::optional<std::uint32_t> u32(size_t at) const {
        const auto first = u16(at), second = u16(at + 2);
        if (!first || !second) return std::nullopt;
        return bigEndian_ ? (*first << 16 | *second) : (*second << 16 | *first);
    }

    // The SHORT (type 3) or LONG (type 4) values of the 12-byte directory entry at `entry`:
    // inline when they fit in its four value bytes, else at the offset those bytes hold.
    std::optional<std::vector<std::uint32_t>> values(size_t entry) const {
        const auto type = u16(entry + 2), count = u32(entry + 4);
        if (!type || !count || (*type != 3 && *type != 4)) return std::nullopt;
        const size_t width = *type == 3 ? 2 : 4;
        if (*count > bytes_.size() / width) return std::nullopt;
        size_t at = entry + 8;
        if (*count * width > 4) {
            const auto offset = u32(entry + 8);
            if (!offset) return std::nullopt;
            at = *offset;
        }
        std::vector<std::uint32_t> out;
        for (size_t i = 0; i < *count; ++i) {
            const auto value = width == 2 ? u16(at + i * 2) : u32(at + i * 4);
            if (!value) return std::nullopt;
            out.push_back(*value);
        }
        return out;
    }

    size_t size() const { return bytes_.size(); }

  private:
    std::string_view bytes_;
    bool bigEndian_ = false;
};

}  // namespace tavrino
