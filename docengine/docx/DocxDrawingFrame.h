#pragma once
// The frame of a DrawingML object in a run: wp:inline for an object that flows as a
// character, or wp:anchor with its position, size and text wrap for one that floats.
// Pictures and text boxes share it, so both land where the source put them.

#include <pugixml.hpp>

#include <cstdint>
#include <string>

#include "model/Content.h"

namespace tavrino::docs {

struct DrawingFrame {
    bool inlineWithText = true;
    Placement placement;     // used when the object floats
    std::int64_t width = 0;  // EMU
    std::int64_t height = 0;
    int id = 1;  // unique among the document's drawings; also orders overlapping ones
    std::string name;
    std::string description;
    const char* graphicUri = "";  // the kind of graphic the frame holds
    bool lockAspect = false;      // resizing keeps the proportions (pictures)
};

// Appends w:drawing with the frame to `r` and returns its empty a:graphicData.
pugi::xml_node openDrawingFrame(pugi::xml_node r, const DrawingFrame& frame);

// The placement a wp:anchor gives its object (the defaults for anything else).
Placement readDrawingPlacement(const pugi::xml_node& anchor);

}  // namespace tavrino::docs
