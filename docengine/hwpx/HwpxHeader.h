#pragma once
// The shared property tables of Contents/header.xml, resolved into model values keyed by
// their ids. Missing ids resolve to defaults, so a damaged reference never fails a read.

#include <pugixml.hpp>

#include <map>
#include <optional>
#include <string>

#include "model/Content.h"

namespace tavrino::docs {

struct CellLook {
    Borders borders;
    std::optional<Color> fill;
};

struct HwpxHeader {
    std::map<int, CharProps> charProps;
    std::map<int, ParaProps> paraProps;
    std::map<int, CellLook> borderFills;
    std::map<int, std::string> styleNames;

    const CharProps& charPr(int id) const;
    ParaProps paraPr(int id) const;
    CellLook borderFill(int id) const;
};

// Reads a parsed header.xml (canonical prefixes, see SafeXml.h).
HwpxHeader readHwpxHeader(const pugi::xml_document& header);

// "#RRGGBB" to a colour; no value for "none" or anything malformed.
std::optional<Color> parseHwpxColor(std::string_view text);

// "0.12 mm" to HWPUNIT.
std::int32_t parseHwpxLineWidth(std::string_view text);

}  // namespace tavrino::docs
