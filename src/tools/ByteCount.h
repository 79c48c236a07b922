#pragma once
// File sizes as the user reads them in result notes ("4.2 MB → 1.1 MB"): decimal units
// (1 KB = 1000 bytes, as file managers show sizes), one decimal place.

#include <cstdint>
#include <string>

namespace tavrino {

// "0 bytes", "1 byte", "999 bytes", "1.0 KB", "4.2 MB", "1.5 GB", ... A value that rounds
// up to 1000 of a unit is shown in the next unit ("1.0 MB", never "1000.0 KB").
std::string byteCountText(std::uint64_t bytes);

// source + " → " + result, both as byteCountText.
std::string sizeChangeNote(std::uint64_t before, std::uint64_t after);

}  // namespace tavrino
