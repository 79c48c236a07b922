#include "tools/ImagePages.h"

#include <string>
#include <vector>

#include "convert/ConvertError.h"
#include "convert/Frames.h"
#include "convert/Image.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"

namespace fs = std::filesystem;

namespace tavrino {

void writeImagePages(const fs::path& source, const fs::path& pdf) {
    const std::string name = source.filename().string();
    const std::vector<Image> frames = imageFrames(source);
    if (frames.empty()) throw ConvertError("페이지 만들기 실패: " + name);
    try {
        writeImagesAsPDF(frames, OutputName::exactly(pdf));
    } catch (const PageError&) {
        // Pixels are decoded only while the page is made, so a damaged file shows up here;
        // say so rather than blame the page.
        if (!decodesCompletely(source)) throw ConvertError("이미지로 읽을 수 없음: " + name);
        throw ConvertError("페이지 만들기 실패: " + name);
    }
}

}  // namespace tavrino
