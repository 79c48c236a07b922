#include "hwp5/DocInfo.h"

#include <algorithm>
#include <cstdio>

#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"
#include "model/Style.h"

namespace tavrino::docs::hwp5 {
namespace {

BinDataItem readBinData(ByteReader in) {
    BinDataItem item;
    std::uint16_t property = in.u16();
    int type = property & 0xF;
    item.compression = (property >> 4) & 0x3;
    if (type == 0) {
        item.kind = BinDataItem::Kind::link;
        item.linkPath = in.bstr();
        if (!in.atEnd()) in.bstr();  // relative path
        return item;
    }
    item.kind = type == 2 ? BinDataItem::Kind::storage : BinDataItem::Kind::embedded;
    item.id = in.u16();
    if (!in.atEnd()) item.extension = in.bstr();
    return item;
}

CharShape readCharShape(ByteReader in) {
    CharShape s;
    for (auto& id : s.faceIds)
        id = in.u16();
    in.skip(14);  // width ratios, letter spacing
    for (auto& size : s.relativeSize)
        size = in.u8();
    in.skip(7);  // vertical offsets
    s.baseSize = in.i32();
    s.attributes = in.u32();
    in.skip(2);  // shadow gaps
    s.textColor = in.u32();
    s.underlineColor = in.u32();
    s.shadeColor = in.u32();
    in.u32();                           // shadow colour
    if (in.remaining() >= 2) in.u16();  // border fill id
    if (in.remaining() >= 4) s.strikeColor = in.u32();
    return s;
}

ParaShape readParaShape(ByteReader in) {
    ParaShape s;
    s.properties = in.u32();
    s.leftMargin = in.i32() / 2;
    s.rightMargin = in.i32() / 2;
    s.indent = in.i32() / 2;
    s.spaceBefore = in.i32() / 2;
    s.spaceAfter = in.i32() / 2;
    s.lineSpacing = in.i32();
    s.lineSpacingType = static_cast<int>(s.properties & 0x3);
    s.tabDefId = in.u16();
    s.numberingId = in.u16();
    s.borderFillId = in.u16();
    in.skip(8);                         // border offsets
    if (in.remaining() >= 4) in.u32();  // property 2
    if (in.remaining() >= 8) {
        // Since 5.0.2.5 the line spacing type and value may live here and then supersede the
        // old ones; files of the word processor leave both zero and keep the old fields.
        const auto type = static_cast<int>(in.u32() & 0x1F);
        const auto spacing = static_cast<std::int32_t>(in.u32());
        if (spacing != 0) {
            s.lineSpacingType = type;
            s.lineSpacing = spacing;
        }
    }
    if (in.remaining() >= 4) s.level = in.u32();
    return s;
}

BorderFill readBorderFill(ByteReader in) {
    BorderFill b;
    in.u16();  // property
    for (auto& line : b.lines) {
        line.type = in.u8();
        line.widthIndex = in.u8();
        line.color = in.u32();
    }
    std::uint32_t mask = in.u32();
    b.hasImageFill = mask & 0x2;
    if (mask & 0x1) {
        b.hasFillColor = true;
        b.fillColor = in.u32();
    }
    return b;
}

std::vector<TabStopDef> readTabDef(ByteReader in) {
    in.u32();  // property
    std::uint32_t count = in.u32();
    std::vector<TabStopDef> stops;
    // Each stop is 8 bytes; the count cannot promise more than the record holds.
    for (std::uint32_t i = 0; i < count && in.remaining() >= 8; ++i) {
        TabStopDef stop;
        stop.position = in.i32();
        stop.kind = in.u8();
        stop.fill = in.u8();
        in.skip(2);
        stops.push_back(stop);
    }
    return stops;
}

// BULLET: the 12-byte paragraph head shared with NUMBERING (property, width adjustment,
// distance from the text, char shape id), then the bullet character.
std::string readBullet(ByteReader in) {
    in.skip(12);
    char16_t c = in.u16();
    return utf16ToUtf8(std::u16string(1, c));
}

// NUMBERING: seven levels, each the 12-byte paragraph head (its property holds the number
// shape in bits 5-8) and the format text; start numbers follow. A record cut short keeps
// the levels it holds.
std::vector<NumberingLevel> readNumbering(ByteReader in) {
    std::vector<NumberingLevel> levels;
    while (levels.size() < 7 && in.remaining() >= 14) {
        NumberingLevel level;
        level.shape = static_cast<int>((in.u32() >> 5) & 0xF);
        in.skip(8);
        level.format = in.bstr();
        levels.push_back(std::move(level));
    }
    // The numbering's own start number, then (from 5.0.2.5) one per level. A hostile value
    // stays a plausible number.
    if (levels.size() == 7 && in.remaining() >= 2 + 4 * levels.size()) {
        in.u16();
        for (NumberingLevel& level : levels)
            level.start = static_cast<int>(std::min<std::uint32_t>(in.u32(), kMaxListStart));
    }
    return levels;
}

Style readStyle(ByteReader in) {
    Style s;
    s.name = in.bstr();
    s.englishName = in.bstr();
    s.kind = in.u8() & 0x7;
    in.u8();   // next style
    in.i16();  // language
    s.paraShapeId = in.u16();
    s.charShapeId = in.u16();
    return s;
}

// FACE_NAME records carry no language; ID_MAPPINGS says how many belong to each, in order.
struct FaceNameSlots {
    std::array<std::int64_t, kLanguageCount> counts{};
    std::size_t seen = 0;

    int languageOfNext() const {
        std::int64_t end = 0;
        for (int lang = 0; lang < kLanguageCount; ++lang) {
            end += counts[lang];
            if (static_cast<std::int64_t>(seen) < end) return lang;
        }
        return kLanguageCount - 1;  // more names than announced: keep them with the last
    }
};

}  // namespace

std::string BinDataItem::streamName() const {
    char name[16];
    std::snprintf(name, sizeof name, "BIN%04X", id);
    return std::string("BinData/") + name + (extension.empty() ? "" : "." + extension);
}

const BinDataItem* DocInfo::binDataById(std::uint16_t id) const {
    for (const auto& item : binData)
        if (item.kind != BinDataItem::Kind::link && item.id == id) return &item;
    // Links have no id of their own; the body refers to them by their 1-based position.
    if (id >= 1 && id <= binData.size()) return &binData[id - 1];
    return nullptr;
}

DocInfo parseDocInfo(std::span<const Record> records) {
    DocInfo info;
    FaceNameSlots faces;
    for (const Record& r : records) {
        ByteReader in(r.payload, "DocInfo 레코드");
        switch (r.tag) {
            case tag::kDocumentProperties:
                info.sectionCount = in.u16();
                break;
            case tag::kIdMappings:
                in.u32();
                for (auto& count : faces.counts)
                    if (in.remaining() >= 4) count = in.i32();
                break;
            case tag::kBinData:
                info.binData.push_back(readBinData(in));
                break;
            case tag::kFaceName: {
                in.u8();
                info.faceNames[faces.languageOfNext()].push_back(in.bstr());
                ++faces.seen;
                break;
            }
            case tag::kBorderFill:
                info.borderFills.push_back(readBorderFill(in));
                break;
            case tag::kCharShape:
                info.charShapes.push_back(readCharShape(in));
                break;
            case tag::kNumbering:
                info.numberings.push_back(readNumbering(in));
                break;
            case tag::kBullet:
                info.bullets.push_back(readBullet(in));
                break;
            case tag::kTabDef:
                info.tabDefs.push_back(readTabDef(in));
                break;
            case tag::kParaShape:
                info.paraShapes.push_back(readParaShape(in));
                break;
            case tag::kStyle:
                info.styles.push_back(readStyle(in));
                break;
            default:
                break;
        }
    }
    return info;
}

}  // namespace tavrino::docs::hwp5
