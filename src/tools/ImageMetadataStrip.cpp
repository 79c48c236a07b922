#include <optional>
#include <string>

#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "convert/OutputNaming.h"
#include "convert/PendingFile.h"
#include "menu/Formats.h"
#include "platform/Bmp.h"
#include "tools/LosslessStrip.h"
#include "tools/MetadataStrip.h"
#include "tools/ResultFile.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

constexpr std::string_view suffix = "정보삭제";

enum class Container { jpeg, png, tiff, heif, gif, other, unknown };

bool at(std::string_view bytes, size_t offset, std::string_view magic) {
    return bytes.size() >= offset + magic.size() && bytes.substr(offset, magic.size()) == magic;
}

Container containerOf(std::string_view bytes) {
    using namespace std::string_view_literals;
    if (at(bytes, 0, "\xFF\xD8\xFF")) return Container::jpeg;
    if (at(bytes, 0, "\x89PNG\r\n\x1A\n")) return Container::png;
    if (at(bytes, 0, "II*\0"sv) || at(bytes, 0, "MM\0*"sv)) return Container::tiff;
    if (at(bytes, 4, "ftyp")) {
        for (std::string_view brand :
             {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif"}) {
            if (at(bytes, 8, brand)) return Container::heif;
        }
    }
    if (at(bytes, 0, "GIF8")) return Container::gif;
    if (at(bytes, 8, "WEBP")) return Container::other;
    return Container::unknown;
}

std::optional<std::string> stripped(Container container, std::string_view bytes) {
    switch (container) {
        case Container::jpeg:
            return strippedJpeg(bytes);
        case Container::png:
            return strippedPng(bytes);
        case Container::tiff:
            return strippedTiff(bytes);
        case Container::heif:
            return strippedHeif(bytes);
        case Container::gif:
            return strippedGif(bytes);
        case Container::other:
        case Container::unknown:
            break;
    }
    return std::nullopt;
}

// The extension exactly as the source writes it ("JPG" stays "JPG").
std::string writtenExtension(const fs::path& path, std::string_view fallback) {
    const std::string ext = path.extension().string();
    return ext.size() > 1 ? ext.substr(1) : std::string(fallback);
}

// BMP holds no metadata; decoding and encoding it again drops whatever odd chunks it has.
// The BMP encoder keeps every band, an alpha band included, so nothing is lost.
ToolResult rewriteBmp(const fs::path& path) {
    const PixelBuffer pixels = loadImage(path).pixels();
    PendingFile pending(toolOutputName(path, suffix, writtenExtension(path, "bmp")));
    if (!encodeBmpFile(pixels, pending.path())) {
        throw ConvertError("파일 저장 실패: " + pending.intendedPath().string());
    }
    return {pending.place(), "다시 저장(무손실)"};
}

}  // namespace

ToolResult stripImageMetadata(const fs::path& path, std::string_view fallbackExtension) {
    if (fmtFromExtension(lowerExtension(path)) == Fmt::bmp) return rewriteBmp(path);
    const std::optional<std::string> bytes = readWholeFile(path);
    const Container container = bytes ? containerOf(*bytes) : Container::unknown;
    if (container == Container::unknown) throw ConvertError("이미지로 읽을 수 없음");
    if (container == Container::other) throw ConvertError("쓰기 지원 안 됨");
    const std::optional<std::string> copy = stripped(container, *bytes);
    if (!copy) throw ConvertError("이미지로 읽을 수 없음");
    const OutputName name = toolOutputName(path, suffix, writtenExtension(path, fallbackExtension));
    return {writeResultFile(*copy, name, "정보 삭제 실패"), std::nullopt};
}

}  // namespace tavrino
