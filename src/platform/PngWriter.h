#pragma once
// A PNG encoder that compresses on every core. The picture arrives in stripes of rows; each
// stripe is filtered (Paeth on every row) and deflated on its own by a worker, primed with
// the last 32 KB of the stripe before it as its dictionary, and ended on a byte boundary with
// a sync flush, so the pieces join into one valid zlib stream (the way parallel gzip tools
// do it) whose Adler-32 is combined from the pieces'. The file holds IHDR, one IDAT per piece
// and IEND: no metadata of any kind.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/PixelBuffer.h"

namespace tavrino {

class PngWriter {
  public:
    // Creates (or truncates) `path` for a width × height picture of 1 to 4 bands of 8 bits
    // (grey, grey + alpha, RGB, RGBA). `workers` 0 means this job's share of the usable cores
    // (platform/CoreShare.h), asked again before every stripe so that the writer takes the
    // cores a finished neighbour gives back. Nothing is thrown; failures show in finish().
    PngWriter(const std::filesystem::path& path, int width, int height, int bands,
              unsigned workers = 0);
    ~PngWriter();
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // The number of rows a stripe should hold (about a quarter megabyte of pixels).
    int stripeRows() const;

    // The next rows, top to bottom, of the picture's width and bands. Blocks while enough
    // stripes are waiting for a worker, so memory stays bounded whatever the picture's size.
    void addRows(const PixelView& rows);

    // Writes what is left and the end of the file; true when every row arrived and the
    // whole file was written.
    bool finish();

    // How many workers deflate stripes now.
    unsigned activeWorkers() const;

  private:
    struct Members;
    std::unique_ptr<Members> members_;
};

}  // namespace tavrino
