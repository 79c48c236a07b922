// TIFF through exiv2. In a TIFF file the metadata tags share the image file directories with
// the tags that describe the pixels, so the file cannot be filtered block by block as JPEG
// and PNG can; exiv2 rewrites the directories and keeps the image data and its structure.

#include <exiv2/exiv2.hpp>

#include <mutex>

#include "tools/LosslessStrip.h"

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

}  // namespace

std::optional<std::string> strippedTiff(std::string_view tiff) {
    quietExiv2();
    try {
        const auto* bytes = reinterpret_cast<const Exiv2::byte*>(tiff.data());
        const long size = static_cast<long>(tiff.size());
        if (Exiv2::ImageFactory::getType(bytes, size) != Exiv2::ImageType::tiff) {
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
