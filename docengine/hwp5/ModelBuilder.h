#pragma once
// Maps a parsed HWP 5 file onto the document model. The file's structure (Hwp5File) is kept
// apart from the model so that each side can be tested on its own; this class is the only
// place that knows both. Its work is split by topic over several files: the document and its
// sections (ModelBuilder.cpp), paragraphs and inline content (MapParagraph.cpp), character
// and paragraph properties (MapStyle.cpp), tables (MapTable.cpp) and drawing objects,
// pictures and notes (MapObject.cpp).

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "hwp5/Hwp5File.h"
#include "model/Document.h"

namespace tavrino::docs::hwp5 {

class ParagraphPieces;

// Builds the model of a whole document. Throws Hwp5Error when the file's content contradicts
// itself in a way the model cannot hold (a table cell outside its table's grid).
Document buildDocument(const Hwp5File& file);

class ModelBuilder {
  public:
    explicit ModelBuilder(const Hwp5File& file) : file_(file) {}
    Document build();

  private:
    // Everything a section collects while its paragraphs are mapped.
    struct SectionState {
        Section* section = nullptr;
        bool pageSet = false, columnsSet = false;
    };

    // The section definition opens its first paragraph, whose own head already needs the
    // outline numbering it names.
    void takeOutlineNumbering(const hwp5::Paragraph& first);

    // Appends the section to the document, split where its column layout changes.
    void buildSection(const ParagraphList& paragraphs);
    std::vector<Block> blocks(const ParagraphList& paragraphs);
    void appendParagraph(const hwp5::Paragraph& p, std::vector<Block>& out);
    void placeControl(const Control& c, ParagraphPieces& pieces);

    // MapStyle.cpp
    CharProps charProps(std::uint32_t charShapeId) const;
    ParaProps paraProps(const hwp5::Paragraph& p) const;
    Borders borders(std::uint16_t borderFillId) const;
    std::optional<Color> fill(std::uint16_t borderFillId) const;
    bool hasImageFill(std::uint16_t borderFillId) const;

    // MapTable.cpp
    docs::Table table(const hwp5::Table& t);

    // MapObject.cpp: the inline an extended control turns into, if any.
    std::optional<Inline> drawingObject(const DrawingObject& d);
    std::optional<Inline> picture(const hwp5::Shape& s, const ObjectCommon& object);
    docs::Shape shape(const hwp5::Shape& s, bool inlineWithText);
    Inline note(const hwp5::Note& n);
    Inline equation(const hwp5::Equation& e);
    FieldStart fieldStart(const Field& f);

    // What a control in a paragraph means to the section rather than to the text.
    void sectionControl(const Control& c);

    const Hwp5File& file_;
    Document doc_;
    SectionState state_;
    std::uint16_t outlineNumbering_ = 1;  // NUMBERING id, 1-based
    std::map<std::uint16_t, std::size_t> mediaByBinData_;
};

}  // namespace tavrino::docs::hwp5
