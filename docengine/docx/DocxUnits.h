#pragma once
// The units a DOCX package speaks, against the model's: lengths in the model are HWPUNIT
// (1/7200 inch), font sizes 1/100 point. WordprocessingML measures lengths in twips
// (1/1440 inch) and drawings in EMU (1/914400 inch), and font sizes in half-points.

#include <algorithm>
#include <cstdint>

namespace tavrino::docs {

inline constexpr int hwpPerTwip = 5;
inline constexpr std::int64_t emuPerHwp = 127;

// Saturates: a hostile file's 2,000,000,000 twips must not wrap into a negative length.
constexpr int twipsToHwp(int twips) {
    const std::int64_t hwp = std::int64_t{twips} * hwpPerTwip;
    return static_cast<int>(std::clamp<std::int64_t>(hwp, INT32_MIN, INT32_MAX));
}
// Truncates towards zero, as Word does when it reads a fractional twip. Takes a 64-bit length
// so that the sum of two of the model's lengths (a margin and the header above it) cannot
// overflow on the way; a fifth of such a sum always fits an int.
constexpr int hwpToTwips(std::int64_t hwp) {
    return static_cast<int>(hwp / hwpPerTwip);
}

constexpr std::int64_t hwpToEmu(std::int64_t hwp) {
    return hwp * emuPerHwp;
}
constexpr std::int32_t emuToHwp(std::int64_t emu) {
    return static_cast<std::int32_t>(emu / emuPerHwp);
}

// Rounded to the nearest half-point.
constexpr int hundredthsToHalfPoints(int hundredths) {
    return (hundredths + 25) / 50;
}
constexpr int halfPointsToHundredths(int halfPoints) {
    const std::int64_t hundredths = std::int64_t{halfPoints} * 50;
    return static_cast<int>(std::clamp<std::int64_t>(hundredths, INT32_MIN, INT32_MAX));
}

}  // namespace tavrino::docs
