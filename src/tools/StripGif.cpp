// GIF block filter. After the header and the logical screen descriptor (with its optional
// colour table) a GIF is a sequence of blocks: extensions (0x21, a label, data sub-blocks
// ending in a zero-length one), images (0x2C, a descriptor, an optional colour table, the LZW
// code size and data sub-blocks) and the trailer 0x3B. Comments and application extensions
// other than animation looping and colour profiles carry metadata (XMP, editor data).

#include <cstdint>

#include "tools/LosslessStrip.h"

namespace tavrino {
namespace {

class Blocks {
  public:
    explicit Blocks(std::string_view bytes) : bytes_(bytes) {}

    bool has(size_t n) const { return bytes_.size() - at_ >= n; }
    std::uint8_t byte(size_t offset = 0) const {
        return static_cast<std::uint8_t>(bytes_[at_ + offset]);
    }
    size_t position() const { return at_; }
    bool skip(size_t n) {
        if (!has(n)) return false;
        at_ += n;
        return true;
    }
    // Skips a colour table announced by a packed byte (flag 0x80, size in the low bits).
    bool skipColourTable(std::uint8_t packed) {
        return !(packed & 0x80) || skip(3u << ((packed & 7) + 1));
    }
    bool skipSubBlocks() {
        while (has(1)) {
            const std::uint8_t size = byte();
            if (!skip(1u + size)) return false;
            if (size == 0) return true;
        }
        return false;
    }
    std::string_view since(size_t start) const { return bytes_.substr(start, at_ - start); }
    std::string_view peek(size_t offset, size_t n) const {
        return has(offset + n) ? bytes_.substr(at_ + offset, n) : std::string_view();
    }

  private:
    std::string_view bytes_;
    size_t at_ = 0;
};

bool keepExtension(std::uint8_t label, std::string_view application) {
    if (label == 0xF9 || label == 0x01) return true;  // graphic control, plain text
    if (label != 0xFF) return false;                  // comments and unknown extensions
    return application == "NETSCAPE2.0" || application == "ANIMEXTS1.0" ||
           application == "ICCRGBG1012";
}

}  // namespace

std::optional<std::string> strippedGif(std::string_view gif) {
    if (gif.substr(0, 6) != "GIF87a" && gif.substr(0, 6) != "GIF89a") return std::nullopt;
    Blocks blocks(gif);
    if (!blocks.skip(13) || !blocks.skipColourTable(static_cast<std::uint8_t>(gif[10]))) {
        return std::nullopt;
    }
    std::string out(blocks.since(0));
    bool sawImage = false;
    while (blocks.has(1)) {
        const size_t start = blocks.position();
        const std::uint8_t introducer = blocks.byte();
        if (introducer == 0x3B) {
            if (!sawImage) return std::nullopt;
            return out + ";";
        }
        if (introducer == 0x2C) {
            if (!blocks.has(10)) return std::nullopt;
            const std::uint8_t packed = blocks.byte(9);
            if (!blocks.skip(10) || !blocks.skipColourTable(packed) || !blocks.skip(1) ||
                !blocks.skipSubBlocks()) {
                return std::nullopt;
            }
            out.append(blocks.since(start));
            sawImage = true;
        } else if (introducer == 0x21 && blocks.has(2)) {
            const std::uint8_t label = blocks.byte(1);
            // An application extension's first sub-block is its 11-byte identifier.
            const bool named = blocks.has(3) && blocks.byte(2) == 11;
            const std::string_view application = named ? blocks.peek(3, 11) : std::string_view();
            if (!blocks.skip(2) || !blocks.skipSubBlocks()) return std::nullopt;
            if (keepExtension(label, application)) out.append(blocks.since(start));
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;  // no trailer: truncated
}

}  // namespace tavrino
