// Tables, sections and the side parts (headers, footers, notes) of the DOCX reader.
#include <algorithm>

#include "docx/DocxBody.h"
#include "docx/DocxUnits.h"

namespace tavrino::docs {
namespace {

Border borderFrom(const pugi::xml_node& node) {
    Border border;
    const std::string_view value = node.attribute("w:val").as_string("nil");
    if (!node || value == "nil" || value == "none") return border;
    border.style = value == "double"                              ? BorderStyle::doubled
                   : value == "dotted"                            ? BorderStyle::dotted
                   : value.find("dash") != std::string_view::npos ? BorderStyle::dashed
                   : value == "thick"                             ? BorderStyle::thick
                                                                  : BorderStyle::single;
    border.width = node.attribute("w:sz").as_int(4) * 25 / 2;  // eighths of a point
    const std::string color = node.attribute("w:color").as_string("000000");
    if (color.size() == 6 && color != "auto") {
        const unsigned long rgb = std::strtoul(color.c_str(), nullptr, 16);
        border.color = Color{std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)};
    }
    return border;
}

Borders bordersFrom(const pugi::xml_node& node) {
    auto side = [&](const char* a, const char* b) {
        return borderFrom(node.child(a) ? node.child(a) : node.child(b));
    };
    return Borders{side("w:left", "w:start"), side("w:right", "w:end"), side("w:top", "w:top"),
                   side("w:bottom", "w:bottom")};
}

}  // namespace

// Vertical merges become row spans on the starting cell; the continuing cells are dropped,
// which is how the Korean formats and the model describe them.
Table DocxBodyReader::readTable(const pugi::xml_node& tbl) {
    Table table;
    for (const auto& col : tbl.child("w:tblGrid").children("w:gridCol")) {
        table.columnWidths.push_back(twipsToHwp(col.attribute("w:w").as_int()));
    }
    table.columnCount = static_cast<int>(table.columnWidths.size());
    table.borders = bordersFrom(tbl.child("w:tblPr").child("w:tblBorders"));
    const std::string_view jc = tbl.child("w:tblPr").child("w:jc").attribute("w:val").as_string();
    table.alignment = jc == "center"  ? Alignment::center
                      : jc == "right" ? Alignment::right
                                      : Alignment::left;
    std::map<int, std::pair<size_t, size_t>> openMerges;  // column -> (row, cell) of its start
    for (const auto& tr : tbl.children("w:tr")) {
        TableRow row;
        const auto trPr = tr.child("w:trPr");
        row.isHeader = bool(trPr.child("w:tblHeader"));
        row.height = twipsToHwp(trPr.child("w:trHeight").attribute("w:val").as_int());
        int column = trPr.child("w:gridBefore").attribute("w:val").as_int();
        for (const auto& tc : tr.children("w:tc")) {
            const auto tcPr = tc.child("w:tcPr");
            const int span =
                std::clamp(tcPr.child("w:gridSpan").attribute("w:val").as_int(1), 1, 1000);
            const auto vMerge = tcPr.child("w:vMerge");
            const bool continues =
                vMerge &&
                std::string_view(vMerge.attribute("w:val").as_string("continue")) != "restart";
            if (continues && openMerges.count(column)) {
                const auto [r, c] = openMerges[column];
                table.rows[r].cells[c].rowSpan += 1;
                column += span;
                continue;
            }
            TableCell cell;
            cell.column = column;
            cell.row = static_cast<int>(table.rows.size());
            cell.columnSpan = span;
            cell.width = twipsToHwp(tcPr.child("w:tcW").attribute("w:w").as_int());
            cell.borders = bordersFrom(tcPr.child("w:tcBorders"));
            const std::string_view align = tcPr.child("w:vAlign").attribute("w:val").as_string();
            cell.verticalAlign = align == "center"   ? VerticalAlign::center
                                 : align == "bottom" ? VerticalAlign::bottom
                                                     : VerticalAlign::top;
            cell.blocks = readBlocks(tc);
            if (cell.blocks.empty())
                cell.blocks.emplace_back();  // a default Block is an empty paragraph
            if (vMerge)
                openMerges[column] = {table.rows.size(), row.cells.size()};
            else
                openMerges.erase(column);
            row.cells.push_back(std::move(cell));
            column += span;
        }
        table.columnCount = std::max(table.columnCount, column);
        table.rows.push_back(std::move(row));
    }
    if (int(table.columnWidths.size()) != table.columnCount) table.columnWidths.clear();
    return table;
}

// DOCX measures the body from the sheet's edge and the header from the edge too; the model
// (like HWP) keeps the header's own height between the top margin and the body.
void DocxBodyReader::readSectionProperties(const pugi::xml_node& sectPr, Section& section) {
    if (!sectPr) return;
    const std::string_view start = sectPr.child("w:type").attribute("w:val").as_string();
    section.start = start == "continuous"   ? SectionStart::continuous
                    : start == "nextColumn" ? SectionStart::newColumn
                    : start == "evenPage"   ? SectionStart::evenPage
                    : start == "oddPage"    ? SectionStart::oddPage
                                            : SectionStart::newPage;
    PageSetup& page = section.page;
    if (const auto size = sectPr.child("w:pgSz")) {
        page.width = twipsToHwp(size.attribute("w:w").as_int(11906));
        page.height = twipsToHwp(size.attribute("w:h").as_int(16838));
        page.landscape = std::string_view(size.attribute("w:orient").as_string()) == "landscape" ||
                         page.width > page.height;
    }
    if (const auto margin = sectPr.child("w:pgMar")) {
        const int top = twipsToHwp(std::abs(margin.attribute("w:top").as_int(1440)));
        const int bottom = twipsToHwp(std::abs(margin.attribute("w:bottom").as_int(1440)));
        // A negative header distance means nothing; kept at zero, the header taken from the
        // top margin below cannot overflow.
        const int header = std::max(0, twipsToHwp(margin.attribute("w:header").as_int(720)));
        const int footer = std::max(0, twipsToHwp(margin.attribute("w:footer").as_int(720)));
        page.marginTop = std::min(header, top);
        page.header = top - page.marginTop;
        page.marginBottom = std::min(footer, bottom);
        page.footer = bottom - page.marginBottom;
        page.marginLeft = twipsToHwp(margin.attribute("w:left").as_int(1800));
        page.marginRight = twipsToHwp(margin.attribute("w:right").as_int(1800));
        page.gutter = twipsToHwp(margin.attribute("w:gutter").as_int());
    }
    if (const auto cols = sectPr.child("w:cols")) {
        section.columns.count = std::clamp(cols.attribute("w:num").as_int(1), 1, 255);
        section.columns.gap = twipsToHwp(cols.attribute("w:space").as_int(720));
    }
    const bool titlePage = bool(sectPr.child("w:titlePg"));
    for (const auto& ref : sectPr.children()) {
        const bool header = std::string_view(ref.name()) == "w:headerReference";
        if (!header && std::string_view(ref.name()) != "w:footerReference") continue;
        const std::string_view type = ref.attribute("w:type").as_string("default");
        if (type == "first" && !titlePage) continue;
        const auto rel = context_.relationships.find(ref.attribute("r:id").as_string());
        if (rel == context_.relationships.end()) continue;
        HeaderFooter running;
        running.side = type == "even"    ? PageSide::even
                       : type == "first" ? PageSide::first
                                         : PageSide::both;
        running.blocks = readPartBlocks(rel->second.target, header ? "w:hdr" : "w:ftr");
        (header ? section.headers : section.footers).push_back(std::move(running));
    }
}

// Reads a side part with its own relationships (a picture in a header is the header's).
std::vector<Block> DocxBodyReader::readPartBlocks(const std::string& part, const char* root) {
    pugi::xml_document xml;
    package_.parse(xml, part);
    PartContext saved = std::move(context_);
    context_ = {part, package_.relationshipsOf(part)};
    std::vector<Block> blocks = readBlocks(xml.child(root));
    context_ = std::move(saved);
    return blocks;
}

void DocxBodyReader::loadNotes(const char* relType, const char* root, const char* item,
                               std::map<int, std::vector<Block>>& notes) {
    const std::string part = package_.targetOfType(context_.part, relType);
    if (part.empty()) return;
    pugi::xml_document xml;
    package_.parse(xml, part);
    context_ = {part, package_.relationshipsOf(part)};
    for (const auto& note : xml.child(root).children(item)) {
        const std::string_view type = note.attribute("w:type").as_string("normal");
        if (type != "normal") continue;
        notes[note.attribute("w:id").as_int()] = readBlocks(note);
    }
}

}  // namespace tavrino::docs
