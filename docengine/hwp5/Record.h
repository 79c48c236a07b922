#pragma once
// The record layer shared by DocInfo, BodyText and ViewText streams: each record is a DWORD
// header (tag id in bits 0-9, level in bits 10-19, size in bits 20-31, where size 0xFFF means
// a DWORD with the real size follows) and its payload.

#include <cstdint>
#include <span>
#include <vector>

namespace tavrino::docs::hwp5 {

namespace tag {
inline constexpr std::uint16_t kBegin = 0x10;
inline constexpr std::uint16_t kDocumentProperties = kBegin + 0;
inline constexpr std::uint16_t kIdMappings = kBegin + 1;
inline constexpr std::uint16_t kBinData = kBegin + 2;
inline constexpr std::uint16_t kFaceName = kBegin + 3;
inline constexpr std::uint16_t kBorderFill = kBegin + 4;
inline constexpr std::uint16_t kCharShape = kBegin + 5;
inline constexpr std::uint16_t kTabDef = kBegin + 6;
inline constexpr std::uint16_t kNumbering = kBegin + 7;
inline constexpr std::uint16_t kBullet = kBegin + 8;
inline constexpr std::uint16_t kParaShape = kBegin + 9;
inline constexpr std::uint16_t kStyle = kBegin + 10;
inline constexpr std::uint16_t kDistributeDocData = kBegin + 12;
inline constexpr std::uint16_t kParaHeader = kBegin + 50;
inline constexpr std::uint16_t kParaText = kBegin + 51;
inline constexpr std::uint16_t kParaCharShape = kBegin + 52;
inline constexpr std::uint16_t kParaLineSeg = kBegin + 53;
inline constexpr std::uint16_t kParaRangeTag = kBegin + 54;
inline constexpr std::uint16_t kCtrlHeader = kBegin + 55;
inline constexpr std::uint16_t kListHeader = kBegin + 56;
inline constexpr std::uint16_t kPageDef = kBegin + 57;
inline constexpr std::uint16_t kFootnoteShape = kBegin + 58;
inline constexpr std::uint16_t kPageBorderFill = kBegin + 59;
inline constexpr std::uint16_t kShapeComponent = kBegin + 60;
inline constexpr std::uint16_t kTable = kBegin + 61;
inline constexpr std::uint16_t kShapeLine = kBegin + 62;
inline constexpr std::uint16_t kShapeRectangle = kBegin + 63;
inline constexpr std::uint16_t kShapeEllipse = kBegin + 64;
inline constexpr std::uint16_t kShapeArc = kBegin + 65;
inline constexpr std::uint16_t kShapePolygon = kBegin + 66;
inline constexpr std::uint16_t kShapeCurve = kBegin + 67;
inline constexpr std::uint16_t kShapeOle = kBegin + 68;
inline constexpr std::uint16_t kShapePicture = kBegin + 69;
inline constexpr std::uint16_t kShapeContainer = kBegin + 70;
inline constexpr std::uint16_t kCtrlData = kBegin + 71;
inline constexpr std::uint16_t kEqEdit = kBegin + 72;
inline constexpr std::uint16_t kShapeTextArt = kBegin + 74;
inline constexpr std::uint16_t kMemoList = kBegin + 77;
}  // namespace tag

struct Record {
    std::uint16_t tag = 0;
    std::uint16_t level = 0;
    std::span<const std::uint8_t> payload;  // points into the stream the records came from
};

// Splits a decompressed stream into records. The spans point into `stream`, which must outlive
// the result. Throws Hwp5Error when a header or payload runs past the end of the stream.
std::vector<Record> parseRecords(std::span<const std::uint8_t> stream);

}  // namespace tavrino::docs::hwp5
