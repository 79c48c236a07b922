#pragma once
// Cutting a picture into the blocks a reader reads one after the other: bands split at wide
// empty rows, columns split at wide empty columns, recursively, in reading order (top to
// bottom, then left to right). The engine reads each block as one block of lines, so the
// lines of two columns are never joined across the gap, and a dark bar above a light body
// becomes a block of its own that can be turned dark-on-light.
//
// "Empty" means without ink, not white: a row or column whose pixels all lie close to the
// block's background (its median) is empty whether that background is light or dark.

#include <vector>

#include "platform/PixelBuffer.h"

namespace tavrino {

using TextBlock = PixelRegion;

// The median height of the bands of rows that hold contrast; 0 when no row does.
int typicalInkHeight(const PixelBuffer& grey);

// The blocks of a grey (1 band) picture whose lines are `line` pixels high (as
// typicalInkHeight measures them), in reading order, each trimmed to its contrast; none
// when the picture holds no contrast at all.
std::vector<TextBlock> textBlocks(const PixelBuffer& grey, int line);

// The bands of rows of `block` that hold ink, top to bottom, each as wide as the block: in
// a block of text, its lines.
std::vector<TextBlock> inkRows(const PixelBuffer& grey, const TextBlock& block);

// The margin around a block that the engine should see: half the smallest gap between two
// blocks, so that neighbours never overlap.
int blockMargin(int line);
// `block` grown by `margin` on every side, within a picture of width × height.
TextBlock withMargin(const TextBlock& block, int margin, int width, int height);

// A white picture of the same size that holds only the blocks of `grey` (and the pixels
// just around them), each turned dark on light where it was light on dark and framed in
// `margin` of its own background; the background is what most of that frame shows.
PixelBuffer blocksDarkOnLight(const PixelBuffer& grey, const std::vector<TextBlock>& blocks,
                              int margin);

}  // namespace tavrino
