#pragma once
// The body of a WordprocessingML document (and of its headers, footers and notes) read into
// model blocks and sections.

#include <pugixml.hpp>

#include <map>
#include <string>

#include "docx/DocxPackage.h"
#include "docx/DocxStyles.h"
#include "model/Document.h"

namespace tavrino::docs {

class DocxBodyReader {
  public:
    DocxBodyReader(DocxPackage& package, const DocxStyles& styles, Document& document);

    // Reads w:body into sections: every w:sectPr closes one.
    void readDocumentBody(const pugi::xml_node& body, const std::string& part);

  private:
    struct PartContext {
        std::string part;
        Relationships relationships;
    };

    std::vector<Block> readBlocks(const pugi::xml_node& parent);
    void readBlock(const pugi::xml_node& node, std::vector<Block>& out);
    Paragraph readParagraph(const pugi::xml_node& p);
    void readInlineContainer(const pugi::xml_node& parent, Paragraph& paragraph,
                             const std::string& styleId);
    void readRun(const pugi::xml_node& r, Paragraph& paragraph, const std::string& styleId);
    void readRunChild(const pugi::xml_node& child, TextRun& run);
    void readFieldChar(const pugi::xml_node& fldChar, TextRun& run);
    void readDrawing(const pugi::xml_node& drawing, TextRun& run);
    void readVml(const pugi::xml_node& pict, TextRun& run);
    Table readTable(const pugi::xml_node& tbl);
    void readSectionProperties(const pugi::xml_node& sectPr, Section& section);
    std::vector<Block> readPartBlocks(const std::string& part, const char* root);
    void loadNotes(const char* relType, const char* root, const char* item,
                   std::map<int, std::vector<Block>>& notes);
    std::optional<std::size_t> mediaFor(const std::string& relationshipId);

    DocxPackage& package_;
    const DocxStyles& styles_;
    Document& document_;
    PartContext context_;
    std::map<int, std::vector<Block>> footnotes_;
    std::map<int, std::vector<Block>> endnotes_;
    std::map<std::string, std::size_t> mediaByPart_;
    // Open complex fields, innermost last: whether its FieldStart has been emitted (at
    // "separate"), and the instruction text gathered so far.
    std::vector<std::pair<bool, std::string>> fields_;
};

}  // namespace tavrino::docs
