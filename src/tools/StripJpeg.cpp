// JPEG segment filter. A JPEG file is a sequence of marker segments (0xFF, marker byte, a
// big-endian length that counts itself, payload) up to the first start-of-scan; entropy-coded
// data follows each scan header and may contain 0xFF only as 0xFF00 (stuffing) or a restart
// marker 0xFFD0-0xFFD7. Progressive files carry further tables and scans before the final
// end-of-image marker 0xFFD9.

#include <cstdint>

#include "tools/ExifOrientation.h"
#include "tools/LosslessStrip.h"

namespace tavrino {
namespace {

constexpr std::uint8_t SOS = 0xDA, EOI = 0xD9, APP0 = 0xE0, APP1 = 0xE1, APP2 = 0xE2,
                       APP14 = 0xEE, APP15 = 0xEF, COM = 0xFE;

std::uint8_t byteAt(std::string_view bytes, size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

bool startsWith(std::string_view payload, std::string_view prefix) {
    return payload.substr(0, prefix.size()) == prefix;
}

// Which application segments carry picture information rather than metadata.
bool keepApplicationSegment(std::uint8_t marker, std::string_view payload) {
    if (marker == APP0) return startsWith(payload, std::string_view("JFIF\0", 5));
    if (marker == APP2) return startsWith(payload, std::string_view("ICC_PROFILE\0", 12));
    if (marker == APP14) return startsWith(payload, "Adobe");
    return false;
}

// The position of the marker that ends the entropy-coded data starting at `from`.
std::optional<size_t> endOfEntropyData(std::string_view jpeg, size_t from) {
    for (size_t at = from; at + 1 < jpeg.size(); ++at) {
        if (byteAt(jpeg, at) != 0xFF) continue;
        const std::uint8_t next = byteAt(jpeg, at + 1);
        const bool insideData = next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF;
        if (!insideData) return at;
    }
    return std::nullopt;
}

std::string exifSegment(int orientation) {
    const std::string payload = std::string("Exif\0\0", 6) + orientationOnlyTiff(orientation);
    const size_t length = payload.size() + 2;
    std::string segment{'\xFF', static_cast<char>(APP1)};
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return segment + payload;
}

struct Parts {
    std::string jfif;       // the APP0 JFIF segment, which must stay first
    std::string body;       // every other kept segment and the entropy-coded data
    std::optional<int> orientation;
};

}  // namespace

std::optional<std::string> strippedJpeg(std::string_view jpeg) {
    if (jpeg.size() < 4 || byteAt(jpeg, 0) != 0xFF || byteAt(jpeg, 1) != 0xD8) return std::nullopt;
    Parts parts;
    bool seenOrientationBlock = false;
    bool seenScan = false;
    size_t at = 2;
    while (true) {
        if (at >= jpeg.size() || byteAt(jpeg, at) != 0xFF) return std::nullopt;
        while (at + 1 < jpeg.size() && byteAt(jpeg, at + 1) == 0xFF) ++at;  // fill bytes
        if (at + 1 >= jpeg.size()) return std::nullopt;
        const std::uint8_t marker = byteAt(jpeg, at + 1);
        if (marker == EOI) break;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            parts.body.append(jpeg.substr(at, 2));
            at += 2;
            continue;
        }
        if (at + 4 > jpeg.size()) return std::nullopt;
        const size_t length = size_t{byteAt(jpeg, at + 2)} << 8 | byteAt(jpeg, at + 3);
        if (length < 2 || at + 2 + length > jpeg.size()) return std::nullopt;
        const std::string_view segment = jpeg.substr(at, 2 + length);
        const std::string_view payload = segment.substr(4);
        const bool application = (marker >= APP0 && marker <= APP15) || marker == COM;
        if (marker == APP1 && !seenOrientationBlock && startsWith(payload, {"Exif\0\0", 6})) {
            seenOrientationBlock = true;
            parts.orientation = orientationInTiff(payload.substr(6));
        }
        if (!application) {
            parts.body.append(segment);
        } else if (keepApplicationSegment(marker, payload)) {
            (marker == APP0 && parts.jfif.empty() ? parts.jfif : parts.body).append(segment);
        }
        at += segment.size();
        if (marker == SOS) {
            seenScan = true;
            const auto end = endOfEntropyData(jpeg, at);
            if (!end) return std::nullopt;
            parts.body.append(jpeg.substr(at, *end - at));
            at = *end;
        }
    }
    if (!seenScan) return std::nullopt;
    std::string out("\xFF\xD8", 2);
    out += parts.jfif;
    if (parts.orientation) out += exifSegment(*parts.orientation);
    out += parts.body;
    out += "\xFF\xD9";
    return out;
}

}  // namespace tavrino
