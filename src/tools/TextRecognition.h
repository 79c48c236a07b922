#pragma once
// Reading the text of one picture: the picture is prepared for the engine (grey, dark text
// on light, text scaled to a size the models read well) and its lines kept when the engine
// trusts them.

#include <string>

#include "platform/PixelBuffer.h"
#include "platform/TextRecognizer.h"

namespace tavrino {

// Grey over white, inverted when the picture's border is dark (light text on a dark
// theme), and scaled up when its text lines are small. Any band count of PixelBuffer.
PixelBuffer preparedForReading(const PixelBuffer& pixels);

// The lines of one picture joined with "\n"; empty when nothing trustworthy was found.
std::string recognizePicture(TextRecognizer& engine, const PixelBuffer& pixels);

}  // namespace tavrino
