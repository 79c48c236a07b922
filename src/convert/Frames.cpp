#include "convert/Frames.h"

#include <system_error>

#include "convert/ConvertError.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"
#include "convert/PendingFolder.h"
#include "platform/ImageProbe.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

bool isTIFFName(const fs::path& path) {
    const std::string ext = lowerExtension(path);
    return ext == "tif" || ext == "tiff";
}

}  // namespace

bool isMultiPageTIFF(const fs::path& path) {
    return isTIFFName(path) && imageFrameCount(path) > 1;
}

bool isAnimatedGIF(const fs::path& path) {
    return lowerExtension(path) == "gif" && imageFrameCount(path) > 1;
}

std::vector<Image> imageFrames(const fs::path& path) {
    return imageFrames(path, isTIFFName(path) ? imageFrameCount(path) : 0);
}

std::vector<Image> imageFrames(const fs::path& path, int count) {
    if (count < 2) {
        std::vector<Image> single;
        single.push_back(loadOrientedImage(path));
        return single;
    }
    // Every page is held in memory until the last is read; together they stay within the
    // same pixel budget as one picture, so a file of thousands of pages cannot exhaust memory.
    std::vector<Image> frames;
    std::uint64_t pixels = 0;
    for (int index = 0; index < count; ++index) {
        std::optional<Image> frame = loadImagePage(path, index);
        if (!frame) continue;
        pixels += static_cast<std::uint64_t>(frame->width()) *
                  static_cast<std::uint64_t>(frame->height());
        if (pixels > maxImagePixels) {
            throw ConvertError("이미지로 읽을 수 없음: " + path.filename().string());
        }
        frames.push_back(std::move(*frame));
    }
    return frames;
}

fs::path convertImageFrames(const fs::path& path, const std::vector<Image>& frames, Fmt fmt) {
    if (frames.empty()) throw ConvertError("그림 장을 읽지 못함");
    if (fmt == Fmt::pdf) return writeImagesAsPDF(frames, outputName(path, "pdf"));
    PendingFolder folder(imageFolderName(path));
    const std::string stem = path.stem().string();
    for (size_t i = 0; i < frames.size(); ++i) {
        const fs::path file =
            folder.path() / (stem + " " + std::to_string(i + 1) + "." + std::string(rawValue(fmt)));
        writeImage(frames[i], file, fmt, 0.9);
    }
    return folder.place();
}

}  // namespace tavrino
