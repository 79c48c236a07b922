#pragma once
// The document-wide tables of the DocInfo stream that the model needs: fonts, character and
// paragraph shapes, border fills, styles and the bin data list. Tables are kept in file order
// because the body refers to them by position (0-based for shapes, styles and fonts, 1-based
// for border fills and bin data ids).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hwp5/Record.h"

namespace tavrino::docs::hwp5 {

inline constexpr int kLanguageCount = 7;  // Korean, Latin, Hanja, Japanese, other, symbol, user

struct BinDataItem {
    enum class Kind { link, embedded, storage };
    Kind kind = Kind::embedded;
    int compression = 0;  // 0 follow the file header, 1 always, 2 never
    std::uint16_t id = 0;
    std::string extension;
    std::string linkPath;

    // "BinData/BIN0001.jpg": the id in four upper-case hex digits.
    std::string streamName() const;
};

struct CharShape {
    std::array<std::uint16_t, kLanguageCount> faceIds{};
    std::array<std::uint8_t, kLanguageCount> relativeSize{};
    std::int32_t baseSize = 1000;  // 1/100 pt
    std::uint32_t attributes = 0;
    std::uint32_t textColor = 0;
    std::uint32_t underlineColor = 0;
    std::uint32_t shadeColor = 0xFFFFFFFF;
    std::uint32_t strikeColor = 0;

    bool italic() const { return attributes & 0x1; }
    bool bold() const { return attributes & 0x2; }
    int underlinePosition() const { return (attributes >> 2) & 0x3; }
    int underlineShape() const { return (attributes >> 4) & 0xF; }
    bool superscript() const { return attributes & (1u << 15); }
    bool subscript() const { return attributes & (1u << 16); }
    bool strikeout() const { return attributes & (1u << 18); }
};

struct ParaShape {
    std::uint32_t properties = 0;
    // Margins, indent and spacing in HWPUNIT (the file stores them doubled; halved on reading).
    std::int32_t leftMargin = 0, rightMargin = 0, indent = 0;
    std::int32_t spaceBefore = 0, spaceAfter = 0;
    std::int32_t lineSpacing = 160;
    int lineSpacingType = 0;  // 0 percent, 1 fixed, 2 spacing only, 3 at least
    std::uint16_t tabDefId = 0, numberingId = 0, borderFillId = 0;
    std::uint32_t level = 0;

    int alignment() const { return (properties >> 2) & 0x7; }
    int headingKind() const { return (properties >> 23) & 0x3; }
    int headingLevel() const { return (properties >> 25) & 0x7; }
    bool pageBreakBefore() const { return properties & (1u << 19); }
};

struct BorderLine {
    std::uint8_t type = 0;  // 0 none, 1 solid, 2 dash, 3 dot, ...
    std::uint8_t widthIndex = 0;
    std::uint32_t color = 0;
};

struct BorderFill {
    std::array<BorderLine, 5> lines{};  // left, right, top, bottom, diagonal
    bool hasFillColor = false;
    std::uint32_t fillColor = 0xFFFFFFFF;
    bool hasImageFill = false;  // a picture fills the area; the model has no place for it
};

struct TabStopDef {
    std::int32_t position = 0;  // HWPUNIT
    std::uint8_t kind = 0;      // 0 left, 1 right, 2 centre, 3 decimal
    std::uint8_t fill = 0;      // leader line type: 0 none, 1 solid, 2 dash, 3 dot, ...
};

// One level of a NUMBERING: its number shape (0 digits, 1 circled digits, 2 upper roman, ...)
// and its format text, where "^2" stands for the level-2 number.
struct NumberingLevel {
    int shape = 0;
    std::string format;
    int start = 1;  // the level's first number
};

struct Style {
    std::string name, englishName;
    int kind = 0;  // 0 paragraph, 1 character
    std::uint16_t paraShapeId = 0, charShapeId = 0;
};

struct DocInfo {
    std::uint16_t sectionCount = 0;
    std::vector<BinDataItem> binData;
    std::array<std::vector<std::string>, kLanguageCount> faceNames;
    std::vector<BorderFill> borderFills;
    std::vector<CharShape> charShapes;
    std::vector<ParaShape> paraShapes;
    std::vector<std::vector<TabStopDef>> tabDefs;
    std::vector<std::vector<NumberingLevel>> numberings;  // NUMBERING records, levels 1-7
    std::vector<std::string> bullets;  // the bullet character of each BULLET, as UTF-8
    std::vector<Style> styles;

    const BinDataItem* binDataById(std::uint16_t id) const;
};

// Reads the DocInfo records. Records it does not need are skipped; a record it needs that is
// shorter than its fixed fields throws Hwp5Error.
DocInfo parseDocInfo(std::span<const Record> records);

}  // namespace tavrino::docs::hwp5
