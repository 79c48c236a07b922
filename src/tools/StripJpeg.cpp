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

constexpr std::uint8_t SOS = 0xDA, EOI = 0xD9, APP0 = 0xE0, APP1 = 0xE1, APP2 = 0xE2, APP14 = 0xEE,
                       APP15 = 0xEF, COM = 0xFE;

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

// Walks the segments once, collecting what stays.
class SegmentFilter {
  public:
    explicit SegmentFilter(std::string_view jpeg) : jpeg_(jpeg) {}

    std::optional<std::string> run() {
        if (jpeg_.size() < 4 || byteAt(jpeg_, 0) != 0xFF || byteAt(jpeg_, 1) != 0xD8) {
            return std::nullopt;
        }
        at_ = 2;
        Step step;
        while ((step = next()) == Step::more) {
        }
        if (step == Step::bad || !seenScan_) return std::nullopt;
        std::string out("\xFF\xD8", 2);
        out += jfif_;
        if (orientation_) out += exifSegment(*orientation_);
        return out + body_ + "\xFF\xD9";
    }

  private:
    enum class Step { more, end, bad };

    // Reads the marker at the current position and what belongs to it.
    Step next() {
        if (at_ >= jpeg_.size() || byteAt(jpeg_, at_) != 0xFF) return Step::bad;
        while (at_ + 1 < jpeg_.size() && byteAt(jpeg_, at_ + 1) == 0xFF)
            ++at_;  // fill bytes
        if (at_ + 1 >= jpeg_.size()) return Step::bad;
        const std::uint8_t marker = byteAt(jpeg_, at_ + 1);
        if (marker == EOI) return Step::end;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {  // no length
            body_.append(jpeg_.substr(at_, 2));
            at_ += 2;
            return Step::more;
        }
        if (at_ + 4 > jpeg_.size()) return Step::bad;
        const size_t length = size_t{byteAt(jpeg_, at_ + 2)} << 8 | byteAt(jpeg_, at_ + 3);
        if (length < 2 || at_ + 2 + length > jpeg_.size()) return Step::bad;
        const std::string_view segment = jpeg_.substr(at_, 2 + length);
        take(marker, segment);
        at_ += segment.size();
        return marker == SOS ? takeEntropyData() : Step::more;
    }

    void take(std::uint8_t marker, std::string_view segment) {
        const std::string_view payload = segment.substr(4);
        if (marker == APP1 && !seenExif_ && startsWith(payload, {"Exif\0\0", 6})) {
            seenExif_ = true;
            orientation_ = orientationInTiff(payload.substr(6));
        }
        const bool application = (marker >= APP0 && marker <= APP15) || marker == COM;
        if (!application) {
            body_.append(segment);
        } else if (keepApplicationSegment(marker, payload)) {
            (marker == APP0 && jfif_.empty() ? jfif_ : body_).append(segment);
        }
    }

    Step takeEntropyData() {
        seenScan_ = true;
        const auto end = endOfEntropyData(jpeg_, at_);
        if (!end) return Step::bad;
        body_.append(jpeg_.substr(at_, *end - at_));
        at_ = *end;
        return Step::more;
    }

    std::string_view jpeg_;
    size_t at_ = 0;
    std::string jfif_;  // the APP0 JFIF segment, which must stay first
    std::string body_;  // every other kept segment and the entropy-coded data
    std::optional<int> orientation_;
    bool seenExif_ = false;
    bool seenScan_ = false;
};

}  // namespace

std::optional<std::string> strippedJpeg(std::string_view jpeg) {
    return SegmentFilter(jpeg).run();
}

}  // namespace tavrino
