#include "docx/DocxPartWriter.h"

#include <algorithm>
#include <cstdio>

#include "docx/DocxFields.h"
#include "docx/DocxUnits.h"
#include "xml/XmlWriter.h"

namespace tavrino::docs {
namespace {

std::string hex(const Color& color) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", color.red, color.green, color.blue);
    return text;
}

void val(pugi::xml_node parent, const char* name, const std::string& value) {
    set(parent.append_child(name), "w:val", value.c_str());
}

const char* underlineValue(Underline underline) {
    switch (underline) {
        case Underline::doubled:
            return "double";
        case Underline::dotted:
            return "dotted";
        case Underline::dashed:
            return "dash";
        case Underline::wavy:
            return "wave";
        case Underline::thick:
            return "thick";
        default:
            return "single";
    }
}

const char* borderValue(BorderStyle style) {
    switch (style) {
        case BorderStyle::none:
            return "nil";
        case BorderStyle::doubled:
            return "double";
        case BorderStyle::dotted:
            return "dotted";
        case BorderStyle::dashed:
            return "dashed";
        case BorderStyle::thick:
            return "thick";
        default:
            return "single";
    }
}

void appendBorders(pugi::xml_node parent, const char* name, const Borders& borders) {
    if (borders == Borders{}) return;
    pugi::xml_node node = parent.append_child(name);
    const std::pair<const char*, const Border*> sides[] = {{"w:top", &borders.top},
                                                           {"w:left", &borders.left},
                                                           {"w:bottom", &borders.bottom},
                                                           {"w:right", &borders.right}};
    for (const auto& [side, border] : sides) {
        pugi::xml_node edge = node.append_child(side);
        set(edge, "w:val", borderValue(border->style));
        set(edge, "w:sz", std::max(2, border->width * 2 / 25));
        set(edge, "w:space", 0);
        set(edge, "w:color", hex(border->color).c_str());
    }
}

pugi::xml_node textElement(pugi::xml_node r, const std::string& text) {
    pugi::xml_node t = r.append_child("w:t");
    set(t, "xml:space", "preserve");
    t.text().set(xmlSafe(text).c_str());
    return t;
}

}  // namespace

void writeRunProps(pugi::xml_node r, const CharProps& props) {
    pugi::xml_node rPr = r.append_child("w:rPr");
    if (!props.fontFace.empty() || !props.latinFace.empty()) {
        pugi::xml_node fonts = rPr.append_child("w:rFonts");
        const std::string latin = props.latinFace.empty() ? props.fontFace : props.latinFace;
        set(fonts, "w:ascii", xmlSafe(latin).c_str());
        set(fonts, "w:hAnsi", xmlSafe(latin).c_str());
        set(fonts, "w:eastAsia", xmlSafe(props.fontFace.empty() ? latin : props.fontFace).c_str());
    }
    if (props.bold) rPr.append_child("w:b");
    if (props.italic) rPr.append_child("w:i");
    if (props.strike == Strike::single) rPr.append_child("w:strike");
    if (props.strike == Strike::doubled) rPr.append_child("w:dstrike");
    if (props.color) val(rPr, "w:color", hex(*props.color));
    if (props.size > 0) {
        val(rPr, "w:sz", std::to_string(hundredthsToHalfPoints(props.size)));
        val(rPr, "w:szCs", std::to_string(hundredthsToHalfPoints(props.size)));
    }
    if (props.underline != Underline::none) val(rPr, "w:u", underlineValue(props.underline));
    if (props.highlight) {
        pugi::xml_node shading = rPr.append_child("w:shd");
        set(shading, "w:val", "clear");
        set(shading, "w:color", "auto");
        set(shading, "w:fill", hex(*props.highlight).c_str());
    }
    if (props.position != VerticalPosition::baseline) {
        val(rPr, "w:vertAlign",
            props.position == VerticalPosition::superscript ? "superscript" : "subscript");
    }
    if (!rPr.first_child()) r.remove_child(rPr);
}

void DocxPartWriter::writeBorders(pugi::xml_node tcPr, const Borders& borders) {
    appendBorders(tcPr, "w:tcBorders", borders);
}

DocxPartWriter::DocxPartWriter(DocxOutput& output, bool inTextBox)
    : output_(output), inTextBox_(inTextBox) {}

std::string DocxPartWriter::relate(const std::string& type, const std::string& target,
                                   bool external) {
    for (const auto& rel : relationships_) {
        if (rel.type == type && rel.target == target && rel.external == external) return rel.id;
    }
    const std::string id = "rId" + std::to_string(relationships_.size() + 1);
    relationships_.push_back({id, type, target, external});
    return id;
}

std::string DocxPartWriter::relationshipsXml() const {
    if (relationships_.empty()) return {};
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("Relationships");
    set(root, "xmlns", "http://schemas.openxmlformats.org/package/2006/relationships");
    for (const auto& rel : relationships_) {
        pugi::xml_node node = root.append_child("Relationship");
        set(node, "Id", rel.id.c_str());
        const std::string base =
            rel.type == "core-properties"
                ? "http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
                : "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
        set(node, "Type", (base + rel.type).c_str());
        set(node, "Target", xmlSafe(rel.target).c_str());
        if (rel.external) set(node, "TargetMode", "External");
    }
    return xmlBytes(document);
}

void DocxPartWriter::writeBlocks(pugi::xml_node parent, const std::vector<Block>& blocks) {
    for (const Block& block : blocks) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block.content)) {
            writeParagraph(parent, *paragraph);
        } else {
            writeTable(parent, std::get<Table>(block.content));
        }
    }
}

pugi::xml_node DocxPartWriter::writeParagraph(pugi::xml_node parent, const Paragraph& paragraph) {
    pugi::xml_node p = parent.append_child("w:p");
    writeParagraphProps(p, paragraph.props, docxLineSpacing(paragraph));
    for (const TextRun& run : paragraph.runs)
        writeRun(p, run);
    std::vector<std::vector<Block>> nested = std::move(deferred_);
    deferred_.clear();
    for (const auto& blocks : nested)
        writeBlocks(parent, blocks);
    return p;
}

void DocxPartWriter::writeParagraphProps(pugi::xml_node p, const ParaProps& props,
                                         const std::optional<DocxLineSpacing>& line) {
    pugi::xml_node pPr = p.append_child("w:pPr");
    if (props.keepWithNext) pPr.append_child("w:keepNext");
    if (props.keepLines) pPr.append_child("w:keepLines");
    if (props.pageBreakBefore) pPr.append_child("w:pageBreakBefore");
    if (props.list.kind != ListKind::none) {
        const int id = std::max(1, props.list.listId > 0 ? props.list.listId : 1);
        const int level = std::clamp(props.list.level, 0, 8);
        output_.lists[id].emplace(level, props.list);
        pugi::xml_node numPr = pPr.append_child("w:numPr");
        val(numPr, "w:ilvl", std::to_string(level));
        val(numPr, "w:numId", std::to_string(id));
    }
    pugi::xml_node spacing = pPr.append_child("w:spacing");
    set(spacing, "w:before", hwpToTwips(props.spaceBefore));
    set(spacing, "w:after", hwpToTwips(props.spaceAfter));
    if (line) {
        set(spacing, "w:line", line->line);
        set(spacing, "w:lineRule", line->rule.c_str());
    }
    pugi::xml_node ind = pPr.append_child("w:ind");
    set(ind, "w:left", hwpToTwips(props.indentLeft));
    set(ind, "w:right", hwpToTwips(props.indentRight));
    if (props.firstLine < 0)
        set(ind, "w:hanging", hwpToTwips(-props.firstLine));
    else
        set(ind, "w:firstLine", hwpToTwips(props.firstLine));
    const char* jc = props.alignment == Alignment::center       ? "center"
                     : props.alignment == Alignment::right      ? "right"
                     : props.alignment == Alignment::justify    ? "both"
                     : props.alignment == Alignment::distribute ? "distribute"
                                                                : "left";
    val(pPr, "w:jc", jc);
    if (props.outlineLevel >= 0 && props.outlineLevel <= 8) {
        val(pPr, "w:outlineLvl", std::to_string(props.outlineLevel));
    }
}

void DocxPartWriter::writeRun(pugi::xml_node p, const TextRun& run) {
    pugi::xml_node r;
    for (const Inline& item : run.content)
        writeInline(p, run.props, r, item);
}

// Consecutive text, tabs and breaks share one w:r; fields and objects end it.
void DocxPartWriter::writeInline(pugi::xml_node p, const CharProps& props, pugi::xml_node& r,
                                 const Inline& item) {
    if (const auto* field = std::get_if<FieldStart>(&item)) {
        r = pugi::xml_node();
        return writeField(p, *field);
    }
    if (std::holds_alternative<FieldEnd>(item)) {
        r = pugi::xml_node();
        return writeFieldEnd(p);
    }
    if (!r) {
        r = p.append_child("w:r");
        writeRunProps(r, props);
    }
    if (const auto* text = std::get_if<Text>(&item)) {
        textElement(r, text->text);
    } else if (std::holds_alternative<Tab>(item)) {
        r.append_child("w:tab");
    } else if (const auto* brk = std::get_if<Break>(&item)) {
        pugi::xml_node br = r.append_child("w:br");
        if (brk->kind != BreakKind::line)
            set(br, "w:type", brk->kind == BreakKind::page ? "page" : "column");
    } else if (const auto* picture = std::get_if<Picture>(&item)) {
        writePicture(r, *picture);
        for (const Block& block : picture->caption) {
            if (const auto* caption = std::get_if<Paragraph>(&block.content)) {
                r.append_child("w:br");
                for (const TextRun& part : caption->runs) {
                    for (const Inline& piece : part.content) {
                        if (const auto* text = std::get_if<Text>(&piece))
                            textElement(r, text->text);
                    }
                }
            }
        }
    } else if (const auto* equation = std::get_if<Equation>(&item)) {
        pugi::xml_node math = p.append_child("m:oMath");
        math.append_child("m:r").append_child("m:t").text().set(xmlSafe(equation->script).c_str());
        r = pugi::xml_node();
    } else if (const auto* shape = std::get_if<Shape>(&item)) {
        writeTextBox(r, *shape);
    } else if (const auto* note = std::get_if<Note>(&item)) {
        if (inTextBox_) return;  // Word forbids notes in text boxes; the box keeps its text
        const bool foot = note->kind == NoteKind::footnote;
        auto& notes = foot ? output_.footnotes : output_.endnotes;
        notes.push_back(note->blocks);
        pugi::xml_node ref = p.append_child("w:r");
        val(ref.append_child("w:rPr"), "w:rStyle", foot ? "FootnoteReference" : "EndnoteReference");
        set(ref.append_child(foot ? "w:footnoteReference" : "w:endnoteReference"), "w:id",
            notes.size());
        r = pugi::xml_node();
    }
}

// Fields Word knows are written as complex fields around their result; the others keep only
// their result text.
void DocxPartWriter::writeField(pugi::xml_node p, const FieldStart& field) {
    std::string instruction;
    if (field.kind == FieldKind::hyperlink && !field.target.empty()) {
        std::string target;
        for (const char c : field.target) {
            if (c != '"' && c != '\\') target += c;
        }
        instruction = " HYPERLINK \"" + target + "\" ";
    } else if (field.kind == FieldKind::pageNumber) {
        instruction = " PAGE ";
    } else if (field.kind == FieldKind::pageCount) {
        instruction = " NUMPAGES ";
    }
    openFields_.push_back(!instruction.empty());
    if (instruction.empty()) return;
    set(p.append_child("w:r").append_child("w:fldChar"), "w:fldCharType", "begin");
    pugi::xml_node instr = p.append_child("w:r").append_child("w:instrText");
    set(instr, "xml:space", "preserve");
    instr.text().set(xmlSafe(instruction).c_str());
    set(p.append_child("w:r").append_child("w:fldChar"), "w:fldCharType", "separate");
}

void DocxPartWriter::writeFieldEnd(pugi::xml_node p) {
    if (openFields_.empty()) return;
    const bool written = openFields_.back();
    openFields_.pop_back();
    if (written) set(p.append_child("w:r").append_child("w:fldChar"), "w:fldCharType", "end");
}

}  // namespace tavrino::docs
