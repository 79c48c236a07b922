#pragma once
// The one tag that survives metadata stripping: the orientation (TIFF tag 0x0112 in IFD0 of
// an Exif block). Exif is a little TIFF file of its own: a byte-order mark ("II" or "MM"),
// the number 42, the offset of IFD0, then 12-byte directory entries.

#include <optional>
#include <string>
#include <string_view>

namespace tavrino {

// The orientation (1 to 8) held in IFD0 of a TIFF-structured block; no value when the block
// has none, holds an out-of-range value or is malformed. Never reads outside `tiff`.
std::optional<int> orientationInTiff(std::string_view tiff);

// A complete, minimal big-endian TIFF block whose IFD0 holds the orientation and nothing else.
std::string orientationOnlyTiff(int orientation);

}  // namespace tavrino
