#pragma once
// The words OWPML uses for model values, shared by the HWPX writers.

#include <string>
#include <string_view>
#include <vector>

#include "model/Content.h"

namespace tavrino::docs {

// The prefixes the word processor declares on header.xml, every section and content.hpf.
const std::vector<std::string_view>& hwpxRootNamespaces();

const char* hwpxAlignment(Alignment alignment);
const char* hwpxLineSpacingType(LineSpacingRule rule);
const char* hwpxBorderType(BorderStyle style);
const char* hwpxUnderlineShape(Underline underline);
std::string hwpxColor(const Color& color);
std::string hwpxLineWidth(std::int32_t hwpunit);  // the nearest of the 16 allowed widths

}  // namespace tavrino::docs
