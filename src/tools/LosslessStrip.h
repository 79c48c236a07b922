#pragma once
// Metadata stripping without touching the encoded picture: each function takes the bytes of
// one image file and returns the same file with every metadata block removed and a fresh,
// minimal one holding only the orientation (when the source had one). The compressed image
// data is copied byte for byte; nothing is decoded or re-encoded.
//
// No value means the bytes are not a well-formed file of that format (wrong signature,
// truncated, a length pointing outside the file, a checksum that does not match): such a
// file is refused rather than copied half-way.

#include <optional>
#include <string>
#include <string_view>

namespace tavrino {

// JPEG: keeps the JFIF header (APP0), the colour profile (APP2 ICC_PROFILE), the Adobe colour
// transform (APP14) and every coding segment; drops all other APPn segments (Exif, XMP,
// IPTC/Photoshop, MPF, maker data), comments and anything after the end-of-image marker
// (appended second pictures, motion-photo videos). Writes an Exif APP1 with the orientation.
std::optional<std::string> strippedJpeg(std::string_view jpeg);

// PNG: keeps the critical chunks and those that change how pixels look (transparency,
// gamma, chromaticities, sRGB, ICC profile, significant bits, background, physical pixel
// size, palette histogram, animation control); drops text, time, eXIf and unknown
// ancillary chunks. The orientation goes into a new eXIf chunk before the image data.
std::optional<std::string> strippedPng(std::string_view png);

// TIFF (through exiv2): every page keeps its image structure; Exif, GPS, XMP, IPTC and the
// descriptive baseline tags (make, model, artist, software, dates, ...) go.
std::optional<std::string> strippedTiff(std::string_view tiff);

// GIF: keeps every frame with its graphic control and the looping and colour-profile
// application extensions; drops comments, XMP and other application data. GIF has no
// orientation.
std::optional<std::string> strippedGif(std::string_view gif);

// HEIF/HEIC: the Exif and XMP items are taken out of the item tables and their bytes are
// overwritten with zeros; every offset of the file stays valid because the meta box keeps
// its size (a free box takes the room of the removed entries). The orientation of a HEIF
// picture lives in its image properties (irot/imir), which stay.
std::optional<std::string> strippedHeif(std::string_view heif);

}  // namespace tavrino
