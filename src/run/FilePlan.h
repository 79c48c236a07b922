#pragma once
// Which files of a drop our own operations may carry out side by side, and the memory each
// may need, decided per target from what each encoder does on its own.

#include <cstdint>

#include "menu/FileFacts.h"
#include "menu/WheelItem.h"
#include "run/OrderedWork.h"

namespace tavrino {

// Side by side: pictures converted to PNG, JPG, TIFF, BMP or PDF, and the compress, resize,
// rotate and metadata tools. Their decoders and most encoders use one core, so files in
// parallel are what fills the others. Alone: HEIC (x265 already uses every core), PDF sources
// (their pages are rendered and encoded in a pipeline of their own), documents (external
// programs and their work folders), text recognition and background removal (their own
// thread pools), and anything else. A picture whose header gives no size runs alone, since
// its memory cannot be bounded in advance.
JobPlan standardPlan(const WheelItem& specific, const FileFacts& file);

// The memory a side-by-side job on a picture of `pixels` pixels may need at its peak: the
// decoded picture at four bytes a pixel, once more for an encoder that takes its own copy,
// and the libraries' working buffers.
std::uint64_t pictureJobBytes(std::uint64_t pixels);

}  // namespace tavrino
