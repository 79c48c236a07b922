#include "convert/ConvertFile.h"

#include "convert/ConvertError.h"
#include "convert/Frames.h"
#include "convert/Image.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"
#include "convert/PdfPages.h"

namespace fs = std::filesystem;

namespace tavrino {

fs::path convertFile(const fs::path& url, Fmt fmt) {
    if (fileKind(url) == FileKind::pdf && fmt != Fmt::pdf) {
        if (auto document = PdfDocument::open(url); document && document->pageCount() >= 2) {
            return convertPDFPages(url, *document, fmt);
        }
    }
    if (isMultiPageTIFF(url)) return convertImageFrames(url, imageFrames(url), fmt);
    const Image image = loadImage(url);
    return writeImage(image, outputName(url, rawValue(fmt)), fmt, 0.9);
}

}  // namespace tavrino
