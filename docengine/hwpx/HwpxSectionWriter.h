#pragma once
// Writes one model Section as Contents/sectionN.xml, registering the properties it uses
// with the header writer and the pictures it shows with `usedMedia`.

#include <set>
#include <string>

#include "hwpx/HwpxHeaderWriter.h"
#include "model/Document.h"

namespace tavrino::docs {

// The manifest id of an embedded file ("image1" for media index 0).
std::string hwpxMediaId(std::size_t mediaIndex);

std::string writeHwpxSection(const Section& section, HwpxHeaderWriter& header,
                             std::set<std::size_t>& usedMedia, std::size_t mediaCount);

}  // namespace tavrino::docs
