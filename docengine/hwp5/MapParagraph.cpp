// One HWP paragraph becomes one or more model blocks: its text is cut into runs at the
// character shape boundaries, control characters become tabs, breaks and inline objects, and a
// table anchored in the paragraph splits it into the text before, the table, and the text after.

#include <limits>
#include <optional>

#include "hwp5/ByteReader.h"
#include "hwp5/ControlChars.h"
#include "hwp5/ModelBuilder.h"

namespace tavrino::docs::hwp5 {
namespace {

bool hasContent(const docs::Paragraph& p) {
    for (const auto& run : p.runs)
        if (!run.content.empty()) return true;
    return false;
}

}  // namespace

// Collects the pieces of one source paragraph.
class ParagraphPieces {
  public:
    ParagraphPieces(ParaProps props, std::vector<Block>& out)
        : props_(std::move(props)), out_(out) {
        current_.props = props_;
    }

    void useShape(std::uint32_t id, const CharProps& props) {
        if (shape_ && id == *shape_) return;
        flushText();
        current_.runs.push_back(TextRun{props, {}});
        shape_ = id;
        shapeProps_ = props;
    }
    void text(char32_t c) { appendUtf8(text_, c); }
    void add(Inline item) {
        flushText();
        current_.runs.back().content.push_back(std::move(item));
    }
    void openField(FieldStart start) {
        add(std::move(start));
        ++openFields_;
    }
    void closeField() {
        if (openFields_ == 0) return;  // an end without a start carries nothing
        add(FieldEnd{});
        --openFields_;
    }
    // The table becomes a block between the text before it and the text after it.
    void splitAt(Block block) {
        flushText();
        closeOpenFields();
        if (hasContent(current_)) out_.push_back(Block{trimmed(std::move(current_))});
        out_.push_back(std::move(block));
        split_ = true;
        current_ = docs::Paragraph{props_, {}};
        current_.props.pageBreakBefore = false;  // the break belonged before the first piece
        current_.props.columnBreakBefore = false;
        reopenRun();
    }
    // Blocks that belong after this paragraph (captions of objects anchored in it).
    void after(std::vector<Block> blocks) {
        for (auto& b : blocks)
            trailing_.push_back(std::move(b));
    }
    void finish() {
        flushText();
        closeOpenFields();
        // A paragraph that held only a table leaves nothing behind it; a plain empty paragraph
        // is an empty line and stays.
        if (!split_ || hasContent(current_)) out_.push_back(Block{trimmed(std::move(current_))});
        for (auto& b : trailing_)
            out_.push_back(std::move(b));
    }

  private:
    void flushText() {
        if (text_.empty()) return;
        current_.runs.back().content.push_back(Text{std::move(text_)});
        text_.clear();
    }
    void closeOpenFields() {
        while (openFields_ > 0)
            closeField();
    }
    void reopenRun() { current_.runs.push_back(TextRun{shapeProps_, {}}); }
    // Runs that ended up empty (a shape change right before a control) are dropped, except
    // the one run an empty paragraph keeps for its character properties.
    docs::Paragraph trimmed(docs::Paragraph p) {
        std::erase_if(p.runs, [](const TextRun& r) { return r.content.empty(); });
        if (p.runs.empty()) p.runs.push_back(TextRun{shapeProps_, {}});
        return p;
    }

    ParaProps props_;
    std::vector<Block>& out_;
    docs::Paragraph current_;
    CharProps shapeProps_;
    std::vector<Block> trailing_;
    std::string text_;
    std::optional<std::uint32_t> shape_;  // any id is possible, 0xFFFFFFFF included
    int openFields_ = 0;
    bool split_ = false;
};

void ModelBuilder::appendParagraph(const hwp5::Paragraph& p, std::vector<Block>& out) {
    if (p.masterPages > 0) doc_.dropped.add("masterPage", p.masterPages);
    ParagraphPieces pieces(paraProps(p), out);
    const std::u16string& text = p.text;
    std::size_t shapeIndex = 0, controlIndex = 0;
    auto shapeAt = [&](std::size_t pos) -> std::uint32_t {
        while (shapeIndex + 1 < p.charShapes.size() && p.charShapes[shapeIndex + 1].position <= pos)
            ++shapeIndex;
        return p.charShapes.empty() ? 0 : p.charShapes[shapeIndex].charShapeId;
    };
    pieces.useShape(shapeAt(0), charProps(shapeAt(0)));
    for (std::size_t i = 0; i < text.size();) {
        char16_t unit = text[i];
        std::uint32_t shapeId = shapeAt(i);
        pieces.useShape(shapeId, charProps(shapeId));
        CharKind kind = charKind(unit);
        if (kind == CharKind::text) {
            char32_t c = unit;
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                ++i;
            }
            pieces.text(c);
            ++i;
            continue;
        }
        if (unit == ctrlchar::kParagraphEnd) break;
        switch (unit) {
            case ctrlchar::kTab:
                pieces.add(Tab{});
                break;
            case ctrlchar::kLineBreak:
                pieces.add(Break{BreakKind::line});
                break;
            case ctrlchar::kHyphen:
                pieces.text(U'-');
                break;
            case ctrlchar::kNonBreakingSpace:
                pieces.text(U'\u00A0');
                break;
            case ctrlchar::kFixedWidthSpace:
                pieces.text(U' ');
                break;
            case ctrlchar::kFieldEnd:
                pieces.closeField();
                break;
            default:
                if (kind == CharKind::extended && controlIndex < p.controls.size())
                    placeControl(p.controls[controlIndex++], pieces);
        }
        i += static_cast<std::size_t>(charWidth(unit));
    }
    pieces.finish();
}

void ModelBuilder::placeControl(const Control& c, ParagraphPieces& pieces) {
    if (auto* t = std::get_if<hwp5::Table>(&c.body)) {
        auto caption = blocks(t->caption);
        pieces.splitAt(Block{table(*t)});
        pieces.after(std::move(caption));
    } else if (auto* d = std::get_if<DrawingObject>(&c.body)) {
        if (auto item = drawingObject(*d)) pieces.add(std::move(*item));
        pieces.after(blocks(d->caption));
    } else if (auto* e = std::get_if<hwp5::Equation>(&c.body)) {
        pieces.add(equation(*e));
    } else if (auto* n = std::get_if<hwp5::Note>(&c.body)) {
        pieces.add(note(*n));
    } else if (auto* f = std::get_if<Field>(&c.body)) {
        pieces.openField(fieldStart(*f));
    } else {
        sectionControl(c);
    }
}

}  // namespace tavrino::docs::hwp5
