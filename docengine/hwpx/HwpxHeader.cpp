#include "hwpx/HwpxHeader.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "model/Lists.h"

namespace tavrino::docs {
namespace {

// Font faces per language: lang -> font id -> face.
using FontTable = std::map<std::string, std::map<int, std::string>>;

FontTable readFonts(const pugi::xml_node& refList) {
    FontTable fonts;
    for (const auto& face : refList.child("hh:fontfaces").children("hh:fontface")) {
        auto& table = fonts[face.attribute("lang").as_string()];
        for (const auto& font : face.children("hh:font")) {
            table[font.attribute("id").as_int()] = font.attribute("face").as_string();
        }
    }
    return fonts;
}

std::string fontFace(const FontTable& fonts, const char* lang, int id) {
    const auto table = fonts.find(lang);
    if (table == fonts.end()) return {};
    const auto font = table->second.find(id);
    return font == table->second.end() ? std::string() : font->second;
}

Underline underlineFrom(const pugi::xml_node& node) {
    if (!node || std::string_view(node.attribute("type").as_string("NONE")) == "NONE") {
        return Underline::none;
    }
    const std::string_view shape = node.attribute("shape").as_string("SOLID");
    if (shape == "DOUBLE_SLIM" || shape == "DOUBLE") return Underline::doubled;
    if (shape == "DOT") return Underline::dotted;
    if (shape.find("DASH") != std::string_view::npos) return Underline::dashed;
    if (shape == "WAVE" || shape == "DOUBLE_WAVE") return Underline::wavy;
    if (shape == "THICK" || shape.find("THICK") != std::string_view::npos) return Underline::thick;
    return Underline::single;
}

Strike strikeFrom(const pugi::xml_node& node) {
    const std::string_view shape = node ? node.attribute("shape").as_string("NONE") : "NONE";
    if (shape == "NONE" || shape.empty()) return Strike::none;
    return shape.find("DOUBLE") != std::string_view::npos ? Strike::doubled : Strike::single;
}

CharProps readCharPr(const pugi::xml_node& node, const FontTable& fonts) {
    CharProps props;
    props.size = node.attribute("height").as_int(1000);
    props.color = parseHwpxColor(node.attribute("textColor").as_string());
    if (props.color == Color{}) props.color.reset();
    props.highlight = parseHwpxColor(node.attribute("shadeColor").as_string());
    if (props.highlight == Color{255, 255, 255}) props.highlight.reset();
    const auto fontRef = node.child("hh:fontRef");
    props.fontFace = fontFace(fonts, "HANGUL", fontRef.attribute("hangul").as_int());
    const std::string latin = fontFace(fonts, "LATIN", fontRef.attribute("latin").as_int());
    if (latin != props.fontFace) props.latinFace = latin;
    props.bold = bool(node.child("hh:bold"));
    props.italic = bool(node.child("hh:italic"));
    props.underline = underlineFrom(node.child("hh:underline"));
    props.strike = strikeFrom(node.child("hh:strikeout"));
    if (node.child("hh:supscript")) props.position = VerticalPosition::superscript;
    if (node.child("hh:subscript")) props.position = VerticalPosition::subscript;
    return props;
}

Alignment alignmentFrom(std::string_view value) {
    if (value == "CENTER") return Alignment::center;
    if (value == "RIGHT") return Alignment::right;
    if (value == "JUSTIFY") return Alignment::justify;
    if (value == "DISTRIBUTE" || value == "DISTRIBUTE_SPACE") return Alignment::distribute;
    return Alignment::left;
}

LineSpacingRule spacingRuleFrom(std::string_view value) {
    if (value == "FIXED") return LineSpacingRule::exact;
    if (value == "AT_LEAST") return LineSpacingRule::atLeast;
    if (value == "BETWEEN_LINES") return LineSpacingRule::between;
    return LineSpacingRule::percent;
}

// Margins and line spacing sit either directly in the paraPr or inside hp:switch, whose
// hp:case (HwpUnitChar namespace) carries true HWPUNIT values; hp:default doubles them.
void readSpacing(const pugi::xml_node& paraPr, ParaProps& props) {
    pugi::xml_node holder = paraPr;
    int divisor = 1;
    if (const auto choice = paraPr.child("hp:switch")) {
        holder = choice.child("hp:case");
        if (!holder) {
            holder = choice.child("hp:default");
            divisor = 2;
        }
    }
    const auto margin = holder.child("hh:margin");
    auto value = [&](const char* name) {
        return margin.child(name).attribute("value").as_int() / divisor;
    };
    props.firstLine = value("hc:intent");
    props.indentLeft = value("hc:left");
    props.indentRight = value("hc:right");
    props.spaceBefore = value("hc:prev");
    props.spaceAfter = value("hc:next");
    const auto spacing = holder.child("hh:lineSpacing");
    props.lineSpacing.rule = spacingRuleFrom(spacing.attribute("type").as_string("PERCENT"));
    props.lineSpacing.value = spacing.attribute("value").as_int(160);
    if (props.lineSpacing.rule != LineSpacingRule::percent) props.lineSpacing.value /= divisor;
}

ParaProps readParaPr(const pugi::xml_node& node) {
    ParaProps props;
    props.alignment = alignmentFrom(node.child("hh:align").attribute("horizontal").as_string());
    const auto breaks = node.child("hh:breakSetting");
    props.keepWithNext = breaks.attribute("keepWithNext").as_bool();
    props.keepLines = breaks.attribute("keepLines").as_bool();
    props.pageBreakBefore = breaks.attribute("pageBreakBefore").as_bool();
    readSpacing(node, props);
    const auto heading = node.child("hh:heading");
    const std::string_view type = heading.attribute("type").as_string("NONE");
    const int level = heading.attribute("level").as_int();
    if (type == "OUTLINE") props.outlineLevel = level;
    if (type == "NUMBER" || type == "BULLET") {
        props.list.kind = type == "BULLET" ? ListKind::bullet : ListKind::numbered;
        props.list.level = level;
        props.list.listId =
            heading.attribute("idRef").as_int() + (type == "BULLET" ? kBulletListBase : 0);
        props.list.format = type == "BULLET" ? NumberFormat::bullet : NumberFormat::decimal;
    }
    return props;
}

BorderStyle borderStyleFrom(std::string_view type) {
    if (type == "NONE" || type.empty()) return BorderStyle::none;
    if (type == "DOT" || type == "CIRCLE") return BorderStyle::dotted;
    if (type.find("DASH") != std::string_view::npos) return BorderStyle::dashed;
    if (type.find("DOUBLE") != std::string_view::npos ||
        type.find("THICK_") != std::string_view::npos ||
        type.find("SLIM_") != std::string_view::npos) {
        return BorderStyle::doubled;
    }
    return BorderStyle::single;
}

Border borderFrom(const pugi::xml_node& node) {
    Border border;
    border.style = borderStyleFrom(node.attribute("type").as_string("NONE"));
    border.width = parseHwpxLineWidth(node.attribute("width").as_string("0.12 mm"));
    border.color = parseHwpxColor(node.attribute("color").as_string()).value_or(Color{});
    return border;
}

CellLook readBorderFill(const pugi::xml_node& node) {
    CellLook look;
    look.borders.left = borderFrom(node.child("hh:leftBorder"));
    look.borders.right = borderFrom(node.child("hh:rightBorder"));
    look.borders.top = borderFrom(node.child("hh:topBorder"));
    look.borders.bottom = borderFrom(node.child("hh:bottomBorder"));
    const auto brush = node.child("hc:fillBrush").child("hc:winBrush");
    if (brush) look.fill = parseHwpxColor(brush.attribute("faceColor").as_string());
    return look;
}

// A numbering's level format ("DIGIT", "HANGUL_SYLLABLE", ...) for the list levels.
NumberFormat numberFormatFrom(std::string_view format) {
    if (format == "ROMAN_CAPITAL") return NumberFormat::upperRoman;
    if (format == "ROMAN_SMALL") return NumberFormat::lowerRoman;
    if (format == "LATIN_CAPITAL") return NumberFormat::upperLetter;
    if (format == "LATIN_SMALL") return NumberFormat::lowerLetter;
    if (format == "HANGUL_SYLLABLE") return NumberFormat::ganada;
    if (format == "HANGUL_JAMO") return NumberFormat::chosung;
    if (format.find("CIRCLED") != std::string_view::npos) return NumberFormat::circled;
    if (format == "HANGUL_PHONETIC") return NumberFormat::hangulDigit;
    if (format.find("IDEOGRAPH") != std::string_view::npos) return NumberFormat::hanjaDigit;
    return NumberFormat::decimal;
}

void applyNumberings(const pugi::xml_node& refList, std::map<int, ParaProps>& paraProps) {
    struct Level {
        NumberFormat format;
        std::string pattern;
        int start;
    };
    std::map<int, std::vector<Level>> formats;
    for (const auto& numbering : refList.child("hh:numberings").children("hh:numbering")) {
        auto& levels = formats[numbering.attribute("id").as_int()];
        for (const auto& head : numbering.children("hh:paraHead")) {
            // OWPML writes "^1." where Word writes "%1.".
            std::string pattern = head.text().as_string();
            std::replace(pattern.begin(), pattern.end(), '^', '%');
            const auto start =
                std::clamp<long long>(head.attribute("start").as_llong(1), 0, kMaxListStart);
            levels.push_back(Level{numberFormatFrom(head.attribute("numFormat").as_string()),
                                   pattern, static_cast<int>(start)});
        }
    }
    std::map<int, std::string> bullets;
    for (const auto& bullet : refList.child("hh:bullets").children("hh:bullet")) {
        bullets[bullet.attribute("id").as_int()] = bullet.attribute("char").as_string();
    }
    for (auto& [id, props] : paraProps) {
        ListInfo& list = props.list;
        // Outline paragraphs follow the outline numbering, which the word processor keeps as
        // numbering 1 and sections refer to.
        if (props.outlineLevel >= 0 && list.kind == ListKind::none)
            list = defaultOutlineLevel(props.outlineLevel);
        if (list.kind == ListKind::numbered) {
            const auto& levels = formats[list.listId == kOutlineListId ? 1 : list.listId];
            if (list.level >= 0 && list.level < int(levels.size())) {
                list.format = levels[list.level].format;
                list.pattern = levels[list.level].pattern;
                list.start = levels[list.level].start;
                // An outline level with no format shows no number.
                if (list.listId == kOutlineListId && list.pattern.empty()) list = ListInfo{};
            }
        } else if (list.kind == ListKind::bullet) {
            list.bulletText = bullets[list.listId - kBulletListBase];
        }
    }
}

}  // namespace

std::optional<Color> parseHwpxColor(std::string_view text) {
    if (text.empty() || text[0] != '#' || (text.size() != 7 && text.size() != 9)) {
        return std::nullopt;
    }
    // "#AARRGGBB" carries an alpha byte first; the colour is the last six digits.
    const std::string hex(text.substr(text.size() - 6));
    char* end = nullptr;
    const unsigned long value = std::strtoul(hex.c_str(), &end, 16);
    if (end != hex.c_str() + hex.size()) return std::nullopt;
    return Color{std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
}

std::int32_t parseHwpxLineWidth(std::string_view text) {
    const double millimetres = std::atof(std::string(text).c_str());
    return static_cast<std::int32_t>(millimetres * 7200.0 / 25.4 + 0.5);
}

const CharProps& HwpxHeader::charPr(int id) const {
    static const CharProps fallback = [] {
        CharProps props;
        props.size = 1000;
        return props;
    }();
    const auto found = charProps.find(id);
    return found == charProps.end() ? fallback : found->second;
}

ParaProps HwpxHeader::paraPr(int id) const {
    const auto found = paraProps.find(id);
    return found == paraProps.end() ? ParaProps{} : found->second;
}

CellLook HwpxHeader::borderFill(int id) const {
    const auto found = borderFills.find(id);
    return found == borderFills.end() ? CellLook{} : found->second;
}

HwpxHeader readHwpxHeader(const pugi::xml_document& document) {
    HwpxHeader header;
    const auto refList = document.child("hh:head").child("hh:refList");
    const FontTable fonts = readFonts(refList);
    for (const auto& node : refList.child("hh:charProperties").children("hh:charPr")) {
        header.charProps[node.attribute("id").as_int()] = readCharPr(node, fonts);
    }
    for (const auto& node : refList.child("hh:paraProperties").children("hh:paraPr")) {
        header.paraProps[node.attribute("id").as_int()] = readParaPr(node);
    }
    applyNumberings(refList, header.paraProps);
    for (const auto& node : refList.child("hh:borderFills").children("hh:borderFill")) {
        header.borderFills[node.attribute("id").as_int()] = readBorderFill(node);
    }
    for (const auto& node : refList.child("hh:styles").children("hh:style")) {
        header.styleNames[node.attribute("id").as_int()] = node.attribute("name").as_string();
    }
    return header;
}

}  // namespace tavrino::docs
