#include "docx/DocxStyles.h"
#include "docx/DocxUnits.h"

#include <algorithm>
#include <cstdlib>

namespace tavrino::docs {
namespace {

int attr(const pugi::xml_node& node, const char* name, int fallback = 0) {
    return node.attribute(name).as_int(fallback);
}

// An on/off element: present means on, unless w:val says 0/false/off.
bool toggle(const pugi::xml_node& node) {
    if (!node) return false;
    const std::string_view value = node.attribute("w:val").as_string("1");
    return !(value == "0" || value == "false" || value == "off");
}

std::optional<Color> hexColor(std::string_view text) {
    if (text.size() != 6) return std::nullopt;
    char* end = nullptr;
    const std::string hex(text);
    const unsigned long value = std::strtoul(hex.c_str(), &end, 16);
    if (end != hex.c_str() + 6) return std::nullopt;
    return Color{std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
}

std::optional<Color> highlightColor(std::string_view name) {
    static const std::map<std::string_view, Color> named{
        {"yellow", {255, 255, 0}},     {"green", {0, 255, 0}},
        {"cyan", {0, 255, 255}},       {"magenta", {255, 0, 255}},
        {"blue", {0, 0, 255}},         {"red", {255, 0, 0}},
        {"darkBlue", {0, 0, 128}},     {"darkCyan", {0, 128, 128}},
        {"darkGreen", {0, 128, 0}},    {"darkMagenta", {128, 0, 128}},
        {"darkRed", {128, 0, 0}},      {"darkYellow", {128, 128, 0}},
        {"darkGray", {128, 128, 128}}, {"lightGray", {192, 192, 192}},
        {"black", {0, 0, 0}},          {"white", {255, 255, 255}}};
    const auto found = named.find(name);
    return found == named.end() ? std::nullopt : std::optional<Color>(found->second);
}

Underline underlineFrom(std::string_view value) {
    if (value == "none" || value.empty()) return Underline::none;
    if (value == "double") return Underline::doubled;
    if (value.find("dotted") != std::string_view::npos) return Underline::dotted;
    if (value.find("dash") != std::string_view::npos) return Underline::dashed;
    if (value.find("wave") != std::string_view::npos) return Underline::wavy;
    if (value == "thick") return Underline::thick;
    return Underline::single;
}

Alignment alignmentFrom(std::string_view value) {
    if (value == "center") return Alignment::center;
    if (value == "right" || value == "end") return Alignment::right;
    if (value == "both") return Alignment::justify;
    if (value == "distribute") return Alignment::distribute;
    return Alignment::left;
}

NumberFormat numberFormatFrom(std::string_view value) {
    if (value == "upperRoman") return NumberFormat::upperRoman;
    if (value == "lowerRoman") return NumberFormat::lowerRoman;
    if (value == "upperLetter") return NumberFormat::upperLetter;
    if (value == "lowerLetter") return NumberFormat::lowerLetter;
    if (value == "ganada") return NumberFormat::ganada;
    if (value == "chosung") return NumberFormat::chosung;
    if (value == "decimalEnclosedCircle") return NumberFormat::circled;
    if (value.substr(0, 6) == "korean") return NumberFormat::hangulDigit;
    if (value == "bullet") return NumberFormat::bullet;
    return value == "decimal" ? NumberFormat::decimal : NumberFormat::other;
}

void applySpacing(const pugi::xml_node& spacing, ParaProps& props) {
    if (!spacing) return;
    if (spacing.attribute("w:before")) props.spaceBefore = twipsToHwp(attr(spacing, "w:before"));
    if (spacing.attribute("w:after")) props.spaceAfter = twipsToHwp(attr(spacing, "w:after"));
    if (!spacing.attribute("w:line")) return;
    const int line = attr(spacing, "w:line");
    const std::string_view rule = spacing.attribute("w:lineRule").as_string("auto");
    if (rule == "exact")
        props.lineSpacing = {LineSpacingRule::exact, twipsToHwp(line)};
    else if (rule == "atLeast")
        props.lineSpacing = {LineSpacingRule::atLeast, twipsToHwp(line)};
    else
        props.lineSpacing = {LineSpacingRule::multiple, line * 100 / 240};
}

void applyIndent(const pugi::xml_node& ind, ParaProps& props) {
    if (!ind) return;
    for (const char* name : {"w:left", "w:start"}) {
        if (ind.attribute(name)) props.indentLeft = twipsToHwp(attr(ind, name));
    }
    for (const char* name : {"w:right", "w:end"}) {
        if (ind.attribute(name)) props.indentRight = twipsToHwp(attr(ind, name));
    }
    if (ind.attribute("w:firstLine")) props.firstLine = twipsToHwp(attr(ind, "w:firstLine"));
    if (ind.attribute("w:hanging")) props.firstLine = twipsToHwp(-attr(ind, "w:hanging"));
}

}  // namespace

void applyParagraphProperties(const pugi::xml_node& pPr, ParaProps& props) {
    if (!pPr) return;
    if (const auto jc = pPr.child("w:jc"))
        props.alignment = alignmentFrom(jc.attribute("w:val").as_string());
    applySpacing(pPr.child("w:spacing"), props);
    applyIndent(pPr.child("w:ind"), props);
    if (pPr.child("w:keepNext")) props.keepWithNext = toggle(pPr.child("w:keepNext"));
    if (pPr.child("w:keepLines")) props.keepLines = toggle(pPr.child("w:keepLines"));
    if (pPr.child("w:pageBreakBefore"))
        props.pageBreakBefore = toggle(pPr.child("w:pageBreakBefore"));
    if (const auto level = pPr.child("w:outlineLvl")) props.outlineLevel = attr(level, "w:val");
    if (props.outlineLevel > 8) props.outlineLevel = -1;
}

void applyRunProperties(const pugi::xml_node& rPr, CharProps& props) {
    if (!rPr) return;
    if (const auto fonts = rPr.child("w:rFonts")) {
        const std::string eastAsia = fonts.attribute("w:eastAsia").as_string();
        const std::string latin = fonts.attribute("w:ascii").as_string();
        if (!latin.empty()) props.latinFace = latin;
        if (!eastAsia.empty())
            props.fontFace = eastAsia;
        else if (!latin.empty() && props.fontFace.empty())
            props.fontFace = latin;
        if (props.latinFace == props.fontFace) props.latinFace.clear();
    }
    if (rPr.child("w:b")) props.bold = toggle(rPr.child("w:b"));
    if (rPr.child("w:i")) props.italic = toggle(rPr.child("w:i"));
    if (rPr.child("w:strike"))
        props.strike = toggle(rPr.child("w:strike")) ? Strike::single : Strike::none;
    if (toggle(rPr.child("w:dstrike"))) props.strike = Strike::doubled;
    if (const auto color = rPr.child("w:color")) {
        props.color = hexColor(color.attribute("w:val").as_string());
        if (props.color == Color{}) props.color.reset();
    }
    if (const auto size = rPr.child("w:sz"))
        props.size = halfPointsToHundredths(attr(size, "w:val"));
    if (const auto mark = rPr.child("w:highlight")) {
        props.highlight = highlightColor(mark.attribute("w:val").as_string());
    }
    if (const auto shading = rPr.child("w:shd"); shading && !props.highlight) {
        props.highlight = hexColor(shading.attribute("w:fill").as_string());
    }
    if (const auto underline = rPr.child("w:u")) {
        props.underline = underlineFrom(underline.attribute("w:val").as_string("single"));
    }
    if (const auto align = rPr.child("w:vertAlign")) {
        const std::string_view value = align.attribute("w:val").as_string();
        props.position = value == "superscript" ? VerticalPosition::superscript
                         : value == "subscript" ? VerticalPosition::subscript
                                                : VerticalPosition::baseline;
    }
}

DocxStyles::DocxStyles(const pugi::xml_document& styles, const pugi::xml_document& numbering) {
    const auto root = styles.child("w:styles");
    defaultPPr_ = root.child("w:docDefaults").child("w:pPrDefault").child("w:pPr");
    defaultRPr_ = root.child("w:docDefaults").child("w:rPrDefault").child("w:rPr");
    for (const auto& style : root.children("w:style")) {
        const std::string id = style.attribute("w:styleId").as_string();
        styles_[id] = DocxStyle{style.child("w:name").attribute("w:val").as_string(),
                                style.child("w:basedOn").attribute("w:val").as_string(),
                                style.child("w:pPr"), style.child("w:rPr")};
        const std::string_view isDefault = style.attribute("w:default").as_string("0");
        if (std::string_view(style.attribute("w:type").as_string()) == "paragraph" &&
            (isDefault == "1" || isDefault == "true")) {
            defaultParagraphStyle_ = id;
        }
    }
    const auto numberingRoot = numbering.child("w:numbering");
    for (const auto& abstract : numberingRoot.children("w:abstractNum")) {
        abstracts_[attr(abstract, "w:abstractNumId")] = abstract;
    }
    for (const auto& num : numberingRoot.children("w:num")) {
        numToAbstract_[attr(num, "w:numId")] = attr(num.child("w:abstractNumId"), "w:val");
    }
}

// Applies the base styles first; a chain longer than 20 is a cycle and stops there.
void DocxStyles::applyStyleChain(const std::string& id, ParaProps* para, CharProps* run) const {
    std::vector<const DocxStyle*> chain;
    std::string next = id;
    while (!next.empty() && chain.size() < 20) {
        const auto found = styles_.find(next);
        if (found == styles_.end()) break;
        chain.push_back(&found->second);
        next = found->second.basedOn;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (para) {
            applyParagraphProperties((*it)->pPr, *para);
            if (const auto numPr = (*it)->pPr.child("w:numPr")) applyNumbering(numPr, *para);
        }
        if (run) applyRunProperties((*it)->rPr, *run);
    }
}

void DocxStyles::applyNumbering(const pugi::xml_node& numPr, ParaProps& props) const {
    const int numId = attr(numPr.child("w:numId"), "w:val", -1);
    if (numPr.child("w:ilvl")) props.list.level = attr(numPr.child("w:ilvl"), "w:val");
    if (numId < 0) return;
    if (numId == 0) {
        props.list = ListInfo{};
        return;
    }
    props.list.listId = numId;
    props.list.kind = ListKind::numbered;
    const auto abstract = numToAbstract_.find(numId);
    if (abstract == numToAbstract_.end()) return;
    const auto definition = abstracts_.find(abstract->second);
    if (definition == abstracts_.end()) return;
    for (const auto& lvl : definition->second.children("w:lvl")) {
        if (attr(lvl, "w:ilvl") != props.list.level) continue;
        props.list.format = numberFormatFrom(lvl.child("w:numFmt").attribute("w:val").as_string());
        props.list.pattern = lvl.child("w:lvlText").attribute("w:val").as_string();
        if (const auto start = lvl.child("w:start"))
            props.list.start = std::clamp(attr(start, "w:val"), 0, kMaxListStart);
        if (props.list.format == NumberFormat::bullet) {
            props.list.kind = ListKind::bullet;
            props.list.bulletText = props.list.pattern;
            props.list.pattern.clear();
        }
    }
}

ParaProps DocxStyles::paragraphProps(const pugi::xml_node& pPr) const {
    ParaProps props;
    applyParagraphProperties(defaultPPr_, props);
    std::string style = pPr.child("w:pStyle").attribute("w:val").as_string();
    if (style.empty()) style = defaultParagraphStyle_;
    applyStyleChain(style, &props, nullptr);
    const auto found = styles_.find(style);
    props.styleName = found == styles_.end() ? style : found->second.name;
    applyParagraphProperties(pPr, props);
    if (const auto numPr = pPr.child("w:numPr")) applyNumbering(numPr, props);
    return props;
}

CharProps DocxStyles::runProps(const pugi::xml_node& rPr, const std::string& paragraphStyle) const {
    CharProps props;
    props.size = 1000;  // Word's own default of 10 pt when nothing says otherwise
    applyRunProperties(defaultRPr_, props);
    applyStyleChain(paragraphStyle.empty() ? defaultParagraphStyle_ : paragraphStyle, nullptr,
                    &props);
    applyStyleChain(rPr.child("w:rStyle").attribute("w:val").as_string(), nullptr, &props);
    applyRunProperties(rPr, props);
    return props;
}

}  // namespace tavrino::docs
