#pragma once
// Writes model blocks as WordprocessingML into one part (the body, a header, footer or the
// notes), collecting that part's relationships.

#include <pugixml.hpp>

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "docx/DocxLineSpacing.h"
#include "docx/DocxParts.h"

namespace tavrino::docs {

class DocxPartWriter {
  public:
    // `inTextBox`: text-box content may not cite notes or hold other text boxes.
    explicit DocxPartWriter(DocxOutput& output, bool inTextBox = false);

    void writeBlocks(pugi::xml_node parent, const std::vector<Block>& blocks);
    pugi::xml_node writeParagraph(pugi::xml_node parent, const Paragraph& paragraph);

    // Adds a relationship of this part and returns its id.
    std::string relate(const std::string& type, const std::string& target, bool external = false);

    // The part's _rels document, or "" when it has no relationships.
    std::string relationshipsXml() const;

    // Open row spans of a table being written: grid column -> (last row, cell).
    using RowSpans = std::map<int, std::pair<int, const TableCell*>>;

  private:
    void writeParagraphProps(pugi::xml_node p, const ParaProps& props,
                             const std::optional<DocxLineSpacing>& line);
    void writeRun(pugi::xml_node p, const TextRun& run);
    void writeInline(pugi::xml_node p, const CharProps& props, pugi::xml_node& r,
                     const Inline& item);
    void writeField(pugi::xml_node p, const FieldStart& field);
    void writeFieldEnd(pugi::xml_node p);
    void writePicture(pugi::xml_node r, const Picture& picture);
    void writeTextBox(pugi::xml_node r, const Shape& shape);
    void writeTable(pugi::xml_node parent, const Table& table);
    void writeTableRow(pugi::xml_node tbl, const TableRow& row, int r,
                       const std::vector<std::int32_t>& widths, RowSpans& spanning);
    void writeBorders(pugi::xml_node tcPr, const Borders& borders);

    DocxOutput& output_;
    bool inTextBox_;
    std::vector<PartRelationship> relationships_;
    std::vector<bool> openFields_;
    std::vector<std::vector<Block>> deferred_;  // text of boxes nested in this text box  // whether
                                                // each open field was written as a Word field
};

// Adds w:rPr for `props` to `r` (nothing when every property is the default).
void writeRunProps(pugi::xml_node r, const CharProps& props);

}  // namespace tavrino::docs
