#include "convert/ConvertFile.h"

#include "convert/ConvertError.h"
#include "convert/Frames.h"
#include "convert/Image.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"
#include "convert/PdfPages.h"

namespace fs = std::filesystem;

namespace tavrino {

fs::path convertFile(const FileFacts& source, Fmt fmt) {
    const fs::path& path = source.path();
    if (source.kind() == FileKind::pdf && fmt != Fmt::pdf) {
        if (auto document = PdfDocument::open(path); document && document->pageCount() >= 2) {
            return convertPDFPages(path, *document, fmt);
        }
    }
    if (source.isMultiPageTIFF()) {
        return convertImageFrames(path, imageFrames(path, source.frameCount()), fmt);
    }
    const Image image = loadImage(path);
    return writeImage(image, outputName(path, rawValue(fmt)), fmt, 0.9);
}

fs::path convertFile(const fs::path& source, Fmt fmt) {
    return convertFile(FileFacts(source), fmt);
}

}  // namespace tavrino
