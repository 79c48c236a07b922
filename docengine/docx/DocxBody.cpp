#include "docx/DocxBody.h"
#include "docx/DocxUnits.h"

#include <algorithm>

#include "docx/DocxDrawingFrame.h"
#include "docx/DocxFields.h"

namespace tavrino::docs {
namespace {

bool is(const pugi::xml_node& node, std::string_view name) {
    return name == node.name();
}

void appendText(TextRun& run, std::string_view text) {
    if (text.empty()) return;
    if (!run.content.empty()) {
        if (auto* last = std::get_if<Text>(&run.content.back())) {
            last->text += text;
            return;
        }
    }
    run.content.push_back(Text{std::string(text)});
}

// Text with its tabs and line feeds turned into model inlines.
void appendMixedText(TextRun& run, std::string_view text) {
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\t' && text[i] != '\n' && text[i] != '\r') continue;
        appendText(run, text.substr(start, i - start));
        if (i < text.size()) {
            if (text[i] == '\t')
                run.content.push_back(Tab{});
            else
                run.content.push_back(Break{BreakKind::line});
        }
        start = i + 1;
    }
}

std::int32_t emu(const pugi::xml_node& node, const char* name) {
    return emuToHwp(node.attribute(name).as_llong());
}

}  // namespace

DocxBodyReader::DocxBodyReader(DocxPackage& package, const DocxStyles& styles, Document& document)
    : package_(package), styles_(styles), document_(document) {}

void DocxBodyReader::readDocumentBody(const pugi::xml_node& body, const std::string& part) {
    context_ = {part, package_.relationshipsOf(part)};
    loadNotes("footnotes", "w:footnotes", "w:footnote", footnotes_);
    loadNotes("endnotes", "w:endnotes", "w:endnote", endnotes_);
    context_ = {part, package_.relationshipsOf(part)};
    if (const auto comments = package_.targetOfType(part, "comments"); !comments.empty()) {
        document_.dropped.add("comment");
    }
    Section current;
    for (const auto& node : body.children()) {
        if (is(node, "w:sectPr")) continue;
        readBlock(node, current.blocks);
        const auto sectPr = node.child("w:pPr").child("w:sectPr");
        if (is(node, "w:p") && sectPr) {
            readSectionProperties(sectPr, current);
            document_.sections.push_back(std::move(current));
            current = Section{};
        }
    }
    readSectionProperties(body.child("w:sectPr"), current);
    document_.sections.push_back(std::move(current));
}

std::vector<Block> DocxBodyReader::readBlocks(const pugi::xml_node& parent) {
    std::vector<Block> blocks;
    for (const auto& node : parent.children())
        readBlock(node, blocks);
    return blocks;
}

void DocxBodyReader::readBlock(const pugi::xml_node& node, std::vector<Block>& out) {
    if (is(node, "w:p")) {
        out.push_back(Block{readParagraph(node)});
    } else if (is(node, "w:tbl")) {
        out.push_back(Block{readTable(node)});
    } else if (is(node, "w:sdt")) {
        for (const auto& child : node.child("w:sdtContent").children())
            readBlock(child, out);
    } else if (is(node, "w:customXml") || is(node, "w:ins")) {
        for (const auto& child : node.children())
            readBlock(child, out);
    } else if (is(node, "w:del") || is(node, "w:altChunk")) {
        document_.dropped.add(is(node, "w:del") ? "trackChange" : "altChunk");
    }
}

Paragraph DocxBodyReader::readParagraph(const pugi::xml_node& p) {
    Paragraph paragraph;
    const auto pPr = p.child("w:pPr");
    paragraph.props = styles_.paragraphProps(pPr);
    readInlineContainer(p, paragraph, pPr.child("w:pStyle").attribute("w:val").as_string());
    return paragraph;
}

void DocxBodyReader::readInlineContainer(const pugi::xml_node& parent, Paragraph& paragraph,
                                         const std::string& styleId) {
    for (const auto& child : parent.children()) {
        if (is(child, "w:r")) {
            readRun(child, paragraph, styleId);
        } else if (is(child, "w:hyperlink")) {
            FieldStart link{FieldKind::hyperlink, {}, "HYPERLINK"};
            const auto rel = context_.relationships.find(child.attribute("r:id").as_string());
            if (rel != context_.relationships.end())
                link.target = rel->second.target;
            else
                link.target = std::string("#") + child.attribute("w:anchor").as_string();
            paragraph.runs.push_back(TextRun{{}, {link}});
            readInlineContainer(child, paragraph, styleId);
            paragraph.runs.push_back(TextRun{{}, {FieldEnd{}}});
        } else if (is(child, "w:fldSimple")) {
            paragraph.runs.push_back(
                TextRun{{}, {fieldFromInstruction(child.attribute("w:instr").as_string())}});
            readInlineContainer(child, paragraph, styleId);
            paragraph.runs.push_back(TextRun{{}, {FieldEnd{}}});
        } else if (is(child, "w:ins") || is(child, "w:smartTag") || is(child, "w:customXml") ||
                   is(child, "w:sdt") || is(child, "w:sdtContent") || is(child, "w:moveTo")) {
            if (is(child, "w:ins")) document_.dropped.add("trackChange");
            readInlineContainer(child, paragraph, styleId);
        } else if (is(child, "w:del") || is(child, "w:moveFrom")) {
            document_.dropped.add("trackChange");
        } else if (is(child, "m:oMath") || is(child, "m:oMathPara")) {
            Equation equation;
            for (const auto& t : child.select_nodes(".//m:t"))
                equation.script += t.node().text().as_string();
            paragraph.runs.push_back(TextRun{{}, {equation}});
        }
    }
}

void DocxBodyReader::readRun(const pugi::xml_node& r, Paragraph& paragraph,
                             const std::string& styleId) {
    TextRun run{styles_.runProps(r.child("w:rPr"), styleId), {}};
    for (const auto& child : r.children())
        readRunChild(child, run);
    if (!run.content.empty()) paragraph.runs.push_back(std::move(run));
}

void DocxBodyReader::readRunChild(const pugi::xml_node& child, TextRun& run) {
    const std::string_view name = child.name();
    const bool collecting = !fields_.empty() && !fields_.back().first;
    if (name == "w:t") {
        if (!collecting) appendMixedText(run, child.text().as_string());
    } else if (name == "w:instrText") {
        if (collecting) fields_.back().second += child.text().as_string();
    } else if (name == "w:fldChar") {
        readFieldChar(child, run);
    } else if (name == "w:tab" || name == "w:ptab") {
        run.content.push_back(Tab{});
    } else if (name == "w:br" || name == "w:cr") {
        const std::string_view type = child.attribute("w:type").as_string();
        run.content.push_back(Break{type == "page"     ? BreakKind::page
                                    : type == "column" ? BreakKind::column
                                                       : BreakKind::line});
    } else if (name == "w:noBreakHyphen") {
        appendText(run, "-");
    } else if (name == "w:sym") {
        appendText(run, "\u25A1");
        document_.dropped.add("symbol");
    } else if (name == "w:drawing") {
        readDrawing(child, run);
    } else if (name == "w:pict") {
        readVml(child, run);
    } else if (name == "mc:AlternateContent") {
        const auto choice =
            child.child("mc:Choice") ? child.child("mc:Choice") : child.child("mc:Fallback");
        for (const auto& inner : choice.children())
            readRunChild(inner, run);
    } else if (name == "w:footnoteReference" || name == "w:endnoteReference") {
        const bool foot = name == "w:footnoteReference";
        auto& notes = foot ? footnotes_ : endnotes_;
        const auto found = notes.find(child.attribute("w:id").as_int());
        run.content.push_back(Note{foot ? NoteKind::footnote : NoteKind::endnote,
                                   found == notes.end() ? std::vector<Block>{} : found->second});
    } else if (name == "w:object") {
        document_.dropped.add("ole");
    }
}

void DocxBodyReader::readFieldChar(const pugi::xml_node& fldChar, TextRun& run) {
    const std::string_view type = fldChar.attribute("w:fldCharType").as_string();
    if (type == "begin") {
        if (fields_.size() < 64) fields_.emplace_back(false, std::string());
    } else if (type == "separate" && !fields_.empty() && !fields_.back().first) {
        fields_.back().first = true;
        run.content.push_back(fieldFromInstruction(fields_.back().second));
    } else if (type == "end" && !fields_.empty()) {
        if (!fields_.back().first)
            run.content.push_back(fieldFromInstruction(fields_.back().second));
        run.content.push_back(FieldEnd{});
        fields_.pop_back();
    }
}

std::optional<std::size_t> DocxBodyReader::mediaFor(const std::string& relationshipId) {
    const auto rel = context_.relationships.find(relationshipId);
    if (rel == context_.relationships.end() || rel->second.external ||
        !package_.has(rel->second.target)) {
        return std::nullopt;
    }
    const std::string& part = rel->second.target;
    if (const auto found = mediaByPart_.find(part); found != mediaByPart_.end())
        return found->second;
    const std::string name = part.substr(part.rfind('/') + 1);
    return mediaByPart_[part] =
               document_.addMedia(Media{name, mediaTypeForName(name), package_.readBinary(part)});
}

void DocxBodyReader::readDrawing(const pugi::xml_node& drawing, TextRun& run) {
    const auto frame =
        drawing.child("wp:inline") ? drawing.child("wp:inline") : drawing.child("wp:anchor");
    const auto extent = frame.child("wp:extent");
    const auto data = frame.child("a:graphic").child("a:graphicData");
    if (const auto blip = data.select_node(".//a:blip")) {
        const auto index = mediaFor(blip.node().attribute("r:embed").as_string());
        if (!index) {
            document_.dropped.add("missingPicture");
            return;
        }
        Picture picture{*index,
                        emu(extent, "cx"),
                        emu(extent, "cy"),
                        is(frame, "wp:inline"),
                        frame.child("wp:docPr").attribute("descr").as_string(),
                        {},
                        readDrawingPlacement(frame)};
        run.content.push_back(std::move(picture));
    } else if (const auto box = data.select_node(".//w:txbxContent")) {
        Shape shape{ShapeKind::textBox,         emu(extent, "cx"),      emu(extent, "cy"),
                    is(frame, "wp:inline"),     readBlocks(box.node()), {},
                    readDrawingPlacement(frame)};
        run.content.push_back(std::move(shape));
    } else {
        document_.dropped.add("drawing");
    }
}

void DocxBodyReader::readVml(const pugi::xml_node& pict, TextRun& run) {
    if (const auto box = pict.select_node(".//w:txbxContent")) {
        Shape shape;
        shape.blocks = readBlocks(box.node());
        run.content.push_back(std::move(shape));
    } else if (const auto image = pict.select_node(".//v:imagedata")) {
        if (const auto index = mediaFor(image.node().attribute("r:id").as_string())) {
            Picture picture;
            picture.mediaIndex = *index;
            run.content.push_back(std::move(picture));
        }
    } else if (pict.child("o:OLEObject") || pict.select_node(".//o:OLEObject")) {
        document_.dropped.add("ole");
    }
}

}  // namespace tavrino::docs
