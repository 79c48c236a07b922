#pragma once
// Builds a PDF whose pages are pictures, through qpdf: each page is as large in points as its
// picture is in pixels (72 pixels per inch) and shows the whole picture. qpdf's headers stay
// in the .cpp.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/PixelBuffer.h"

namespace tavrino {

class PdfImageWriter {
  public:
    PdfImageWriter();
    ~PdfImageWriter();
    PdfImageWriter(const PdfImageWriter&) = delete;
    PdfImageWriter& operator=(const PdfImageWriter&) = delete;

    // Appends a page showing raw pixels (Flate-compressed on writing). An alpha band becomes
    // the picture's soft mask, so transparent parts stay transparent.
    void addPage(const PixelBuffer& pixels);

    // Appends a page showing JPEG data as it is (DCTDecode, no re-encoding). The caller
    // vouches for the data: baseline or progressive, 1 (grey) or 3 (YCbCr/RGB) components,
    // of the given size.
    void addJpegPage(std::string jpeg, int width, int height, int components);

    int pageCount() const;

    // Writes the document. Throws std::runtime_error with qpdf's message on failure.
    void write(const std::filesystem::path& path);

  private:
    struct Members;
    std::unique_ptr<Members> members_;
};

// The JPEG data with every APPn segment except APP0 (JFIF) and APP14 (Adobe colour
// transform) and every comment removed: no Exif, XMP, GPS or ICC data travels into a PDF.
// Empty when the data is not a well-formed JPEG up to its first scan.
std::string jpegWithoutMetadata(const std::string& jpeg);

}  // namespace tavrino
