#include "convert/ImageWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "convert/ConvertError.h"
#include "convert/PendingFile.h"
#include "platform/Bmp.h"
#include "platform/HeifEncoder.h"
#include "platform/PdfImageWriter.h"
#include "platform/PngWriter.h"
#include "platform/WholeFile.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

ConvertError saveFailed(const fs::path& path) {
    return ConvertError("파일 저장 실패: " + path.string());
}

// A libvips encoder failed. The pixels of a lazily read source are decoded during the
// encoding, so the fault may be the source's: decode it once more on its own to tell.
[[noreturn]] void throwVipsFailure(const Image& image, const fs::path& intended) {
    if (!image.origin().empty() && !decodesCompletely(image.origin())) {
        throw ConvertError("이미지로 읽을 수 없음: " + image.origin().filename().string());
    }
    throw saveFailed(intended);
}

void saveWithVips(const Image& image, const fs::path& hidden, const fs::path& intended, Fmt type,
                  int quality) {
    const VipsSaver saver = type == Fmt::jpg ? VipsSaver::jpeg : VipsSaver::tiff;
    if (!vipsSave(image.ref(), hidden, saver, quality)) throwVipsFailure(image, intended);
}

// Our own encoder deflates on every core; libvips' PNG saver uses one.
void saveAsPng(const Image& image, const fs::path& hidden, const fs::path& intended) {
    PngWriter writer(hidden, image.width(), image.height(), image.bands());
    const bool decoded = vipsForEachStripe(image.ref(), writer.stripeRows(),
                                           [&](const PixelView& rows) { writer.addRows(rows); });
    if (!decoded) throwVipsFailure(image, intended);
    if (!writer.finish()) throw saveFailed(intended);
}

// HEIC holds RGB or RGBA; grey pictures are widened first.
PixelBuffer colourPixels(const Image& image) {
    if (image.bands() >= 3) return image.pixels();
    VipsImageRef rgb = vipsSrgb(image.ref());
    if (!rgb) throw ConvertError("이미지로 읽을 수 없음");
    return image.derived(std::move(rgb)).pixels();
}

// An untouched JPEG goes into the PDF as it is: no generation loss, no re-encoding time.
// Its data is decoded once first, because a damaged JPEG must fail here rather than become
// a PDF that no reader can show.
void addPdfPage(PdfImageWriter& writer, const Image& image) {
    if (image.loader() == "jpegload_source" && (image.bands() == 1 || image.bands() == 3)) {
        if (!decodesCompletely(image.origin())) {
            throw ConvertError("이미지로 읽을 수 없음: " + image.origin().filename().string());
        }
        std::string jpeg =
            jpegWithoutMetadata(readWholeFile(image.origin()).value_or(std::string()));
        if (!jpeg.empty()) {
            writer.addJpegPage(std::move(jpeg), image.width(), image.height(), image.bands());
            return;
        }
    }
    writer.addPage(image.pixels());
}

void encode(const Image& image, const fs::path& hidden, const fs::path& intended, Fmt type,
            double quality) {
    const int q = static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100));
    switch (type) {
        case Fmt::png:
            saveAsPng(image, hidden, intended);
            return;
        case Fmt::jpg:
        case Fmt::tiff:
            saveWithVips(image, hidden, intended, type, q);
            return;
        case Fmt::bmp: {
            const PixelMemory pixels = image.pixelMemory();
            if (!encodeBmpFile(pixels.view(), hidden)) throw saveFailed(intended);
            return;
        }
        case Fmt::heic:
            if (!encodeHeicFile(colourPixels(image), hidden, {.quality = q}).empty()) {
                throw saveFailed(intended);
            }
            return;
        case Fmt::pdf: {
            PdfImageWriter writer;
            addPdfPage(writer, image);
            try {
                writer.write(hidden);
            } catch (const std::runtime_error&) {
                throw ConvertError("PDF 생성 실패: " + intended.string());
            }
            return;
        }
    }
}

}  // namespace

fs::path writeImage(const Image& image, const OutputName& name, Fmt type, double quality) {
    if (type == Fmt::heic && !heicEncoderAvailable()) {
        throw ConvertError(name.extension + " 쓰기 지원 안 됨");
    }
    const bool opaqueOnly = type == Fmt::jpg || type == Fmt::bmp;
    const Image ready = opaqueOnly ? flattened(image) : image.share();
    PendingFile pending(name);
    encode(ready, pending.path(), pending.intendedPath(), type, quality);
    return pending.place();
}

fs::path writeImage(const Image& image, const fs::path& path, Fmt type, double quality) {
    OutputName name = OutputName::exactly(path);
    if (type == Fmt::heic && !heicEncoderAvailable()) {
        throw ConvertError(path.extension().string().substr(path.has_extension() ? 1 : 0) +
                           " 쓰기 지원 안 됨");
    }
    return writeImage(image, name, type, quality);
}

fs::path writeImagesAsPDF(const std::vector<Image>& images, const OutputName& name) {
    PdfImageWriter writer;
    for (const Image& image : images) {
        try {
            addPdfPage(writer, image);
        } catch (const ConvertError&) {
            throw PageError("페이지 만들기 실패");
        }
    }
    PendingFile pending(name);
    try {
        writer.write(pending.path());
    } catch (const std::runtime_error&) {
        throw ConvertError("PDF 저장 실패");
    }
    return pending.place();
}

}  // namespace tavrino
