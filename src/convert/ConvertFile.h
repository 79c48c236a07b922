#pragma once
// The convert petal's work on one file.

#include <filesystem>

#include "menu/FileFacts.h"

namespace tavrino {

// Converts an image or PDF to `fmt` beside the source (outputName's counter rule) and
// returns the written file. A PDF of two or more pages (to an image format) and a TIFF of
// two or more pages give a folder of one image per page instead (or, TIFF to PDF, one PDF).
// Everything else is decoded once, flattened onto white for JPG and BMP, and encoded with
// quality 0.9 and no metadata of the source. The source is never changed, and a failure
// leaves nothing beside it. Throws ConvertError (see Image.h, ImageWriter.h, PdfPages.h,
// Frames.h) or std::filesystem_error when the page folder cannot be made.
std::filesystem::path convertFile(const FileFacts& source, Fmt fmt);
std::filesystem::path convertFile(const std::filesystem::path& source, Fmt fmt);

}  // namespace tavrino
