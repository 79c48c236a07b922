// Pictures, text boxes and tables of the DOCX writer.
#include <algorithm>
#include <cstdio>
#include <map>

#include "docx/DocxDrawingFrame.h"
#include "docx/DocxPartWriter.h"
#include "docx/DocxUnits.h"
#include "xml/XmlWriter.h"

namespace tavrino::docs {
namespace {

std::string mediaExtension(const Media& media) {
    const std::string& type = media.mediaType;
    if (type == "image/png") return "png";
    if (type == "image/jpeg" || type == "image/jpg") return "jpeg";
    if (type == "image/gif") return "gif";
    if (type == "image/bmp") return "bmp";
    if (type == "image/tiff") return "tiff";
    const size_t dot = media.name.rfind('.');
    std::string ext = dot == std::string::npos ? "bin" : media.name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const bool safe =
        !ext.empty() && ext.size() <= 5 &&
        std::all_of(ext.begin(), ext.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
    return safe ? (ext == "jpg" ? "jpeg" : ext) : "bin";
}

void attrs(pugi::xml_node node, std::initializer_list<std::pair<const char*, std::string>> values) {
    for (const auto& [name, value] : values)
        set(node, name, value.c_str());
}

}  // namespace

void DocxPartWriter::writePicture(pugi::xml_node r, const Picture& picture) {
    const auto& media = output_.document.media;
    if (picture.mediaIndex >= media.size()) return;
    auto [entry, added] = output_.mediaParts.try_emplace(picture.mediaIndex);
    if (added) {
        entry->second = "media/image" + std::to_string(output_.mediaParts.size()) + "." +
                        mediaExtension(media[picture.mediaIndex]);
    }
    const std::string rid = relate("image", entry->second);
    DrawingFrame frame;
    frame.inlineWithText = picture.inlineWithText;
    frame.placement = picture.placement;
    frame.width = hwpToEmu(std::max<std::int64_t>(picture.width, 1440));
    frame.height = hwpToEmu(std::max<std::int64_t>(picture.height, 1440));
    frame.id = output_.nextDrawingId++;
    frame.name = "Picture " + std::to_string(frame.id);
    frame.description = picture.description;
    frame.graphicUri = "http://schemas.openxmlformats.org/drawingml/2006/picture";
    frame.lockAspect = true;
    const std::string id = std::to_string(frame.id);
    const std::string cx = std::to_string(frame.width);
    const std::string cy = std::to_string(frame.height);
    pugi::xml_node data = openDrawingFrame(r, frame);
    pugi::xml_node pic = data.append_child("pic:pic");
    pugi::xml_node nv = pic.append_child("pic:nvPicPr");
    attrs(nv.append_child("pic:cNvPr"), {{"id", id}, {"name", frame.name}});
    nv.append_child("pic:cNvPicPr");
    pugi::xml_node fill = pic.append_child("pic:blipFill");
    set(fill.append_child("a:blip"), "r:embed", rid.c_str());
    fill.append_child("a:stretch").append_child("a:fillRect");
    pugi::xml_node shape = pic.append_child("pic:spPr");
    pugi::xml_node xfrm = shape.append_child("a:xfrm");
    attrs(xfrm.append_child("a:off"), {{"x", "0"}, {"y", "0"}});
    attrs(xfrm.append_child("a:ext"), {{"cx", cx}, {"cy", cy}});
    set(shape.append_child("a:prstGeom"), "prst", "rect").append_child("a:avLst");
}

// A DrawingML text box in the same frame as pictures, so that a floating box keeps its
// place and its wrap; white with a thin black outline, and grown to its text rather than
// cutting it off when our lines come out taller than the source's.
void DocxPartWriter::writeTextBox(pugi::xml_node r, const Shape& shape) {
    std::vector<Block> content = shape.blocks;
    content.insert(content.end(), shape.caption.begin(), shape.caption.end());
    if (content.empty()) return;  // a drawing without text has nothing a text box could show
    if (inTextBox_) {
        // Word forbids a text box inside a text box: its paragraphs follow the paragraph of
        // the outer box that anchors it.
        deferred_.push_back(std::move(content));
        return;
    }
    DrawingFrame frame;
    frame.inlineWithText = shape.inlineWithText;
    frame.placement = shape.placement;
    frame.width = hwpToEmu(std::max(shape.width, 1440));
    frame.height = hwpToEmu(std::max(shape.height, 1440));
    frame.id = output_.nextDrawingId++;
    frame.name = "TextBox " + std::to_string(frame.id);
    frame.graphicUri = "http://schemas.microsoft.com/office/word/2010/wordprocessingShape";
    pugi::xml_node wsp = openDrawingFrame(r, frame).append_child("wps:wsp");
    set(wsp.append_child("wps:cNvSpPr"), "txBox", "1");
    pugi::xml_node spPr = wsp.append_child("wps:spPr");
    pugi::xml_node xfrm = spPr.append_child("a:xfrm");
    attrs(xfrm.append_child("a:off"), {{"x", "0"}, {"y", "0"}});
    attrs(xfrm.append_child("a:ext"),
          {{"cx", std::to_string(frame.width)}, {"cy", std::to_string(frame.height)}});
    set(spPr.append_child("a:prstGeom"), "prst", "rect").append_child("a:avLst");
    set(spPr.append_child("a:solidFill").append_child("a:srgbClr"), "val", "FFFFFF");
    pugi::xml_node line = set(spPr.append_child("a:ln"), "w", "9525");
    set(line.append_child("a:solidFill").append_child("a:srgbClr"), "val", "000000");
    pugi::xml_node box = wsp.append_child("wps:txbx").append_child("w:txbxContent");
    DocxPartWriter inner(output_, true);
    inner.writeBlocks(box, content);
    if (!box.last_child() || std::string_view(box.last_child().name()) != "w:p")
        box.append_child("w:p");
    relationships_.insert(relationships_.end(), inner.relationships_.begin(),
                          inner.relationships_.end());
    pugi::xml_node body = wsp.append_child("wps:bodyPr");
    attrs(body, {{"rot", "0"}, {"vert", "horz"}, {"wrap", "square"}, {"anchor", "t"}});
    body.append_child("a:spAutoFit");
}

namespace {

// The grid has a column for every position any cell reaches (at most 1000); the table's own
// widths are kept when they fit it, and an even split of the text width replaces them when
// they do not.
std::vector<std::int32_t> gridWidths(const Table& table) {
    int columns = std::max(1, table.columnCount);
    for (const auto& row : table.rows) {
        for (const auto& cell : row.cells)
            columns = std::max(columns, cell.column + std::max(1, cell.columnSpan));
    }
    columns = std::min(columns, 1000);
    std::vector<std::int32_t> widths = table.columnWidths;
    if (int(widths.size()) != columns) widths.assign(columns, 42520 / columns);
    return widths;
}

void writeTableProperties(pugi::xml_node tbl, const Table& table,
                          const std::vector<std::int32_t>& widths) {
    pugi::xml_node tblPr = tbl.append_child("w:tblPr");
    std::int32_t total = 0;
    for (const auto w : widths)
        total += w;
    attrs(tblPr.append_child("w:tblW"),
          {{"w:w", std::to_string(hwpToTwips(total))}, {"w:type", "dxa"}});
    if (table.alignment != Alignment::left) {
        set(tblPr.append_child("w:jc"), "w:val",
            table.alignment == Alignment::center ? "center" : "right");
    }
    set(tblPr.append_child("w:tblLayout"), "w:type", "fixed");
    pugi::xml_node grid = tbl.append_child("w:tblGrid");
    for (const auto w : widths)
        set(grid.append_child("w:gridCol"), "w:w", std::max(1, hwpToTwips(w)));
}

// The grid positions a row covers, [first, end): positions no cell covers at the start or
// end of a row are skipped with gridBefore/gridAfter, which keeps ragged tables ragged.
struct RowExtent {
    int first;
    int end;
};

RowExtent rowExtent(const std::map<int, const TableCell*>& starts,
                    const DocxPartWriter::RowSpans& spanning, int r, int columns) {
    int first = columns, end = 0;
    for (int c = 0; c < columns; ++c) {
        const auto open = spanning.find(c);
        const auto start = starts.find(c);
        const bool spanned = open != spanning.end() && open->second.first >= r;
        if (start == starts.end() && !spanned) continue;
        first = std::min(first, c);
        const TableCell* cell = start != starts.end() ? start->second : open->second.second;
        end = std::max(end, c + std::max(1, cell->columnSpan));
    }
    return {first, std::min(end, columns)};
}

void writeRowProperties(pugi::xml_node tr, const TableRow& row, RowExtent extent, int columns) {
    if (!row.isHeader && row.height <= 0 && extent.first <= 0 && extent.end >= columns) return;
    pugi::xml_node trPr = tr.append_child("w:trPr");
    if (extent.first > 0 && extent.first < columns)
        set(trPr.append_child("w:gridBefore"), "w:val", extent.first);
    if (extent.end < columns && extent.end > extent.first)
        set(trPr.append_child("w:gridAfter"), "w:val", columns - extent.end);
    if (row.height > 0) {
        attrs(trPr.append_child("w:trHeight"), {{"w:val", std::to_string(hwpToTwips(row.height))}});
    }
    if (row.isHeader) trPr.append_child("w:tblHeader");
}

void writeShadingAndAlignment(pugi::xml_node tcPr, const TableCell& cell) {
    if (cell.fill) {
        char fill[8];
        std::snprintf(fill, sizeof fill, "%02X%02X%02X", cell.fill->red, cell.fill->green,
                      cell.fill->blue);
        attrs(tcPr.append_child("w:shd"),
              {{"w:val", "clear"}, {"w:color", "auto"}, {"w:fill", fill}});
    }
    if (cell.verticalAlign != VerticalAlign::top) {
        set(tcPr.append_child("w:vAlign"), "w:val",
            cell.verticalAlign == VerticalAlign::center ? "center" : "bottom");
    }
}

}  // namespace

// Covered positions of a row span are written as continuation cells (Word keeps every
// row's grid complete); positions no cell covers get empty cells.
void DocxPartWriter::writeTable(pugi::xml_node parent, const Table& table) {
    const std::vector<std::int32_t> widths = gridWidths(table);
    pugi::xml_node tbl = parent.append_child("w:tbl");
    writeTableProperties(tbl, table, widths);
    RowSpans spanning;
    for (size_t r = 0; r < table.rows.size(); ++r)
        writeTableRow(tbl, table.rows[r], int(r), widths, spanning);
    writeBlocks(parent, table.caption);
}

void DocxPartWriter::writeTableRow(pugi::xml_node tbl, const TableRow& row, int r,
                                   const std::vector<std::int32_t>& widths, RowSpans& spanning) {
    const int columns = int(widths.size());
    std::map<int, const TableCell*> starts;
    for (const auto& cell : row.cells)
        starts.emplace(std::max(0, cell.column), &cell);
    RowExtent extent = rowExtent(starts, spanning, r, columns);
    pugi::xml_node tr = tbl.append_child("w:tr");
    writeRowProperties(tr, row, extent, columns);
    if (extent.first >= columns) extent = {0, columns};
    int column = extent.first;
    while (column < extent.end) {
        const TableCell* cell = nullptr;
        bool continuation = false;
        if (auto open = spanning.find(column); open != spanning.end() && open->second.first >= r) {
            cell = open->second.second;
            continuation = true;
        } else if (auto start = starts.find(column); start != starts.end()) {
            cell = start->second;
            if (cell->rowSpan > 1) spanning[column] = {r + cell->rowSpan - 1, cell};
        }
        const int span = cell ? std::clamp(cell->columnSpan, 1, columns - column) : 1;
        std::int32_t width = 0;
        for (int c = column; c < column + span; ++c)
            width += widths[c];
        pugi::xml_node tc = tr.append_child("w:tc");
        pugi::xml_node tcPr = tc.append_child("w:tcPr");
        attrs(tcPr.append_child("w:tcW"),
              {{"w:w", std::to_string(hwpToTwips(width))}, {"w:type", "dxa"}});
        if (span > 1) set(tcPr.append_child("w:gridSpan"), "w:val", span);
        if (cell && cell->rowSpan > 1) {
            pugi::xml_node merge = tcPr.append_child("w:vMerge");
            if (!continuation) set(merge, "w:val", "restart");
        }
        if (cell && !continuation) {
            writeBorders(tcPr, cell->borders);
            writeShadingAndAlignment(tcPr, *cell);
            writeBlocks(tc, cell->blocks);
        }
        if (!tc.last_child() || std::string_view(tc.last_child().name()) != "w:p")
            tc.append_child("w:p");
        column += span;
    }
}

}  // namespace tavrino::docs
