#include "hwpx/HwpxObjects.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <numeric>

#include "hwpx/HwpxNames.h"
#include "hwpx/HwpxPlacement.h"
#include "hwpx/HwpxSectionWriter.h"
#include "xml/XmlWriter.h"

namespace tavrino::docs {
namespace {

void setAll(pugi::xml_node node,
            std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [name, value] : values)
        set(node, name, value);
}

void margins(pugi::xml_node parent, const char* name, int left, int right, int top, int bottom) {
    pugi::xml_node node = parent.append_child(name);
    set(node, "left", left);
    set(node, "right", right);
    set(node, "top", top);
    set(node, "bottom", bottom);
}

void appendText(pugi::xml_node run, pugi::xml_node& text, const std::string& value) {
    if (!text) text = run.append_child("hp:t");
    pugi::xml_node last = text.last_child();
    if (last && last.type() == pugi::node_pcdata) {
        last.set_value((std::string(last.value()) + value).c_str());
    } else {
        text.append_child(pugi::node_pcdata).set_value(value.c_str());
    }
}

void notePr(pugi::xml_node secPr, const char* name, const char* place) {
    pugi::xml_node node = secPr.append_child(name);
    pugi::xml_node format = node.append_child("hp:autoNumFormat");
    setAll(format, {{"type", "DIGIT"},
                    {"userChar", ""},
                    {"prefixChar", ""},
                    {"suffixChar", ")"},
                    {"supscript", "0"}});
    setAll(node.append_child("hp:noteLine"),
           {{"length", "-1"}, {"type", "SOLID"}, {"width", "0.12 mm"}, {"color", "#000000"}});
    setAll(node.append_child("hp:noteSpacing"),
           {{"betweenNotes", "283"}, {"belowLine", "567"}, {"aboveLine", "850"}});
    setAll(node.append_child("hp:numbering"), {{"type", "CONTINUOUS"}, {"newNum", "1"}});
    setAll(node.append_child("hp:placement"), {{"place", place}, {"beneathText", "0"}});
}

}  // namespace

HwpxObjectWriter::HwpxObjectWriter(HwpxHeaderWriter& header, std::set<std::size_t>& usedMedia,
                                   std::size_t mediaCount, BlockWriter blocks)
    : header_(header), usedMedia_(usedMedia), mediaCount_(mediaCount), blocks_(std::move(blocks)) {}

void HwpxObjectWriter::writeSectionProperties(pugi::xml_node run, const Section& section) {
    const PageSetup& page = section.page;
    // In 64 bits: a hostile file's margins may be near the ends of their range.
    const std::int64_t width =
        std::int64_t{page.width} - page.marginLeft - page.marginRight - page.gutter;
    textWidth_ = static_cast<int>(std::clamp<std::int64_t>(width, 1000, INT32_MAX));
    pugi::xml_node secPr = run.append_child("hp:secPr");
    setAll(secPr, {{"id", ""},
                   {"textDirection", "HORIZONTAL"},
                   {"spaceColumns", "1134"},
                   {"tabStop", "8000"},
                   {"tabStopVal", "4000"},
                   {"tabStopUnit", "HWPUNIT"},
                   {"outlineShapeIDRef", "1"},
                   {"memoShapeIDRef", "0"},
                   {"textVerticalWidthHead", "0"},
                   {"masterPageCnt", "0"}});
    setAll(secPr.append_child("hp:grid"),
           {{"lineGrid", "0"}, {"charGrid", "0"}, {"wonggojiFormat", "0"}});
    setAll(
        secPr.append_child("hp:startNum"),
        {{"pageStartsOn", "BOTH"}, {"page", "0"}, {"pic", "0"}, {"tbl", "0"}, {"equation", "0"}});
    setAll(secPr.append_child("hp:visibility"), {{"hideFirstHeader", "0"},
                                                 {"hideFirstFooter", "0"},
                                                 {"hideFirstMasterPage", "0"},
                                                 {"border", "SHOW_ALL"},
                                                 {"fill", "SHOW_ALL"},
                                                 {"hideFirstPageNum", "0"},
                                                 {"hideFirstEmptyLine", "0"},
                                                 {"showLineNumber", "0"}});
    setAll(secPr.append_child("hp:lineNumberShape"),
           {{"restartType", "0"}, {"countBy", "0"}, {"distance", "0"}, {"startNumber", "0"}});
    pugi::xml_node pagePr = secPr.append_child("hp:pagePr");
    // OWPML keeps the sheet in portrait and says "NARROWLY" for a landscape layout.
    set(pagePr, "landscape", page.landscape ? "NARROWLY" : "WIDELY");
    set(pagePr, "width", page.landscape ? std::min(page.width, page.height) : page.width);
    set(pagePr, "height", page.landscape ? std::max(page.width, page.height) : page.height);
    set(pagePr, "gutterType", "LEFT_ONLY");
    pugi::xml_node margin = pagePr.append_child("hp:margin");
    set(margin, "header", page.header);
    set(margin, "footer", page.footer);
    set(margin, "gutter", page.gutter);
    set(margin, "left", page.marginLeft);
    set(margin, "right", page.marginRight);
    set(margin, "top", page.marginTop);
    set(margin, "bottom", page.marginBottom);
    notePr(secPr, "hp:footNotePr", "EACH_COLUMN");
    notePr(secPr, "hp:endNotePr", "END_OF_DOCUMENT");
    for (const char* type : {"BOTH", "EVEN", "ODD"}) {
        pugi::xml_node fill = secPr.append_child("hp:pageBorderFill");
        setAll(fill, {{"type", type},
                      {"borderFillIDRef", "1"},
                      {"textBorder", "PAPER"},
                      {"headerInside", "0"},
                      {"footerInside", "0"},
                      {"fillArea", "PAPER"}});
        margins(fill, "hp:offset", 1417, 1417, 1417, 1417);
    }
    pugi::xml_node colPr = run.append_child("hp:ctrl").append_child("hp:colPr");
    setAll(colPr, {{"id", ""}, {"type", "NEWSPAPER"}, {"layout", "LEFT"}});
    set(colPr, "colCount", std::max(1, section.columns.count));
    set(colPr, "sameSz", 1);
    set(colPr, "sameGap", section.columns.gap);
    for (const auto& header : section.headers)
        writeHeaderFooter(run, header, true);
    for (const auto& footer : section.footers)
        writeHeaderFooter(run, footer, false);
}

void HwpxObjectWriter::writeHeaderFooter(pugi::xml_node run, const HeaderFooter& running,
                                         bool header) {
    if (running.side == PageSide::first) return;  // no first-page form in OWPML's header
    pugi::xml_node node =
        run.append_child("hp:ctrl").append_child(header ? "hp:header" : "hp:footer");
    set(node, "id", nextId_++);
    set(node, "applyPageType",
        running.side == PageSide::even  ? "EVEN"
        : running.side == PageSide::odd ? "ODD"
                                        : "BOTH");
    pugi::xml_node list = subList(node, header ? "TOP" : "BOTTOM");
    set(list, "textWidth", textWidth_);
    blocks_(list, running.blocks.empty() ? std::vector<Block>(1) : running.blocks);
}

pugi::xml_node HwpxObjectWriter::subList(pugi::xml_node parent, const char* vertAlign) {
    pugi::xml_node list = parent.append_child("hp:subList");
    setAll(list, {{"id", ""},
                  {"textDirection", "HORIZONTAL"},
                  {"lineWrap", "BREAK"},
                  {"vertAlign", vertAlign},
                  {"linkListIDRef", "0"},
                  {"linkListNextIDRef", "0"}});
    return list;
}

void HwpxObjectWriter::writeObjectFrame(pugi::xml_node object, std::int32_t width,
                                        std::int32_t height, bool inlineWithText,
                                        const Placement* placement) {
    pugi::xml_node size = object.append_child("hp:sz");
    set(size, "width", width);
    set(size, "widthRelTo", "ABSOLUTE");
    set(size, "height", height);
    set(size, "heightRelTo", "ABSOLUTE");
    set(size, "protect", 0);
    pugi::xml_node pos = object.append_child("hp:pos");
    set(pos, "treatAsChar", inlineWithText ? 1 : 0);
    setAll(pos, {{"affectLSpacing", "0"},
                 {"flowWithText", "1"},
                 {"allowOverlap", "0"},
                 {"holdAnchorAndSO", "0"},
                 {"vertRelTo", "PARA"},
                 {"horzRelTo", "COLUMN"},
                 {"vertAlign", "TOP"},
                 {"horzAlign", "LEFT"},
                 {"vertOffset", "0"},
                 {"horzOffset", "0"}});
    if (placement && !inlineWithText) writeHwpxPlacement(object, pos, *placement);
    margins(object, "hp:outMargin", 0, 0, 0, 0);
}

void HwpxObjectWriter::writeInline(pugi::xml_node run, pugi::xml_node& text, const Inline& item) {
    if (const auto* value = std::get_if<Text>(&item)) {
        appendText(run, text, xmlSafe(value->text));
        return;
    }
    if (std::holds_alternative<Tab>(item) || std::holds_alternative<Break>(item)) {
        if (!text) text = run.append_child("hp:t");
        if (std::holds_alternative<Break>(item)) {
            text.append_child("hp:lineBreak");
            return;
        }
        setAll(text.append_child("hp:tab"), {{"width", "4000"}, {"leader", "0"}, {"type", "1"}});
        return;
    }
    text = pugi::xml_node();
    if (const auto* picture = std::get_if<Picture>(&item))
        writePicture(run, *picture);
    else if (const auto* equation = std::get_if<Equation>(&item))
        writeEquation(run, *equation);
    else if (const auto* shape = std::get_if<Shape>(&item))
        writeShape(run, *shape);
    else if (const auto* note = std::get_if<Note>(&item)) {
        const bool foot = note->kind == NoteKind::footnote;
        pugi::xml_node node =
            run.append_child("hp:ctrl").append_child(foot ? "hp:footNote" : "hp:endNote");
        set(node, "number", nextId_);
        set(node, "suffixChar", 41);
        set(node, "instId", nextId_++);
        blocks_(subList(node, "TOP"), note->blocks.empty() ? std::vector<Block>(1) : note->blocks);
    } else if (const auto* field = std::get_if<FieldStart>(&item)) {
        if (field->kind != FieldKind::hyperlink) {
            openFields_.push_back(0);
            return;
        }
        const int id = nextId_++;
        openFields_.push_back(id);
        pugi::xml_node begin = run.append_child("hp:ctrl").append_child("hp:fieldBegin");
        set(begin, "id", id);
        setAll(begin, {{"type", "HYPERLINK"}, {"name", ""}, {"editable", "0"}, {"dirty", "0"}});
        set(begin, "zorder", -1);
        set(begin, "fieldid", id);
        pugi::xml_node parameters = begin.append_child("hp:parameters");
        set(parameters, "cnt", 1);
        set(parameters, "name", "");
        pugi::xml_node path = parameters.append_child("hp:stringParam");
        set(path, "name", "Path");
        path.text().set(xmlSafe(field->target).c_str());
    } else if (std::holds_alternative<FieldEnd>(item) && !openFields_.empty()) {
        const int id = openFields_.back();
        openFields_.pop_back();
        if (id == 0) return;
        pugi::xml_node end = run.append_child("hp:ctrl").append_child("hp:fieldEnd");
        set(end, "beginIDRef", id);
        set(end, "fieldid", id);
    }
}

// Every drawn object (picture, equation, shape, table) opens with the same placement
// attributes: a fresh id, in front of text, wrapped above and below.
pugi::xml_node HwpxObjectWriter::openObject(pugi::xml_node run, const char* element,
                                            const char* numberingType) {
    pugi::xml_node object = run.append_child(element);
    set(object, "id", nextId_++);
    setAll(object, {{"zOrder", "0"},
                    {"numberingType", numberingType},
                    {"textWrap", "TOP_AND_BOTTOM"},
                    {"textFlow", "BOTH_SIDES"},
                    {"lock", "0"},
                    {"dropcapstyle", "None"}});
    return object;
}

void HwpxObjectWriter::writePicture(pugi::xml_node run, const Picture& picture) {
    if (picture.mediaIndex >= mediaCount_) return;
    usedMedia_.insert(picture.mediaIndex);
    const std::int32_t width = picture.width > 0 ? picture.width : 14400;
    const std::int32_t height = picture.height > 0 ? picture.height : 14400;
    pugi::xml_node pic = openObject(run, "hp:pic", "PICTURE");
    setAll(pic, {{"href", ""}, {"groupLevel", "0"}, {"instid", "0"}, {"reverse", "0"}});
    setAll(pic.append_child("hp:offset"), {{"x", "0"}, {"y", "0"}});
    for (const char* name : {"hp:orgSz", "hp:curSz"}) {
        pugi::xml_node size = pic.append_child(name);
        set(size, "width", width);
        set(size, "height", height);
    }
    setAll(pic.append_child("hp:flip"), {{"horizontal", "0"}, {"vertical", "0"}});
    pugi::xml_node image = pic.append_child("hc:img");
    set(image, "binaryItemIDRef", hwpxMediaId(picture.mediaIndex).c_str());
    setAll(image, {{"bright", "0"}, {"contrast", "0"}, {"effect", "REAL_PIC"}, {"alpha", "0"}});
    writeObjectFrame(pic, width, height, picture.inlineWithText, &picture.placement);
    if (!picture.description.empty()) {
        pic.append_child("hp:shapeComment").text().set(xmlSafe(picture.description).c_str());
    }
    writeCaption(pic, picture.caption, width);
}

void HwpxObjectWriter::writeEquation(pugi::xml_node run, const Equation& equation) {
    pugi::xml_node node = openObject(run, "hp:equation", "EQUATION");
    setAll(node,
           {{"version", "Equation Version 60"}, {"baseLine", "85"}, {"textColor", "#000000"}});
    set(node, "baseUnit", equation.baseSize > 0 ? equation.baseSize : 1000);
    setAll(node, {{"lineMode", "CHAR"}, {"font", "HYhwpEQ"}});
    writeObjectFrame(node, equation.width > 0 ? equation.width : 2000,
                     equation.height > 0 ? equation.height : 1000, true);
    node.append_child("hp:script").text().set(xmlSafe(equation.script).c_str());
}

void HwpxObjectWriter::writeShape(pugi::xml_node run, const Shape& shape) {
    const std::int32_t width = shape.width > 0 ? shape.width : textWidth_;
    const std::int32_t height = shape.height > 0 ? shape.height : 5000;
    pugi::xml_node rect = openObject(run, "hp:rect", "NONE");
    setAll(rect, {{"href", ""}, {"groupLevel", "0"}, {"instid", "0"}, {"ratio", "0"}});
    for (const char* name : {"hp:orgSz", "hp:curSz"}) {
        pugi::xml_node size = rect.append_child(name);
        set(size, "width", width);
        set(size, "height", height);
    }
    setAll(rect.append_child("hp:lineShape"), {{"color", "#000000"},
                                               {"width", "33"},
                                               {"style", "SOLID"},
                                               {"endCap", "FLAT"},
                                               {"headStyle", "NORMAL"},
                                               {"tailStyle", "NORMAL"},
                                               {"headfill", "1"},
                                               {"tailfill", "1"},
                                               {"headSz", "MEDIUM_MEDIUM"},
                                               {"tailSz", "MEDIUM_MEDIUM"},
                                               {"outlineStyle", "NORMAL"},
                                               {"alpha", "0"}});
    if (!shape.blocks.empty() || shape.kind == ShapeKind::textBox) {
        pugi::xml_node drawText = rect.append_child("hp:drawText");
        set(drawText, "lastWidth", width);
        setAll(drawText, {{"name", ""}, {"editable", "0"}});
        blocks_(subList(drawText, "CENTER"),
                shape.blocks.empty() ? std::vector<Block>(1) : shape.blocks);
        margins(drawText, "hp:textMargin", 283, 283, 283, 283);
    }
    const std::pair<const char*, std::pair<int, int>> corners[] = {{"hc:pt0", {0, 0}},
                                                                   {"hc:pt1", {width, 0}},
                                                                   {"hc:pt2", {width, height}},
                                                                   {"hc:pt3", {0, height}}};
    for (const auto& [name, point] : corners) {
        pugi::xml_node node = rect.append_child(name);
        set(node, "x", point.first);
        set(node, "y", point.second);
    }
    writeObjectFrame(rect, width, height, shape.inlineWithText, &shape.placement);
    writeCaption(rect, shape.caption, width);
}

void HwpxObjectWriter::writeCaption(pugi::xml_node object, const std::vector<Block>& caption,
                                    std::int32_t width) {
    if (caption.empty()) return;
    pugi::xml_node node = object.append_child("hp:caption");
    setAll(node, {{"side", "BOTTOM"}, {"fullSz", "0"}});
    set(node, "width", width);
    set(node, "gap", 850);
    set(node, "lastWidth", width);
    blocks_(subList(node, "TOP"), caption);
}

// Widths come from the grid when the table has one, else from the cells, else the text
// width is shared out evenly.
void HwpxObjectWriter::writeTable(pugi::xml_node run, const Table& table) {
    int columns = std::max(1, table.columnCount);
    for (const auto& row : table.rows) {
        for (const auto& cell : row.cells)
            columns = std::max(columns, cell.column + cell.columnSpan);
    }
    std::vector<std::int32_t> widths = table.columnWidths;
    if (int(widths.size()) != columns) widths.assign(columns, textWidth_ / columns);
    pugi::xml_node tbl = openObject(run, "hp:tbl", "TABLE");
    setAll(tbl, {{"pageBreak", "CELL"}, {"repeatHeader", "1"}});
    set(tbl, "rowCnt", table.rows.size());
    set(tbl, "colCnt", columns);
    set(tbl, "cellSpacing", 0);
    set(tbl, "borderFillIDRef", header_.borderFill(CellLook{table.borders, std::nullopt}));
    set(tbl, "noAdjust", 0);
    // Sums in 64 bits, held to the frame's range: rows and columns of a hostile file may each
    // be near the largest length.
    std::int64_t height = 0;
    for (const auto& row : table.rows)
        height += std::max(row.height, 1000);
    const auto fit = [](std::int64_t length) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(length, 0, INT32_MAX));
    };
    const std::int32_t width = fit(std::accumulate(widths.begin(), widths.end(), std::int64_t{0}));
    writeObjectFrame(tbl, width, fit(height), false);
    margins(tbl, "hp:inMargin", 510, 510, 141, 141);
    writeCaption(tbl, table.caption, width);
    for (const auto& row : table.rows) {
        pugi::xml_node tr = tbl.append_child("hp:tr");
        for (const auto& cell : row.cells) {
            std::int32_t width = 0;
            for (int c = cell.column; c < std::min(columns, cell.column + cell.columnSpan); ++c) {
                width += widths[static_cast<size_t>(std::max(c, 0))];
            }
            writeCell(tr, cell, width);
            if (row.isHeader) tr.last_child().attribute("header").set_value(1);
        }
    }
}

void HwpxObjectWriter::writeCell(pugi::xml_node tr, const TableCell& cell, std::int32_t width) {
    pugi::xml_node tc = tr.append_child("hp:tc");
    setAll(tc, {{"name", ""},
                {"header", "0"},
                {"hasMargin", "0"},
                {"protect", "0"},
                {"editable", "0"},
                {"dirty", "0"}});
    set(tc, "borderFillIDRef", header_.borderFill(CellLook{cell.borders, cell.fill}));
    pugi::xml_node list = subList(tc, cell.verticalAlign == VerticalAlign::center   ? "CENTER"
                                      : cell.verticalAlign == VerticalAlign::bottom ? "BOTTOM"
                                                                                    : "TOP");
    blocks_(list, cell.blocks.empty() ? std::vector<Block>(1) : cell.blocks);
    pugi::xml_node address = tc.append_child("hp:cellAddr");
    set(address, "colAddr", cell.column);
    set(address, "rowAddr", cell.row);
    pugi::xml_node span = tc.append_child("hp:cellSpan");
    set(span, "colSpan", std::max(1, cell.columnSpan));
    set(span, "rowSpan", std::max(1, cell.rowSpan));
    pugi::xml_node size = tc.append_child("hp:cellSz");
    set(size, "width", width);
    set(size, "height", std::max(cell.height, 1000));
    margins(tc, "hp:cellMargin", 510, 510, 141, 141);
}

}  // namespace tavrino::docs
