#pragma once
// Straightening a slightly turned photo of a page before it is read. The engine reads a
// block's lines along the rows of pixels: lines that climb or fall by a few degrees cross
// into each other's rows, and a word that spans two of them comes out as junk (a turned
// "English" read as "808460").

#include "platform/PixelBuffer.h"

namespace tavrino {

// The slope, in degrees, of the text lines of a grey (1 band) picture, within ±4°; positive
// when they fall to the right (y grows with x). 0 for level lines and for a picture without
// lines to judge by.
double skewAngle(const PixelBuffer& grey);

// `grey` turned so that lines of slope `degrees` (as skewAngle measures it) become level,
// on a canvas grown to keep the corners; the new pixels are the picture's background (its
// median), so that they hold no ink.
PixelBuffer levelled(const PixelBuffer& grey, double degrees);

}  // namespace tavrino
