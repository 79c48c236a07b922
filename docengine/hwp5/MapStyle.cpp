// Character shapes, paragraph shapes and border fills as model properties. Ids that point past
// their table fall back to the model's defaults: the text matters more than its look.

#include <algorithm>
#include <array>

#include "hwp5/ModelBuilder.h"
#include "model/Lists.h"

namespace tavrino::docs::hwp5 {
namespace {

// COLORREF is 0x00BBGGRR.
Color color(std::uint32_t ref) {
    return Color{static_cast<std::uint8_t>(ref & 0xFF),
                 static_cast<std::uint8_t>((ref >> 8) & 0xFF),
                 static_cast<std::uint8_t>((ref >> 16) & 0xFF)};
}

constexpr std::uint32_t kNoColor = 0xFFFFFFFF;

Underline underline(const CharShape& s) {
    if (s.underlinePosition() != 1 && s.underlinePosition() != 3) return Underline::none;
    switch (s.underlineShape()) {
        case 1:
        case 5:
            return Underline::dashed;
        case 2:
        case 3:
        case 4:
            return Underline::dotted;
        case 7:
        case 8:
        case 9:
        case 10:
            return Underline::doubled;
        case 11:
        case 12:
            return Underline::wavy;
        default:
            return Underline::single;
    }
}

// Line widths by BORDER_FILL width index, in HWPUNIT (0.1 mm ... 5 mm; 1 mm = 283.46).
constexpr std::array<std::int32_t, 16> kLineWidths = {28,  34,  43,  57,  71,  85,  113,  142,
                                                      170, 198, 283, 425, 567, 850, 1134, 1417};

Border border(const BorderLine& line) {
    Border b;
    switch (line.type) {
        case 0:
            return b;
        case 1:
            b.style = BorderStyle::single;
            break;
        case 2:
        case 4:
        case 5:
        case 6:
            b.style = BorderStyle::dashed;
            break;
        case 3:
            b.style = BorderStyle::dotted;
            break;
        case 7:
        case 8:
        case 9:
        case 10:
            b.style = BorderStyle::doubled;
            break;
        default:
            b.style = BorderStyle::single;
            break;
    }
    b.width = kLineWidths[line.widthIndex % kLineWidths.size()];
    b.color = color(line.color);
    return b;
}

Alignment alignment(int hwp) {
    switch (hwp) {
        case 0:
            return Alignment::justify;
        case 2:
            return Alignment::right;
        case 3:
            return Alignment::center;
        case 4:
        case 5:
            return Alignment::distribute;
        default:
            return Alignment::left;
    }
}

LineSpacing lineSpacing(const ParaShape& s) {
    switch (s.lineSpacingType) {
        case 1:
            return {LineSpacingRule::exact, s.lineSpacing};
        case 2:
            return {LineSpacingRule::between, s.lineSpacing};
        case 3:
            return {LineSpacingRule::atLeast, s.lineSpacing};
        default:
            return {LineSpacingRule::percent, s.lineSpacing};
    }
}

TabStop tabStop(const TabStopDef& def) {
    TabStop stop;
    stop.position = def.position;
    switch (def.kind) {
        case 1:
            stop.align = TabAlign::right;
            break;
        case 2:
            stop.align = TabAlign::center;
            break;
        case 3:
            stop.align = TabAlign::decimal;
            break;
        default:
            stop.align = TabAlign::left;
            break;
    }
    switch (def.fill) {
        case 0:
            stop.leader = TabLeader::none;
            break;
        case 1:
            stop.leader = TabLeader::underscore;
            break;
        case 2:
            stop.leader = TabLeader::hyphen;
            break;
        default:
            stop.leader = TabLeader::dot;
            break;
    }
    return stop;
}

NumberFormat numberFormat(int shape) {
    switch (shape) {
        case 1:
        case 6:
        case 7:
        case 9:
        case 11:
        case 14:
            return NumberFormat::circled;
        case 2:
            return NumberFormat::upperRoman;
        case 3:
            return NumberFormat::lowerRoman;
        case 4:
            return NumberFormat::upperLetter;
        case 5:
            return NumberFormat::lowerLetter;
        case 8:
            return NumberFormat::ganada;
        case 10:
            return NumberFormat::chosung;
        case 12:
            return NumberFormat::hangulDigit;
        case 13:
            return NumberFormat::hanjaDigit;
        default:
            return NumberFormat::decimal;
    }
}

// A numbering level's look on `list`; the format says "^1." where Word says "%1.".
void applyLevel(const NumberingLevel& level, ListInfo& list) {
    list.format = numberFormat(level.shape);
    list.pattern = level.format;
    std::replace(list.pattern.begin(), list.pattern.end(), '^', '%');
    list.start = level.start;
}

template <typename T>
const T* at(const std::vector<T>& table, std::size_t index) {
    return index < table.size() ? &table[index] : nullptr;
}

}  // namespace

CharProps ModelBuilder::charProps(std::uint32_t charShapeId) const {
    CharProps props;
    const CharShape* s = at(file_.docInfo.charShapes, charShapeId);
    if (!s) return props;
    const auto& faces = file_.docInfo.faceNames;
    if (auto* korean = at(faces[0], s->faceIds[0])) props.fontFace = *korean;
    if (auto* latin = at(faces[1], s->faceIds[1]); latin && *latin != props.fontFace)
        props.latinFace = *latin;
    props.size = s->baseSize;
    props.bold = s->bold();
    props.italic = s->italic();
    props.underline = underline(*s);
    // A line through the middle is how some writers mark strikeout in the underline field.
    if (s->strikeout() || s->underlinePosition() == 2) props.strike = Strike::single;
    if (s->superscript()) props.position = VerticalPosition::superscript;
    if (s->subscript()) props.position = VerticalPosition::subscript;
    if (s->textColor != 0) props.color = color(s->textColor);
    if (s->shadeColor != kNoColor) props.highlight = color(s->shadeColor);
    return props;
}

ParaProps ModelBuilder::paraProps(const hwp5::Paragraph& p) const {
    ParaProps props;
    if (auto* style = at(file_.docInfo.styles, p.styleId)) props.styleName = style->name;
    props.pageBreakBefore = p.pageBreakBefore();
    props.columnBreakBefore = p.columnBreakBefore();
    const ParaShape* s = at(file_.docInfo.paraShapes, p.paraShapeId);
    if (!s) return props;
    props.alignment = alignment(s->alignment());
    props.indentLeft = s->leftMargin;
    props.indentRight = s->rightMargin;
    props.firstLine = s->indent;
    props.spaceBefore = s->spaceBefore;
    props.spaceAfter = s->spaceAfter;
    props.lineSpacing = lineSpacing(*s);
    props.pageBreakBefore = props.pageBreakBefore || s->pageBreakBefore();
    if (auto* tabs = at(file_.docInfo.tabDefs, s->tabDefId))
        for (const TabStopDef& def : *tabs)
            props.tabStops.push_back(tabStop(def));
    props.keepWithNext = s->properties & (1u << 17);
    props.keepLines = s->properties & (1u << 18);
    switch (s->headingKind()) {
        case 1: {
            props.outlineLevel = s->headingLevel();
            // The section names the numbering its outline follows.
            props.list = defaultOutlineLevel(props.outlineLevel);
            const auto* levels = at(file_.docInfo.numberings, outlineNumbering_ - std::size_t{1});
            if (const auto* level =
                    levels ? at(*levels, std::size_t(props.outlineLevel)) : nullptr) {
                applyLevel(*level, props.list);
                // An outline level with no format shows no number.
                if (level->format.empty()) props.list = ListInfo{};
            }
            break;
        }
        case 2:
        case 3:
            props.list.kind = s->headingKind() == 2 ? ListKind::numbered : ListKind::bullet;
            props.list.level = s->headingLevel();
            props.list.listId = s->numberingId;
            if (props.list.kind == ListKind::numbered) {
                // Numbering ids are 1-based too.
                const auto* levels = at(file_.docInfo.numberings, s->numberingId - std::size_t{1});
                if (levels && s->numberingId > 0) {
                    if (auto* level = at(*levels, static_cast<std::size_t>(props.list.level)))
                        applyLevel(*level, props.list);
                }
            }
            if (props.list.kind == ListKind::bullet) {
                props.list.format = NumberFormat::bullet;
                // Bullet ids are 1-based, like the other ids paragraph heads use, and count
                // apart from numbering ids: bullet 1 is no item of numbering 1's list.
                props.list.listId = kBulletListBase + s->numberingId;
                if (auto* bullet = at(file_.docInfo.bullets, s->numberingId - std::size_t{1}))
                    props.list.bulletText = *bullet;
            }
            break;
        default:
            break;
    }
    return props;
}

Borders ModelBuilder::borders(std::uint16_t borderFillId) const {
    Borders out;
    if (borderFillId == 0) return out;  // ids are 1-based; 0 means none
    const BorderFill* b = at(file_.docInfo.borderFills, borderFillId - 1u);
    if (!b) return out;
    out.left = border(b->lines[0]);
    out.right = border(b->lines[1]);
    out.top = border(b->lines[2]);
    out.bottom = border(b->lines[3]);
    return out;
}

std::optional<Color> ModelBuilder::fill(std::uint16_t borderFillId) const {
    if (borderFillId == 0) return std::nullopt;
    const BorderFill* b = at(file_.docInfo.borderFills, borderFillId - 1u);
    if (!b || !b->hasFillColor || b->fillColor == kNoColor) return std::nullopt;
    return color(b->fillColor);
}

bool ModelBuilder::hasImageFill(std::uint16_t borderFillId) const {
    const BorderFill* b = borderFillId ? at(file_.docInfo.borderFills, borderFillId - 1u) : nullptr;
    return b && b->hasImageFill;
}

}  // namespace tavrino::docs::hwp5
