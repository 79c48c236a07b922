#pragma once
// The placement of a floating HWPX object: the hp:pos element's frames, alignments and
// offsets, and the object's textWrap attribute. Reading and writing share the words.

#include <pugixml.hpp>

#include "model/Content.h"

namespace tavrino::docs {

// The placement of `object` (hp:pic, hp:rect, ...), from its hp:pos child and textWrap.
Placement readHwpxPlacement(const pugi::xml_node& object);

// The frame, alignment and offset attributes of `pos` and the textWrap of `object`.
void writeHwpxPlacement(pugi::xml_node object, pugi::xml_node pos, const Placement& placement);

}  // namespace tavrino::docs
