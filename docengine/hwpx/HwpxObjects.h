#pragma once
// The pieces of a section that are more than text: section settings, running heads, tables,
// pictures, equations, shapes, notes and hyperlinks.

#include <pugixml.hpp>

#include <functional>
#include <set>
#include <vector>

#include "hwpx/HwpxHeaderWriter.h"
#include "model/Section.h"

namespace tavrino::docs {

class HwpxObjectWriter {
  public:
    using BlockWriter = std::function<void(pugi::xml_node, const std::vector<Block>&)>;

    HwpxObjectWriter(HwpxHeaderWriter& header, std::set<std::size_t>& usedMedia,
                     std::size_t mediaCount, BlockWriter blocks);

    void writeSectionProperties(pugi::xml_node run, const Section& section);
    void writeTable(pugi::xml_node run, const Table& table);

    // Adds one inline item to `run`; `text` is the open hp:t (or empty) and is updated.
    void writeInline(pugi::xml_node run, pugi::xml_node& text, const Inline& item);

  private:
    pugi::xml_node subList(pugi::xml_node parent, const char* vertAlign);
    // `placement` positions a floating object; none keeps the defaults of tables.
    void writeObjectFrame(pugi::xml_node object, std::int32_t width, std::int32_t height,
                          bool inlineWithText, const Placement* placement = nullptr);
    pugi::xml_node openObject(pugi::xml_node run, const char* element, const char* numberingType);
    void writePicture(pugi::xml_node run, const Picture& picture);
    void writeEquation(pugi::xml_node run, const Equation& equation);
    void writeShape(pugi::xml_node run, const Shape& shape);
    void writeCaption(pugi::xml_node object, const std::vector<Block>& caption, std::int32_t width);
    void writeCell(pugi::xml_node tr, const TableCell& cell, std::int32_t width);
    void writeHeaderFooter(pugi::xml_node run, const HeaderFooter& running, bool header);

    HwpxHeaderWriter& header_;
    std::set<std::size_t>& usedMedia_;
    std::size_t mediaCount_;
    BlockWriter blocks_;
    std::int32_t textWidth_ = 42520;
    int nextId_ = 1;
    std::vector<int> openFields_;  // ids of hyperlinks begun and not yet ended; 0 = not written
};

}  // namespace tavrino::docs
