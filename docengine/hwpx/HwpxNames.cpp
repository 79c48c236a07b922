#include "hwpx/HwpxNames.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace tavrino::docs {

const std::vector<std::string_view>& hwpxRootNamespaces() {
    static const std::vector<std::string_view> prefixes{
        "ha",  "hp", "hp10", "hs",         "hc",          "hh",   "hhs",   "hm",
        "hpf", "dc", "opf",  "ooxmlchart", "hwpunitchar", "epub", "config"};
    return prefixes;
}

const char* hwpxAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::left:
            return "LEFT";
        case Alignment::center:
            return "CENTER";
        case Alignment::right:
            return "RIGHT";
        case Alignment::justify:
            return "JUSTIFY";
        case Alignment::distribute:
            return "DISTRIBUTE";
    }
    return "LEFT";
}

const char* hwpxLineSpacingType(LineSpacingRule rule) {
    switch (rule) {
        case LineSpacingRule::percent:
        case LineSpacingRule::multiple:
            return "PERCENT";
        case LineSpacingRule::exact:
            return "FIXED";
        case LineSpacingRule::atLeast:
            return "AT_LEAST";
        case LineSpacingRule::between:
            return "BETWEEN_LINES";
    }
    return "PERCENT";
}

const char* hwpxBorderType(BorderStyle style) {
    switch (style) {
        case BorderStyle::none:
            return "NONE";
        case BorderStyle::single:
            return "SOLID";
        case BorderStyle::thick:
            return "SOLID";
        case BorderStyle::doubled:
            return "DOUBLE_SLIM";
        case BorderStyle::dotted:
            return "DOT";
        case BorderStyle::dashed:
            return "DASH";
    }
    return "NONE";
}

const char* hwpxUnderlineShape(Underline underline) {
    switch (underline) {
        case Underline::doubled:
            return "DOUBLE_SLIM";
        case Underline::dotted:
            return "DOT";
        case Underline::dashed:
            return "DASH";
        case Underline::wavy:
            return "WAVE";
        case Underline::thick:
            return "THICK";
        default:
            return "SOLID";
    }
}

std::string hwpxColor(const Color& color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", color.red, color.green, color.blue);
    return text;
}

std::string hwpxLineWidth(std::int32_t hwpunit) {
    static constexpr std::array<std::pair<double, const char*>, 16> widths{{{0.1, "0.1 mm"},
                                                                            {0.12, "0.12 mm"},
                                                                            {0.15, "0.15 mm"},
                                                                            {0.2, "0.2 mm"},
                                                                            {0.25, "0.25 mm"},
                                                                            {0.3, "0.3 mm"},
                                                                            {0.4, "0.4 mm"},
                                                                            {0.5, "0.5 mm"},
                                                                            {0.6, "0.6 mm"},
                                                                            {0.7, "0.7 mm"},
                                                                            {1.0, "1.0 mm"},
                                                                            {1.5, "1.5 mm"},
                                                                            {2.0, "2.0 mm"},
                                                                            {3.0, "3.0 mm"},
                                                                            {4.0, "4.0 mm"},
                                                                            {5.0, "5.0 mm"}}};
    const double millimetres = hwpunit * 25.4 / 7200.0;
    const auto* best = &widths[1];
    for (const auto& width : widths) {
        if (std::fabs(width.first - millimetres) < std::fabs(best->first - millimetres))
            best = &width;
    }
    return best->second;
}

}  // namespace tavrino::docs
