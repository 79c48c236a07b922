#pragma once
// Collects the document-wide tables an HWP file's body refers to by number (faces, character
// and paragraph shapes, border fills, tab definitions, numberings, bullets, styles, embedded
// pictures) while the sections are written, then writes them as the DocInfo stream. Each
// distinct value is stored once; ids are handed out in order of first use, so equal documents
// give equal files.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/Document.h"

namespace tavrino::docs::hwp5 {

struct BorderLook {
    Borders borders;
    std::optional<Color> fill;
    bool operator==(const BorderLook&) const = default;
};

// An embedded picture as it goes into BinData.
struct BinDataEntry {
    std::size_t mediaIndex = 0;
    std::string extension;           // "png", "jpg", ...
    bool compress = false;           // already-compressed images are stored as they are
    std::string streamName() const;  // "BinData/BIN0001.png"
    std::uint16_t id = 0;            // 1-based
};

class DocInfoWriter {
  public:
    explicit DocInfoWriter(const Document& document);

    std::uint32_t charShape(const CharProps& props);
    std::uint16_t paraShape(const ParaProps& props);
    std::uint8_t style(const ParaProps& props, std::uint16_t paraShapeId,
                       std::uint32_t charShapeId);
    std::uint16_t borderFill(const BorderLook& look);
    // The 1-based bin data id of a picture's media, or 0 when the index names no media.
    std::uint16_t binData(std::size_t mediaIndex);

    const std::vector<BinDataEntry>& binDataEntries() const { return binData_; }
    // The DocInfo records (uncompressed).
    std::vector<std::uint8_t> write(int sectionCount) const;

  private:
    std::uint16_t face(const std::string& name);
    std::uint16_t tabDef(const std::vector<TabStop>& stops);
    std::uint16_t listReference(const ListInfo& list);

    struct StyleEntry {
        std::string name;
        std::uint16_t paraShape = 0;
        std::uint32_t charShape = 0;
    };
    // One numbering per list of the model, each level's look as the first paragraph showed.
    struct Numbering {
        int listId = 0;
        std::map<int, ListInfo> levels;
    };

    const Document& document_;
    std::vector<std::string> faces_;
    std::vector<CharProps> charShapes_;
    std::vector<ParaProps> paraShapes_;
    std::vector<std::uint16_t> paraShapeTabs_, paraShapeLists_;
    std::vector<BorderLook> borderFills_;  // id = index + 1
    std::vector<std::vector<TabStop>> tabDefs_;
    std::vector<Numbering> numberings_;  // id = index + 1; the first is the outline's
    std::vector<std::string> bullets_;   // id = index + 1
    std::vector<StyleEntry> styles_;
    std::vector<BinDataEntry> binData_;
    std::map<std::size_t, std::uint16_t> binDataByMedia_;
};

// HWP's COLORREF: 0x00BBGGRR.
constexpr std::uint32_t colorRef(const Color& c) {
    return std::uint32_t{c.red} | (std::uint32_t{c.green} << 8) | (std::uint32_t{c.blue} << 16);
}

}  // namespace tavrino::docs::hwp5
