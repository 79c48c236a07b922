#pragma once
// Reading the text of one picture: the picture is prepared for the engine (grey, dark text
// on light, text scaled to a size the models read well) and its lines kept when the engine
// trusts them.

#include <string>
#include <vector>

#include "platform/PixelBuffer.h"
#include "platform/TextRecognizer.h"
#include "tools/TextBlocks.h"

namespace tavrino {

struct PreparedPicture {
    PixelBuffer grey;
    std::vector<TextBlock> blocks;  // in reading order, in the pixels of `grey`
};

// Grey over white, cut into blocks, each block that is light on dark (a dark theme, a dark
// title bar) turned dark on light, and scaled up when the text lines are small. Any band
// count of PixelBuffer. No blocks for a picture too small to hold a line of text.
PreparedPicture preparedForReading(const PixelBuffer& pixels);

// How far the engine trusts a line: the confidence (0-100) of its middle letter, each word's
// confidence standing for its letters and digits.
float lineConfidence(const RecognizedLine& line);

// The lines of one picture joined with "\n"; empty when nothing trustworthy was found.
std::string recognizePicture(TextRecognizer& engine, const PixelBuffer& pixels);

}  // namespace tavrino
