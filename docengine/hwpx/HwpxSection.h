#pragma once
// Turning one Contents/sectionN.xml into a model Section.

#include <pugixml.hpp>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "hwpx/HwpxHeader.h"
#include "model/Document.h"

namespace tavrino::docs {

// Looks up an embedded file by its manifest id and adds it to the document's media once;
// no value when the package does not hold it.
using MediaLookup = std::function<std::optional<std::size_t>(const std::string& itemId)>;

// Reads the paragraphs of `sec` (an hs:sec element): one section, and one more, starting
// without a new page, wherever the column layout is set again further down. Unknown objects
// are counted in `document.dropped`; pictures are added through `media`.
std::vector<Section> readHwpxSection(const pugi::xml_node& sec, const HwpxHeader& header,
                                     Document& document, const MediaLookup& media);

}  // namespace tavrino::docs
