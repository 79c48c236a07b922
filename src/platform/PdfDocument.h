#pragma once
// Reading and rendering PDF documents through poppler. Poppler's headers stay in the .cpp.

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/PixelBuffer.h"

namespace tavrino {

class PdfDocument {
  public:
    // No value when the file does not open as a PDF, needs a password, or has no page.
    static std::unique_ptr<PdfDocument> open(const std::filesystem::path& path);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    int pageCount() const;

    // The visible size of a page (its crop box, which defaults to the media box) in points,
    // turned by the page's /Rotate. Zero for a page that cannot be read.
    struct Size {
        double width = 0;
        double height = 0;
    };
    Size pageSize(int index) const;

    // Renders page `index` (from 0) at `scale` pixels per point onto opaque white: RGB, 3
    // bands, truncate(scale × width) × truncate(scale × height) pixels, the box's corner at
    // the bitmap's corner. No value when the page cannot be read or rendered, or when the
    // bitmap would be empty or exceed maxImagePixels.
    std::optional<PixelBuffer> renderPage(int index, double scale) const;

  private:
    struct Members;
    explicit PdfDocument(std::unique_ptr<Members> members);
    std::unique_ptr<Members> members_;
};

}  // namespace tavrino
