// TIFF through exiv2. In a TIFF file the metadata tags share the image file directories with
// the tags that describe the pixels, so the file cannot be filtered block by block as JPEG
// and PNG can; exiv2 rewrites the directories and keeps the image data and its structure.

#include <exiv2/exiv2.hpp>

#include <mutex>
#include <set>

#include "tools/LosslessStrip.h"
#include "tools/TiffReader.h"

namespace tavrino {
namespace {

void quietExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        // The XMP toolkit must be set up once before any thread parses XMP.
        Exiv2::XmpParser::initialize();
    });
}

std::optional<int> orientationOf(const Exiv2::ExifData& exif) {
    const auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (it == exif.end() || it->count() < 1) return std::nullopt;
    const long value = it->toLong();
    if (value < 1 || value > 8) return std::nullopt;
    return static_cast<int>(value);
}

std::string contentsOf(Exiv2::BasicIo& io) {
    if (io.open() != 0) return {};
    std::string out(io.size(), '\0');
    const long read = io.read(reinterpret_cast<Exiv2::byte*>(out.data()), io.size());
    io.close();
    if (read != static_cast<long>(out.size())) return {};
    return out;
}

// Whether one directory's strips (tags 273/279) or tiles (324/325) lie inside the file.
bool pageDataInside(const TiffReader& tiff, size_t ifd, std::uint32_t entries) {
    std::optional<std::vector<std::uint32_t>> offsets, counts;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const size_t entry = ifd + 2 + size_t{i} * 12;
        const auto tag = tiff.u16(entry);
        if (!tag) return false;
        if (*tag == 273 || *tag == 324) offsets = tiff.values(entry);
        if (*tag == 279 || *tag == 325) counts = tiff.values(entry);
    }
    if (!offsets || !counts || offsets->size() != counts->size()) return false;
    for (size_t i = 0; i < offsets->size(); ++i) {
        if ((*offsets)[i] > tiff.size() || (*counts)[i] > tiff.size() - (*offsets)[i]) return false;
    }
    return true;
}

// exiv2 copies whatever image data it finds and says nothing about data cut off by a
// truncated file, so a damaged TIFF is refused before it is handed over.
bool imageDataInside(std::string_view bytes) {
    TiffReader tiff(bytes);
    if (!tiff.readByteOrder()) return false;
    std::set<std::uint32_t> seen;
    std::optional<std::uint32_t> ifd = tiff.u32(4);
    while (ifd && *ifd != 0) {
        const auto entries = tiff.u16(*ifd);
        if (!entries || !seen.insert(*ifd).second) return false;  // unreadable, or a loop
        if (!pageDataInside(tiff, *ifd, *entries)) return false;
        ifd = tiff.u32(*ifd + 2 + size_t{*entries} * 12);  // the next page's directory
    }
    return ifd.has_value() && !seen.empty();
}

}  // namespace

std::optional<std::string> strippedTiff(std::string_view tiff) {
    quietExiv2();
    try {
        const auto* bytes = reinterpret_cast<const Exiv2::byte*>(tiff.data());
        const long size = static_cast<long>(tiff.size());
        if (Exiv2::ImageFactory::getType(bytes, size) != Exiv2::ImageType::tiff ||
            !imageDataInside(tiff)) {
            return std::nullopt;
        }
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(bytes, size);
        image->readMetadata();
        const std::optional<int> orientation = orientationOf(image->exifData());
        image->clearMetadata();
        if (orientation) {
            image->exifData()["Exif.Image.Orientation"] = static_cast<std::uint16_t>(*orientation);
        }
        image->writeMetadata();
        std::string out = contentsOf(image->io());
        if (out.empty()) return std::nullopt;
        return out;
    } catch (const Exiv2::AnyError&) {
        return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace tavrino
