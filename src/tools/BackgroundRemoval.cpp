#include "tools/BackgroundRemoval.h"

#include <cstddef>

#include "convert/ConvertError.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"
#include "menu/Formats.h"
#include "platform/SaliencyNet.h"
#include "tools/SubjectMask.h"

namespace fs = std::filesystem;

namespace tavrino {

Image removeBackground(const Image& image) {
    if (!saliencyModelAvailable()) throw ConvertError("배경 제거 모델 없음");
    const PixelBuffer source = image.pixels();
    SaliencyMap likelihoods;
    try {
        likelihoods = salientObjects(
            PixelView{source.width, source.height, source.bands, source.bytes.data()});
    } catch (const SaliencyError& error) {
        throw ConvertError(std::string("배경 제거 실패: ") + error.what());
    }
    const SubjectMask mask = subjectMask(likelihoods);
    const std::vector<std::uint8_t> alpha = alphaAtSize(mask.alpha, source.width, source.height);

    PixelBuffer out{source.width, source.height, 4, {}};
    out.bytes.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    const int bands = source.bands;
    for (std::size_t i = 0; i < alpha.size(); ++i) {
        const std::uint8_t* in = source.bytes.data() + i * bands;
        std::uint8_t* pixel = out.bytes.data() + i * 4;
        const bool colour = bands >= 3;
        pixel[0] = in[0];
        pixel[1] = colour ? in[1] : in[0];
        pixel[2] = colour ? in[2] : in[0];
        // A source that is already partly transparent stays at least as transparent.
        std::uint8_t a = alpha[i];
        if (bands == 2 || bands == 4) a = std::min(a, in[bands - 1]);
        pixel[3] = a;
        // Fully transparent pixels carry no colour, so nothing of the background leaks out.
        if (a == 0) pixel[0] = pixel[1] = pixel[2] = 0;
    }
    Image result = Image::fromPixels(out);
    if (!result) throw ConvertError("배경 제거 결과 생성 실패");
    return result;
}

ToolResult removeBackgroundTool(const fs::path& path) {
    const Image cutOut = removeBackground(loadOrientedImage(path));
    return {writeImage(cutOut, toolOutputName(path, "배경제거", "png"), Fmt::png, 0.9),
            std::nullopt};
}

}  // namespace tavrino
