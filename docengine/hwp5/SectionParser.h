#pragma once
// Turns the records of one BodyText (or ViewText) section into its paragraph list. The records
// form a tree by level: a paragraph's text, shapes and controls sit one level below its
// PARA_HEADER, and a control's lists (cells, notes, text boxes) one level below the control.

#include <cstddef>
#include <span>

#include "hwp5/Paragraph.h"
#include "hwp5/Record.h"

namespace tavrino::docs::hwp5 {

// Controls may nest paragraph lists inside paragraph lists (a table in a cell of a table in a
// text box ...); deeper nesting than this is refused rather than recursed into.
inline constexpr int kMaxNesting = 32;
// A table whose declared grid is larger than this is refused: no real document comes near it,
// and a forged count must not make a later stage allocate a grid that size.
inline constexpr std::uint64_t kMaxTableCells = 100000;

// Throws Hwp5Error when the records do not form paragraphs (no PARA_HEADER where one must be,
// a record too short for its fixed fields, nesting past kMaxNesting, an absurd table).
ParagraphList parseSection(std::span<const Record> records);

class SectionParser {
  public:
    explicit SectionParser(std::span<const Record> records) : records_(records) {}
    ParagraphList section();

  private:
    ParagraphList paragraphList(std::uint16_t level, std::size_t limit, int depth);
    Paragraph paragraph(int depth);
    void paragraphText(Paragraph& p, const Record& r);
    Control control(int depth);

    // Control bodies, one per kind (ControlParser.cpp). Each gets the index range of the
    // control's subtree, [begin, end), and the level of its CTRL_HEADER.
    struct Range {
        std::size_t begin, end;
        std::uint16_t level;
    };
    ControlBody sectionDef(const Record& header, Range range);
    ControlBody columnDef(const Record& header);
    ControlBody table(const Record& header, Range range, int depth);
    ControlBody drawingObject(const Record& header, Range range, int depth);
    Shape shape(std::size_t at, std::size_t end, int depth);
    ControlBody equation(const Record& header, Range range);
    ControlBody headerFooter(const Record& header, Range range, int depth);
    ControlBody note(const Record& header, Range range, int depth);
    ControlBody field(const Record& header);
    ControlBody other(Range range, int depth);
    // The paragraph list that follows the LIST_HEADER at `at`; moves pos_ past it.
    ParagraphList listAt(std::size_t at, int depth);

    std::size_t subtreeEnd(std::size_t at) const;

    std::span<const Record> records_;
    std::size_t pos_ = 0;
};

}  // namespace tavrino::docs::hwp5
