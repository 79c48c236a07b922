#include "convert/PngPixels.h"

#include <algorithm>

#include "convert/ConvertError.h"
#include "convert/PendingFile.h"
#include "platform/PngWriter.h"

namespace fs = std::filesystem;

namespace tavrino {

void writePngPixels(const PixelView& pixels, const fs::path& file) {
    PendingFile pending(OutputName::exactly(file));
    PngWriter writer(pending.path(), pixels.width, pixels.height, pixels.bands);
    const int stripe = writer.stripeRows();
    for (int top = 0; top < pixels.height; top += stripe) {
        PixelView rows = pixels;
        rows.data = pixels.data + static_cast<std::size_t>(top) * pixels.rowBytes();
        rows.height = std::min(stripe, pixels.height - top);
        writer.addRows(rows);
    }
    if (!writer.finish()) throw ConvertError("파일 저장 실패: " + file.string());
    pending.place();
}

void writePngPixels(const PixelBuffer& pixels, const fs::path& file) {
    writePngPixels(PixelView{pixels.width, pixels.height, pixels.bands, pixels.bytes.data()}, file);
}

}  // namespace tavrino
