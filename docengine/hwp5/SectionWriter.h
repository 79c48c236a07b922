#pragma once
// Writes one section of the model as the records of a BodyText stream. The model's blocks
// become paragraph lists: a paragraph's text with its control characters, its character shape
// runs, one layout cache entry, and one control record tree per extended control character.
// Tables, pictures, drawing objects, equations, notes, fields and running heads are controls
// whose own paragraph lists sit one level deeper. The work is split over two files: the
// paragraphs and lists (SectionWriter.cpp) and the controls (SectionControls.cpp).

#include <cstdint>
#include <string>
#include <vector>

#include "hwp5/DocInfoWriter.h"
#include "hwp5/RecordWriter.h"
#include "model/Document.h"

namespace tavrino::docs::hwp5 {

// Where an object's header puts it: HWPUNIT from the frames its placement names.
struct ObjectOffsets {
    std::int32_t vertical = 0, horizontal = 0;
};

class SectionWriter {
  public:
    SectionWriter(const Document& document, DocInfoWriter& info)
        : document_(document), info_(info) {}

    // The section's records, uncompressed. Throws DocumentError for content the format cannot
    // hold (a table too large for its counters, objects nested deeper than readers accept).
    std::vector<std::uint8_t> write(const Section& section);

  private:
    // One paragraph on its way out: the text without its end mark, the shape runs, and the
    // records of its controls, already built one level below the paragraph.
    struct ParagraphOut {
        std::u16string text;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> shapes;  // position, char shape
        std::uint16_t paraShape = 0;
        std::uint8_t style = 0;
        std::uint8_t breakKind = 0;
        std::uint32_t controlMask = 0;
        RecordWriter controls;
        std::vector<std::uint32_t> fieldIds;  // of the fields still open, innermost last
    };

    // Lists: the blocks as paragraphs at `level`, then written with the end flag on the last.
    std::vector<ParagraphOut> buildList(const std::vector<Block>& blocks, std::uint16_t level,
                                        int depth);
    void emitList(std::vector<ParagraphOut>& paragraphs, std::uint16_t level,
                  RecordWriter& out) const;
    void buildBlocks(const std::vector<Block>& blocks, std::uint16_t level, int depth,
                     std::vector<ParagraphOut>& out);
    void buildParagraph(const docs::Paragraph& p, std::uint16_t level, int depth,
                        std::vector<ParagraphOut>& out);
    void emit(ParagraphOut& p, bool last, std::uint16_t level, RecordWriter& out) const;
    ParagraphOut start(const ParaProps& props, std::uint32_t charShape);
    void useShape(ParagraphOut& p, std::uint32_t charShape) const;
    void addText(ParagraphOut& p, const std::string& text) const;
    void closeFields(ParagraphOut& p) const;
    // The section's own controls (definition, columns, running heads) at the head of its
    // first paragraph.
    void sectionControls(ParagraphOut& p, std::uint16_t level);

    // SectionControls.cpp: each adds its control character to the paragraph and its records
    // one level below it.
    void table(ParagraphOut& p, const docs::Table& t, std::uint16_t level, int depth);
    void picture(ParagraphOut& p, const docs::Picture& picture, std::uint16_t level, int depth);
    void shape(ParagraphOut& p, const docs::Shape& s, std::uint16_t level, int depth);
    void equation(ParagraphOut& p, const docs::Equation& e, std::uint16_t level);
    void note(ParagraphOut& p, const docs::Note& n, std::uint16_t level, int depth);
    void field(ParagraphOut& p, const FieldStart& f, std::uint16_t level);
    void headerFooter(ParagraphOut& p, const docs::HeaderFooter& h, bool footer,
                      std::uint16_t level);
    void caption(const std::vector<Block>& blocks, std::int32_t width, std::uint16_t level,
                 int depth, RecordWriter& out);
    // LIST_HEADER's common head: paragraph count and list property.
    static void listHead(ByteWriter& out, std::size_t paragraphs, std::uint32_t property);
    static void extendedChar(ParagraphOut& p, char16_t code, std::uint32_t id);
    // The head shared by tables, drawing objects and equations.
    void objectHead(ByteWriter& out, std::uint32_t id, std::uint32_t property, std::int32_t width,
                    std::int32_t height, const std::string& description, std::int16_t margin = 0,
                    ObjectOffsets offsets = {0, 0});
    std::uint32_t nextInstance() { return ++instance_; }

    const Document& document_;
    DocInfoWriter& info_;
    const Section* section_ = nullptr;  // until its controls have been written
    std::int32_t textWidth_ = 0;        // the body's width, for layout caches and captions
    std::uint32_t instance_ = 0;
    std::uint32_t footnotes_ = 0, endnotes_ = 0;
};

}  // namespace tavrino::docs::hwp5
