#include "hwpx/HwpxHeaderWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "hwpx/HwpxNames.h"
#include "model/Lists.h"
#include "xml/XmlWriter.h"

namespace tavrino::docs {
namespace {

constexpr std::array<const char*, 7> languages{"HANGUL", "LATIN",  "HANJA", "JAPANESE",
                                               "OTHER",  "SYMBOL", "USER"};
constexpr std::array<const char*, 7> languageAttributes{"hangul", "latin",  "hanja", "japanese",
                                                        "other",  "symbol", "user"};

template <typename T>
int indexOf(std::vector<T>& list, const T& value) {
    const auto found = std::find(list.begin(), list.end(), value);
    if (found != list.end()) return static_cast<int>(found - list.begin());
    list.push_back(value);
    return static_cast<int>(list.size() - 1);
}

void perLanguage(pugi::xml_node parent, const char* name, int hangul, int others) {
    pugi::xml_node node = parent.append_child(name);
    for (size_t i = 0; i < languageAttributes.size(); ++i) {
        set(node, languageAttributes[i], i == 0 ? hangul : others);
    }
}

void writeFonts(pugi::xml_node refList, const std::vector<std::string>& fonts) {
    pugi::xml_node faces = refList.append_child("hh:fontfaces");
    set(faces, "itemCnt", languages.size());
    for (const char* lang : languages) {
        pugi::xml_node face = faces.append_child("hh:fontface");
        set(face, "lang", lang);
        set(face, "fontCnt", fonts.size());
        for (size_t id = 0; id < fonts.size(); ++id) {
            pugi::xml_node font = face.append_child("hh:font");
            set(font, "id", id);
            set(font, "face", xmlSafe(fonts[id]).c_str());
            set(font, "type", "TTF");
            set(font, "isEmbedded", 0);
        }
    }
}

void writeBorder(pugi::xml_node parent, const char* name, const Border& border) {
    pugi::xml_node node = parent.append_child(name);
    set(node, "type", hwpxBorderType(border.style));
    set(node, "width", hwpxLineWidth(border.width).c_str());
    set(node, "color", hwpxColor(border.color).c_str());
}

void writeBorderFill(pugi::xml_node list, int id, const CellLook& look) {
    pugi::xml_node node = list.append_child("hh:borderFill");
    set(node, "id", id);
    set(node, "threeD", 0);
    set(node, "shadow", 0);
    set(node, "centerLine", "NONE");
    set(node, "breakCellSeparateLine", 0);
    for (const char* slash : {"hh:slash", "hh:backSlash"}) {
        pugi::xml_node diagonal = node.append_child(slash);
        set(diagonal, "type", "NONE");
        set(diagonal, "Crooked", 0);
        set(diagonal, "isCounter", 0);
    }
    writeBorder(node, "hh:leftBorder", look.borders.left);
    writeBorder(node, "hh:rightBorder", look.borders.right);
    writeBorder(node, "hh:topBorder", look.borders.top);
    writeBorder(node, "hh:bottomBorder", look.borders.bottom);
    writeBorder(node, "hh:diagonal", Border{BorderStyle::none, 34, {}});
    if (look.fill) {
        pugi::xml_node brush = node.append_child("hc:fillBrush").append_child("hc:winBrush");
        set(brush, "faceColor", hwpxColor(*look.fill).c_str());
        set(brush, "hatchColor", "#999999");
        set(brush, "alpha", 0);
    }
}

void writeCharPr(pugi::xml_node list, int id, const CharProps& props, int hangul, int latin) {
    pugi::xml_node node = list.append_child("hh:charPr");
    set(node, "id", id);
    set(node, "height", props.size > 0 ? props.size : 1000);
    set(node, "textColor", hwpxColor(props.color.value_or(Color{})).c_str());
    set(node, "shadeColor", props.highlight ? hwpxColor(*props.highlight).c_str() : "none");
    set(node, "useFontSpace", 0);
    set(node, "useKerning", 0);
    set(node, "symMark", "NONE");
    set(node, "borderFillIDRef", 2);
    pugi::xml_node fontRef = node.append_child("hh:fontRef");
    for (size_t i = 0; i < languageAttributes.size(); ++i) {
        set(fontRef, languageAttributes[i], i == 1 ? latin : hangul);
    }
    perLanguage(node, "hh:ratio", 100, 100);
    perLanguage(node, "hh:spacing", 0, 0);
    perLanguage(node, "hh:relSz", 100, 100);
    perLanguage(node, "hh:offset", 0, 0);
    if (props.bold) node.append_child("hh:bold");
    if (props.italic) node.append_child("hh:italic");
    if (props.position == VerticalPosition::superscript) node.append_child("hh:supscript");
    if (props.position == VerticalPosition::subscript) node.append_child("hh:subscript");
    pugi::xml_node underline = node.append_child("hh:underline");
    set(underline, "type", props.underline == Underline::none ? "NONE" : "BOTTOM");
    set(underline, "shape", hwpxUnderlineShape(props.underline));
    set(underline, "color", "#000000");
    pugi::xml_node strike = node.append_child("hh:strikeout");
    set(strike, "shape",
        props.strike == Strike::none      ? "NONE"
        : props.strike == Strike::doubled ? "DOUBLE_SLIM"
                                          : "SOLID");
    set(strike, "color", "#000000");
    set(node.append_child("hh:outline"), "type", "NONE");
    pugi::xml_node shadow = node.append_child("hh:shadow");
    set(shadow, "type", "NONE");
    set(shadow, "color", "#B2B2B2");
    set(shadow, "offsetX", 10);
    set(shadow, "offsetY", 10);
}

void writeMargins(pugi::xml_node parent, const ParaProps& props, int scale) {
    pugi::xml_node margin = parent.append_child("hh:margin");
    const std::pair<const char*, int> values[] = {{"hc:intent", props.firstLine},
                                                  {"hc:left", props.indentLeft},
                                                  {"hc:right", props.indentRight},
                                                  {"hc:prev", props.spaceBefore},
                                                  {"hc:next", props.spaceAfter}};
    for (const auto& [name, value] : values) {
        pugi::xml_node node = margin.append_child(name);
        set(node, "value", value * scale);
        set(node, "unit", "HWPUNIT");
    }
    pugi::xml_node spacing = parent.append_child("hh:lineSpacing");
    const LineSpacing& line = props.lineSpacing;
    set(spacing, "type", hwpxLineSpacingType(line.rule));
    const bool percent =
        line.rule == LineSpacingRule::percent || line.rule == LineSpacingRule::multiple;
    set(spacing, "value",
        line.value == 0 ? 160
        : percent       ? std::int64_t{line.value}
                        : std::int64_t{line.value} * scale);
    set(spacing, "unit", "HWPUNIT");
}

void writeParaPr(pugi::xml_node list, int id, const ParaProps& props, int listId) {
    pugi::xml_node node = list.append_child("hh:paraPr");
    set(node, "id", id);
    set(node, "tabPrIDRef", 0);
    set(node, "condense", 0);
    set(node, "fontLineHeight", 0);
    set(node, "snapToGrid", 1);
    set(node, "suppressLineNumbers", 0);
    set(node, "checked", 0);
    pugi::xml_node align = node.append_child("hh:align");
    set(align, "horizontal", hwpxAlignment(props.alignment));
    set(align, "vertical", "BASELINE");
    pugi::xml_node heading = node.append_child("hh:heading");
    // Outline paragraphs refer to no numbering of their own: the section names the outline's.
    const bool listed = props.list.kind != ListKind::none && !isOutline(props);
    set(heading, "type",
        props.list.kind == ListKind::bullet ? "BULLET"
        : listed                            ? "NUMBER"
        : props.outlineLevel >= 0           ? "OUTLINE"
                                            : "NONE");
    set(heading, "idRef", listed ? listId : 0);
    set(heading, "level",
        listed ? std::clamp(props.list.level, 0, 6) : std::max(props.outlineLevel, 0));
    pugi::xml_node breaks = node.append_child("hh:breakSetting");
    set(breaks, "breakLatinWord", "KEEP_WORD");
    set(breaks, "breakNonLatinWord", "KEEP_WORD");
    set(breaks, "widowOrphan", 0);
    set(breaks, "keepWithNext", props.keepWithNext ? 1 : 0);
    set(breaks, "keepLines", props.keepLines ? 1 : 0);
    set(breaks, "pageBreakBefore", props.pageBreakBefore ? 1 : 0);
    set(breaks, "lineWrap", "BREAK");
    pugi::xml_node spacing = node.append_child("hh:autoSpacing");
    set(spacing, "eAsianEng", 0);
    set(spacing, "eAsianNum", 0);
    // The switch carries true HWPUNIT values for readers that know the HwpUnitChar
    // namespace and doubled values for those that do not, as the word processor writes it.
    pugi::xml_node choice = node.append_child("hp:switch");
    pugi::xml_node known = choice.append_child("hp:case");
    set(known, "hp:required-namespace", "http://www.hancom.co.kr/hwpml/2016/HwpUnitChar");
    writeMargins(known, props, 1);
    writeMargins(choice.append_child("hp:default"), props, 2);
    pugi::xml_node border = node.append_child("hh:border");
    set(border, "borderFillIDRef", 2);
    for (const char* name :
         {"offsetLeft", "offsetRight", "offsetTop", "offsetBottom", "connect", "ignoreMargin"}) {
        set(border, name, 0);
    }
}

const char* hwpxNumberFormat(NumberFormat format) {
    switch (format) {
        case NumberFormat::upperRoman:
            return "ROMAN_CAPITAL";
        case NumberFormat::lowerRoman:
            return "ROMAN_SMALL";
        case NumberFormat::upperLetter:
            return "LATIN_CAPITAL";
        case NumberFormat::lowerLetter:
            return "LATIN_SMALL";
        case NumberFormat::ganada:
            return "HANGUL_SYLLABLE";
        case NumberFormat::chosung:
            return "HANGUL_JAMO";
        case NumberFormat::circled:
            return "CIRCLED_DIGIT";
        case NumberFormat::hangulDigit:
            return "HANGUL_PHONETIC";
        case NumberFormat::hanjaDigit:
            return "IDEOGRAPH";
        default:
            return "DIGIT";
    }
}

pugi::xml_node paraHead(pugi::xml_node parent, int level, NumberFormat format, int start = 1) {
    pugi::xml_node head = parent.append_child("hh:paraHead");
    set(head, "start", start);
    set(head, "level", level);
    set(head, "align", "LEFT");
    set(head, "useInstWidth", 1);
    set(head, "autoIndent", 1);
    set(head, "widthAdjust", 0);
    set(head, "textOffsetType", "PERCENT");
    set(head, "textOffset", 50);
    set(head, "numFormat", hwpxNumberFormat(format));
    set(head, "charPrIDRef", 4294967295u);
    set(head, "checkable", 0);
    return head;
}

void writeTail(pugi::xml_node head) {
    pugi::xml_node compatible = head.append_child("hh:compatibleDocument");
    set(compatible, "targetProgram", "HWP201X");
    compatible.append_child("hh:layoutCompatibility");
    pugi::xml_node link = head.append_child("hh:docOption").append_child("hh:linkinfo");
    set(link, "path", "");
    set(link, "pageInherit", 1);
    set(link, "footnoteInherit", 0);
    set(head.append_child("hh:trackchageConfig"), "flags", 56);
}

}  // namespace

HwpxHeaderWriter::HwpxHeaderWriter() {
    font("함초롬바탕");
    CharProps base;
    base.size = 1000;
    charPr(base);
    paraPr(ParaProps{});
    // 1 frames pages and 2 characters and paragraphs, as in the word processor's files;
    // cells get their own entries after them.
    borderFills_.assign(2, CellLook{});
    // Numbering 1 is the outline's, the one sections name.
    numberings_.emplace_back(kOutlineListId, std::map<int, ListInfo>{});
}

int HwpxHeaderWriter::fontId(const std::string& face) const {
    const auto found = std::find(fonts_.begin(), fonts_.end(), face);
    return found == fonts_.end() ? 0 : static_cast<int>(found - fonts_.begin());
}

int HwpxHeaderWriter::font(const std::string& face) {
    return indexOf(fonts_,
                   face.empty() ? fonts_.empty() ? std::string("함초롬바탕") : fonts_[0] : face);
}

int HwpxHeaderWriter::charPr(const CharProps& props) {
    CharProps key = props;
    if (key.size <= 0) key.size = 1000;
    font(key.fontFace);
    font(key.latinFace.empty() ? key.fontFace : key.latinFace);
    return indexOf(charProps_, key);
}

// The numbering (or bullet) a list paragraph refers to; 0 when it is no list item.
int HwpxHeaderWriter::listReference(const ListInfo& list) const {
    if (list.kind == ListKind::bullet) {
        const auto found = std::find(bullets_.begin(), bullets_.end(), list.bulletText);
        return found == bullets_.end() ? 0 : static_cast<int>(found - bullets_.begin()) + 1;
    }
    for (size_t i = 0; i < numberings_.size(); ++i) {
        if (numberings_[i].first == list.listId) return static_cast<int>(i) + 1;
    }
    return 0;
}

void HwpxHeaderWriter::writeLists(pugi::xml_node refList) const {
    {
        pugi::xml_node list = refList.append_child("hh:numberings");
        set(list, "itemCnt", numberings_.size());
        for (size_t i = 0; i < numberings_.size(); ++i) {
            pugi::xml_node numbering = list.append_child("hh:numbering");
            set(numbering, "id", i + 1);
            set(numbering, "start", 0);
            for (int level = 0; level < 7; ++level) {
                const auto found = numberings_[i].second.find(level);
                const bool known = found != numberings_[i].second.end();
                const ListInfo info = known ? found->second : ListInfo{};
                // An outline level no numbered outline paragraph uses shows no number: a
                // Word heading stays unnumbered.
                std::string pattern = !known && numberings_[i].first == kOutlineListId ? ""
                                      : info.pattern.empty() ? "^" + std::to_string(level + 1) + "."
                                                             : info.pattern;
                std::replace(pattern.begin(), pattern.end(), '%', '^');
                paraHead(numbering, level + 1, info.format, info.start)
                    .text()
                    .set(xmlSafe(pattern).c_str());
            }
        }
    }
    if (!bullets_.empty()) {
        pugi::xml_node list = refList.append_child("hh:bullets");
        set(list, "itemCnt", bullets_.size());
        for (size_t i = 0; i < bullets_.size(); ++i) {
            pugi::xml_node bullet = list.append_child("hh:bullet");
            set(bullet, "id", i + 1);
            set(bullet, "char", xmlSafe(bullets_[i].empty() ? "\u25CF" : bullets_[i]).c_str());
            set(bullet, "useImage", 0);
            paraHead(bullet, 0, NumberFormat::decimal);
        }
    }
}

int HwpxHeaderWriter::paraPr(const ParaProps& props) {
    if (props.list.kind == ListKind::bullet) indexOf(bullets_, props.list.bulletText);
    if (props.list.kind == ListKind::numbered) {
        auto found = std::find_if(numberings_.begin(), numberings_.end(), [&](const auto& entry) {
            return entry.first == props.list.listId;
        });
        if (found == numberings_.end()) {
            numberings_.emplace_back(props.list.listId, std::map<int, ListInfo>{});
            found = numberings_.end() - 1;
        }
        found->second.emplace(std::clamp(props.list.level, 0, 6), props.list);
    }
    ParaProps key = props;
    key.styleName.clear();
    key.tabStops.clear();
    return indexOf(paraProps_, key);
}

int HwpxHeaderWriter::borderFill(const CellLook& look) {
    const auto found = std::find_if(
        borderFills_.begin() + 2, borderFills_.end(),
        [&](const auto& x) { return x.borders == look.borders && x.fill == look.fill; });
    if (found != borderFills_.end()) return static_cast<int>(found - borderFills_.begin()) + 1;
    borderFills_.push_back(look);
    return static_cast<int>(borderFills_.size());
}

std::string HwpxHeaderWriter::write(int sectionCount) const {
    pugi::xml_document document;
    pugi::xml_node head = startXml(document, "hh:head", hwpxRootNamespaces());
    set(head, "version", "1.4");
    set(head, "secCnt", sectionCount);
    pugi::xml_node begin = head.append_child("hh:beginNum");
    for (const char* name : {"page", "footnote", "endnote", "pic", "tbl", "equation"}) {
        set(begin, name, 1);
    }
    pugi::xml_node refList = head.append_child("hh:refList");
    writeFonts(refList, fonts_);
    pugi::xml_node fills = refList.append_child("hh:borderFills");
    set(fills, "itemCnt", borderFills_.size());
    for (size_t i = 0; i < borderFills_.size(); ++i)
        writeBorderFill(fills, int(i) + 1, borderFills_[i]);
    pugi::xml_node chars = refList.append_child("hh:charProperties");
    set(chars, "itemCnt", charProps_.size());
    for (size_t i = 0; i < charProps_.size(); ++i) {
        const CharProps& props = charProps_[i];
        const int hangul = fontId(props.fontFace);
        writeCharPr(chars, int(i), props, hangul,
                    props.latinFace.empty() ? hangul : fontId(props.latinFace));
    }
    pugi::xml_node tabs = refList.append_child("hh:tabProperties");
    set(tabs, "itemCnt", 1);
    pugi::xml_node tab = tabs.append_child("hh:tabPr");
    set(tab, "id", 0);
    set(tab, "autoTabLeft", 0);
    set(tab, "autoTabRight", 0);
    writeLists(refList);
    pugi::xml_node paras = refList.append_child("hh:paraProperties");
    set(paras, "itemCnt", paraProps_.size());
    for (size_t i = 0; i < paraProps_.size(); ++i) {
        writeParaPr(paras, int(i), paraProps_[i], listReference(paraProps_[i].list));
    }
    pugi::xml_node styles = refList.append_child("hh:styles");
    set(styles, "itemCnt", 1);
    pugi::xml_node style = styles.append_child("hh:style");
    for (const auto& [name, value] :
         std::initializer_list<std::pair<const char*, const char*>>{{"id", "0"},
                                                                    {"type", "PARA"},
                                                                    {"name", "바탕글"},
                                                                    {"engName", "Normal"},
                                                                    {"paraPrIDRef", "0"},
                                                                    {"charPrIDRef", "0"},
                                                                    {"nextStyleIDRef", "0"},
                                                                    {"langID", "1042"},
                                                                    {"lockForm", "0"}}) {
        set(style, name, value);
    }
    writeTail(head);
    return xmlBytes(document);
}

}  // namespace tavrino::docs
