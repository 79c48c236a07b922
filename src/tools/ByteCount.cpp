#include "tools/ByteCount.h"

#include <array>
#include <cmath>

namespace tavrino {

std::string byteCountText(std::uint64_t bytes) {
    if (bytes == 1) return "1 byte";
    if (bytes < 1000) return std::to_string(bytes) + " bytes";
    static constexpr std::array<const char*, 6> units{"KB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1000.0;
    size_t unit = 0;
    // Promote on the rounded value, so 999 950 bytes reads "1.0 MB" rather than "1000.0 KB".
    while (std::round(value * 10.0) >= 10000.0 && unit + 1 < units.size()) {
        value /= 1000.0;
        ++unit;
    }
    // Digits by integer arithmetic: printf would follow whatever C locale the GUI set.
    const auto tenths = static_cast<std::uint64_t>(std::llround(value * 10.0));
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + units[unit];
}

std::string sizeChangeNote(std::uint64_t before, std::uint64_t after) {
    return byteCountText(before) + " → " + byteCountText(after);
}

}  // namespace tavrino
