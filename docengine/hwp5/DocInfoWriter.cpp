#include "hwp5/DocInfoWriter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "hwp5/ByteWriter.h"
#include "hwp5/DocInfo.h"
#include "hwp5/Record.h"
#include "hwp5/RecordWriter.h"
#include "model/DocumentError.h"
#include "model/Lists.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr const char* kDefaultFace = "함초롬바탕";
constexpr std::uint16_t kCompatibleDocument = 0x1E;
constexpr std::uint16_t kLayoutCompatibility = 0x1F;
constexpr std::uint32_t kNoColor = 0xFFFFFFFF;
constexpr int kListLevels = 7;

template <typename T>
std::size_t indexOf(std::vector<T>& list, const T& value) {
    const auto found = std::find(list.begin(), list.end(), value);
    if (found != list.end()) return static_cast<std::size_t>(found - list.begin());
    list.push_back(value);
    return list.size() - 1;
}

std::uint32_t underlineShape(Underline u) {
    switch (u) {
        case Underline::dashed:
            return 1;
        case Underline::dotted:
            return 2;
        case Underline::doubled:
            return 7;
        case Underline::wavy:
            return 11;
        default:
            return 0;
    }
}

std::uint32_t charAttributes(const CharProps& p) {
    std::uint32_t bits = 0;
    if (p.italic) bits |= 1u << 0;
    if (p.bold) bits |= 1u << 1;
    if (p.underline != Underline::none) bits |= (1u << 2) | (underlineShape(p.underline) << 4);
    if (p.position == VerticalPosition::superscript) bits |= 1u << 15;
    if (p.position == VerticalPosition::subscript) bits |= 1u << 16;
    if (p.strike != Strike::none)
        bits |= (1u << 18) | ((p.strike == Strike::doubled ? 7u : 0u) << 26);
    return bits;
}

std::uint32_t alignmentBits(Alignment a) {
    switch (a) {
        case Alignment::justify:
            return 0;
        case Alignment::right:
            return 2;
        case Alignment::center:
            return 3;
        case Alignment::distribute:
            return 4;
        default:
            return 1;
    }
}

std::uint32_t lineSpacingType(LineSpacingRule rule) {
    switch (rule) {
        case LineSpacingRule::exact:
            return 1;
        case LineSpacingRule::between:
            return 2;
        case LineSpacingRule::atLeast:
            return 3;
        default:
            return 0;
    }
}

std::uint32_t numberShape(NumberFormat format) {
    switch (format) {
        case NumberFormat::circled:
            return 1;
        case NumberFormat::upperRoman:
            return 2;
        case NumberFormat::lowerRoman:
            return 3;
        case NumberFormat::upperLetter:
            return 4;
        case NumberFormat::lowerLetter:
            return 5;
        case NumberFormat::ganada:
            return 8;
        case NumberFormat::chosung:
            return 10;
        case NumberFormat::hangulDigit:
            return 12;
        case NumberFormat::hanjaDigit:
            return 13;
        default:
            return 0;
    }
}

// Line types as BORDER_FILL stores them: 0 none, 1 solid, 2 dash, 3 dot, 8 double.
std::uint8_t lineType(BorderStyle style) {
    switch (style) {
        case BorderStyle::none:
            return 0;
        case BorderStyle::dashed:
            return 2;
        case BorderStyle::dotted:
            return 3;
        case BorderStyle::doubled:
            return 8;
        default:
            return 1;
    }
}

// The width index whose width (0.1 mm ... 5 mm, in HWPUNIT) is nearest.
std::uint8_t widthIndex(const Border& b) {
    static constexpr std::array<std::int32_t, 16> widths = {
        28, 34, 43, 57, 71, 85, 113, 142, 170, 198, 283, 425, 567, 850, 1134, 1417};
    if (b.width <= 0) return b.style == BorderStyle::thick ? 4 : 1;
    std::uint8_t best = 0;
    for (std::uint8_t i = 1; i < widths.size(); ++i)
        if (std::abs(widths[i] - b.width) < std::abs(widths[best] - b.width)) best = i;
    return best;
}

// The 12 bytes that open every numbering level and bullet: alignment left, instance width,
// auto indent, the number shape, no width adjustment, 50 % from the text, no own char shape.
void paraHead(ByteWriter& out, std::uint32_t shape) {
    out.u32((1u << 2) | (1u << 3) | (shape << 5)).i16(0).i16(50).u32(0xFFFFFFFF);
}

std::string levelPattern(const ListInfo& info, int level) {
    std::string pattern =
        info.pattern.empty() ? "%" + std::to_string(level + 1) + "." : info.pattern;
    std::replace(pattern.begin(), pattern.end(), '%', '^');
    return pattern;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A short alphanumeric extension for the stream name; the media name when it has one, the
// media type otherwise.
std::string extensionOf(const Media& media) {
    const std::size_t dot = media.name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : lower(media.name.substr(dot + 1));
    const bool safe =
        !ext.empty() && ext.size() <= 5 &&
        std::all_of(ext.begin(), ext.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
    if (safe) return ext == "jpeg" ? "jpg" : ext;
    const std::string& type = media.mediaType;
    return type == "image/png"    ? "png"
           : type == "image/jpeg" ? "jpg"
           : type == "image/gif"  ? "gif"
           : type == "image/bmp"  ? "bmp"
                                  : "bin";
}

}  // namespace

std::string BinDataEntry::streamName() const {
    char name[16];
    std::snprintf(name, sizeof name, "BIN%04X", id);
    return std::string("BinData/") + name + "." + extension;
}

DocInfoWriter::DocInfoWriter(const Document& document) : document_(document) {
    face(kDefaultFace);
    CharProps base;
    base.size = 1000;
    charShape(base);
    paraShape(ParaProps{});
    tabDefs_.emplace_back();
    // 1 frames pages, 2 is the empty border of characters and paragraphs.
    borderFills_.assign(2, BorderLook{});
    numberings_.push_back(Numbering{});  // the outline's numbering, referred to by sections
    styles_.push_back(StyleEntry{"바탕글", 0, 0});
}

std::uint16_t DocInfoWriter::face(const std::string& name) {
    return static_cast<std::uint16_t>(indexOf(
        faces_, name.empty() ? faces_.empty() ? std::string(kDefaultFace) : faces_[0] : name));
}

std::uint32_t DocInfoWriter::charShape(const CharProps& props) {
    CharProps key = props;
    if (key.size <= 0) key.size = 1000;
    if (key.fontFace.empty()) key.fontFace = faces_.empty() ? kDefaultFace : faces_[0];
    if (key.latinFace == key.fontFace) key.latinFace.clear();
    face(key.fontFace);
    if (!key.latinFace.empty()) face(key.latinFace);
    return static_cast<std::uint32_t>(indexOf(charShapes_, key));
}

std::uint16_t DocInfoWriter::tabDef(const std::vector<TabStop>& stops) {
    return static_cast<std::uint16_t>(indexOf(tabDefs_, stops));
}

std::uint16_t DocInfoWriter::listReference(const ListInfo& list) {
    if (list.kind == ListKind::bullet)
        return static_cast<std::uint16_t>(indexOf(bullets_, list.bulletText) + 1);
    if (list.kind != ListKind::numbered) return 0;
    if (list.listId == kOutlineListId) {
        // The outline numbering is the first, the one sections name; the paragraph refers to
        // none itself.
        numberings_[0].levels.emplace(std::clamp(list.level, 0, kListLevels - 1), list);
        return 0;
    }
    auto found = std::find_if(numberings_.begin() + 1, numberings_.end(),
                              [&](const Numbering& n) { return n.listId == list.listId; });
    if (found == numberings_.end()) {
        numberings_.push_back(Numbering{list.listId, {}});
        found = numberings_.end() - 1;
    }
    found->levels.emplace(std::clamp(list.level, 0, kListLevels - 1), list);
    return static_cast<std::uint16_t>(found - numberings_.begin() + 1);
}

std::uint16_t DocInfoWriter::paraShape(const ParaProps& props) {
    ParaProps key = props;
    key.styleName.clear();
    const std::size_t index = indexOf(paraShapes_, key);
    if (index == paraShapeTabs_.size()) {
        paraShapeTabs_.push_back(tabDef(key.tabStops));
        paraShapeLists_.push_back(listReference(key.list));
    }
    if (index > 0xFFFF) throw DocumentError("문단 모양이 너무 많음");
    return static_cast<std::uint16_t>(index);
}

std::uint8_t DocInfoWriter::style(const ParaProps& props, std::uint16_t paraShapeId,
                                  std::uint32_t charShapeId) {
    if (props.styleName.empty() || props.styleName == styles_[0].name) return 0;
    for (std::size_t i = 0; i < styles_.size(); ++i)
        if (styles_[i].name == props.styleName) return static_cast<std::uint8_t>(i);
    // The paragraph header holds a style id in one byte; later names keep the look but not
    // the name.
    if (styles_.size() > 0xFF) return 0;
    styles_.push_back(StyleEntry{props.styleName, paraShapeId, charShapeId});
    return static_cast<std::uint8_t>(styles_.size() - 1);
}

std::uint16_t DocInfoWriter::borderFill(const BorderLook& look) {
    const auto found = std::find(borderFills_.begin() + 2, borderFills_.end(), look);
    if (found != borderFills_.end())
        return static_cast<std::uint16_t>(found - borderFills_.begin() + 1);
    if (borderFills_.size() >= 0xFFFF) return 2;
    borderFills_.push_back(look);
    return static_cast<std::uint16_t>(borderFills_.size());
}

std::uint16_t DocInfoWriter::binData(std::size_t mediaIndex) {
    if (mediaIndex >= document_.media.size()) return 0;
    if (auto known = binDataByMedia_.find(mediaIndex); known != binDataByMedia_.end())
        return known->second;
    if (binData_.size() >= 0xFFFF) throw DocumentError("그림이 너무 많음");
    BinDataEntry entry;
    entry.mediaIndex = mediaIndex;
    entry.extension = extensionOf(document_.media[mediaIndex]);
    entry.id = static_cast<std::uint16_t>(binData_.size() + 1);
    binData_.push_back(entry);
    binDataByMedia_.emplace(mediaIndex, entry.id);
    return entry.id;
}

std::vector<std::uint8_t> DocInfoWriter::write(int sectionCount) const {
    RecordWriter records;
    ByteWriter properties;
    properties.u16(static_cast<std::uint16_t>(sectionCount));
    for (int i = 0; i < 6; ++i)
        properties.u16(1);  // page, footnote, endnote, picture, table and equation numbers
    properties.u32(0).u32(0).u32(0);  // caret position
    records.add(tag::kDocumentProperties, 0, properties);

    const auto faceCount = static_cast<std::int32_t>(faces_.size());
    ByteWriter mappings;
    mappings.i32(static_cast<std::int32_t>(binData_.size()));
    for (int lang = 0; lang < kLanguageCount; ++lang)
        mappings.i32(faceCount);
    mappings.i32(static_cast<std::int32_t>(borderFills_.size()))
        .i32(static_cast<std::int32_t>(charShapes_.size()))
        .i32(static_cast<std::int32_t>(tabDefs_.size()))
        .i32(static_cast<std::int32_t>(numberings_.size()))
        .i32(static_cast<std::int32_t>(bullets_.size()))
        .i32(static_cast<std::int32_t>(paraShapes_.size()))
        .i32(static_cast<std::int32_t>(styles_.size()))
        .i32(0)   // memo shapes
        .i32(0)   // track changes
        .i32(0);  // track change authors
    records.add(tag::kIdMappings, 0, mappings);

    for (const BinDataEntry& entry : binData_) {
        ByteWriter item;
        // Embedded, compressed like the file's other streams: readers inflate every BinData
        // stream of a compressed file, whatever the item says.
        item.u16(1);
        item.u16(entry.id).bstr(entry.extension);
        records.add(tag::kBinData, 1, item);
    }
    for (int lang = 0; lang < kLanguageCount; ++lang) {
        for (const std::string& name : faces_) {
            ByteWriter faceName;
            faceName.u8(0x01).bstr(name);  // a TrueType face
            records.add(tag::kFaceName, 1, faceName);
        }
    }
    for (const BorderLook& look : borderFills_) {
        ByteWriter fill;
        fill.u16(0);
        for (const Border* b :
             {&look.borders.left, &look.borders.right, &look.borders.top, &look.borders.bottom}) {
            fill.u8(lineType(b->style)).u8(widthIndex(*b)).u32(colorRef(b->color));
        }
        fill.u8(1).u8(0).u32(0);  // the diagonal's line, drawn only where a slash is asked for
        if (look.fill) {
            fill.u32(1).u32(colorRef(*look.fill)).u32(0x999999).i32(-1);
            fill.u32(0).u8(0);
        } else {
            fill.u32(0).u32(0);
        }
        records.add(tag::kBorderFill, 1, fill);
    }
    auto faceId = [this](const std::string& name) {
        const auto found = std::find(faces_.begin(), faces_.end(), name);
        return static_cast<std::uint16_t>(found == faces_.end() ? 0 : found - faces_.begin());
    };
    for (const CharProps& props : charShapes_) {
        ByteWriter shape;
        const std::uint16_t korean = faceId(props.fontFace);
        const std::uint16_t latin = props.latinFace.empty() ? korean : faceId(props.latinFace);
        for (int lang = 0; lang < kLanguageCount; ++lang)
            shape.u16(lang == 1 ? latin : korean);
        for (int lang = 0; lang < kLanguageCount; ++lang)
            shape.u8(100);            // width ratio
        shape.zeros(kLanguageCount);  // letter spacing
        for (int lang = 0; lang < kLanguageCount; ++lang)
            shape.u8(100);            // relative size
        shape.zeros(kLanguageCount);  // vertical offset
        shape.i32(props.size).u32(charAttributes(props)).u8(10).u8(10);
        shape.u32(props.color ? colorRef(*props.color) : 0)
            .u32(0)
            .u32(props.highlight ? colorRef(*props.highlight) : kNoColor)
            .u32(0xB2B2B2)
            .u16(2)
            .u32(0);
        records.add(tag::kCharShape, 1, shape);
    }
    for (const std::vector<TabStop>& stops : tabDefs_) {
        ByteWriter tabs;
        tabs.u32(0).u32(static_cast<std::uint32_t>(stops.size()));
        for (const TabStop& stop : stops) {
            const std::uint8_t kind = stop.align == TabAlign::right     ? 1
                                      : stop.align == TabAlign::center  ? 2
                                      : stop.align == TabAlign::decimal ? 3
                                                                        : 0;
            const std::uint8_t fill = stop.leader == TabLeader::underscore ? 1
                                      : stop.leader == TabLeader::hyphen   ? 2
                                      : stop.leader == TabLeader::dot      ? 3
                                                                           : 0;
            tabs.i32(stop.position).u8(kind).u8(fill).u16(0);
        }
        records.add(tag::kTabDef, 1, tabs);
    }
    for (const Numbering& numbering : numberings_) {
        ByteWriter out;
        for (int level = 0; level < kListLevels; ++level) {
            const auto found = numbering.levels.find(level);
            const bool known = found != numbering.levels.end();
            const ListInfo info = known ? found->second : ListInfo{};
            paraHead(out, numberShape(info.format));
            // An outline level no numbered outline paragraph uses shows no number: a Word
            // heading stays unnumbered.
            const bool outline = &numbering == &numberings_.front();
            out.bstr(!known && outline ? std::string() : levelPattern(info, level));
        }
        out.u16(1);
        for (int level = 0; level < kListLevels; ++level) {
            const auto found = numbering.levels.find(level);
            out.u32(static_cast<std::uint32_t>(
                found == numbering.levels.end() ? 1 : found->second.start));
        }
        records.add(tag::kNumbering, 1, out);
    }
    for (const std::string& bullet : bullets_) {
        ByteWriter out;
        paraHead(out, 0);
        const std::u16string c = utf8ToUtf16(bullet.empty() ? "\u25CF" : bullet);
        out.u16(c[0]).i32(0).u32(0).u16(0);
        records.add(tag::kBullet, 1, out);
    }
    for (std::size_t i = 0; i < paraShapes_.size(); ++i) {
        const ParaProps& p = paraShapes_[i];
        const ListInfo& list = p.list;
        std::uint32_t bits =
            lineSpacingType(p.lineSpacing.rule) | (alignmentBits(p.alignment) << 2);
        bits |= 1u << 8;  // snap to the grid, as the word processor's own paragraphs
        if (p.keepWithNext) bits |= 1u << 17;
        if (p.keepLines) bits |= 1u << 18;
        if (p.pageBreakBefore) bits |= 1u << 19;
        if (!isOutline(p) && (list.kind == ListKind::numbered || list.kind == ListKind::bullet)) {
            bits |= (list.kind == ListKind::numbered ? 2u : 3u) << 23;
            bits |= static_cast<std::uint32_t>(std::clamp(list.level, 0, kListLevels - 1)) << 25;
        } else if (p.outlineLevel >= 0) {
            bits |= (1u << 23) |
                    (static_cast<std::uint32_t>(std::min(p.outlineLevel, kListLevels - 1)) << 25);
        }
        const bool percent = p.lineSpacing.rule == LineSpacingRule::percent ||
                             p.lineSpacing.rule == LineSpacingRule::multiple;
        const std::int32_t spacing = p.lineSpacing.value > 0 ? p.lineSpacing.value
                                     : percent               ? 160
                                                             : 0;
        ByteWriter shape;
        // Margins, indent and paragraph spacing are stored doubled.
        shape.u32(bits)
            .i32(p.indentLeft * 2)
            .i32(p.indentRight * 2)
            .i32(p.firstLine * 2)
            .i32(p.spaceBefore * 2)
            .i32(p.spaceAfter * 2)
            .i32(spacing)
            .u16(paraShapeTabs_[i])
            .u16(paraShapeLists_[i])
            .u16(2)
            .zeros(8)
            .u32(0)
            .u32(lineSpacingType(p.lineSpacing.rule))
            .u32(static_cast<std::uint32_t>(spacing));
        records.add(tag::kParaShape, 1, shape);
    }
    for (std::size_t i = 0; i < styles_.size(); ++i) {
        const StyleEntry& s = styles_[i];
        ByteWriter style;
        style.bstr(s.name).bstr(i == 0 ? "Normal" : "");
        style.u8(0).u8(static_cast<std::uint8_t>(i)).i16(1042);
        style.u16(s.paraShape).u16(static_cast<std::uint16_t>(s.charShape)).u16(0);
        records.add(tag::kStyle, 1, style);
    }
    ByteWriter compatible;
    compatible.u32(0);
    records.add(kCompatibleDocument, 0, compatible);
    ByteWriter layout;
    layout.zeros(20);
    records.add(kLayoutCompatibility, 1, layout);
    return records.take();
}

}  // namespace tavrino::docs::hwp5
