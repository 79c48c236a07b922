#include "hwpx/HwpxSection.h"

#include <algorithm>
#include <string_view>

#include "hwpx/HwpxPlacement.h"

namespace tavrino::docs {
namespace {

bool is(const pugi::xml_node& node, std::string_view name) {
    return name == node.name();
}

class SectionReader {
  public:
    SectionReader(const HwpxHeader& header, Document& document, const MediaLookup& media)
        : header_(header), document_(document), media_(media) {}

    // The body of `sec` as one section, or several where the column layout is set again in
    // mid-section: that goes on in the same page, as a section that starts without one.
    std::vector<Section> readBody(const pugi::xml_node& sec) {
        std::vector<Section> sections(1);
        section_ = &sections.back();
        bool columnsSet = false;
        for (const auto& p : sec.children("hp:p")) {
            const bool setsColumns = bool(p.select_node("hp:run/hp:ctrl/hp:colPr"));
            if (setsColumns && columnsSet) {
                Section next;
                next.start = SectionStart::continuous;
                next.page = sections.back().page;
                sections.push_back(std::move(next));
                section_ = &sections.back();
            }
            columnsSet = columnsSet || setsColumns;
            readParagraph(p, section_->blocks);
        }
        section_ = nullptr;
        return sections;
    }

  private:
    // The paragraphs of one list (section body, cell, text box, note, header).
    std::vector<Block> readParagraphs(const pugi::xml_node& parent) {
        std::vector<Block> blocks;
        for (const auto& p : parent.children("hp:p"))
            readParagraph(p, blocks);
        return blocks;
    }

    // One hp:p, split around the tables it anchors (see Content.h).
    void readParagraph(const pugi::xml_node& p, std::vector<Block>& out) {
        Paragraph current;
        current.props = header_.paraPr(p.attribute("paraPrIDRef").as_int());
        current.props.styleName = styleName(p.attribute("styleIDRef").as_int());
        current.props.pageBreakBefore |= p.attribute("pageBreak").as_bool();
        current.props.columnBreakBefore = p.attribute("columnBreak").as_bool();
        const ParaProps props = current.props;
        const size_t firstOut = out.size();
        for (const auto& run : p.children("hp:run")) {
            readRun(run, current, out, props);
        }
        if (hasContent(current) || out.size() == firstOut) out.push_back(Block{std::move(current)});
        if (out.size() > firstOut + 1) {
            // Breaks before the paragraph belong to its first piece only.
            for (size_t i = firstOut + 1; i < out.size(); ++i) {
                if (auto* piece = std::get_if<Paragraph>(&out[i].content)) {
                    piece->props.pageBreakBefore = piece->props.columnBreakBefore = false;
                }
            }
        }
    }

    static bool hasContent(const Paragraph& paragraph) {
        for (const auto& run : paragraph.runs) {
            for (const auto& item : run.content) {
                const auto* text = std::get_if<Text>(&item);
                if (!text || !text->text.empty()) return true;
            }
        }
        return false;
    }

    void readRun(const pugi::xml_node& run, Paragraph& current, std::vector<Block>& out,
                 const ParaProps& props) {
        TextRun piece{header_.charPr(run.attribute("charPrIDRef").as_int()), {}};
        auto flushTable = [&](Table table) {
            if (!piece.content.empty()) current.runs.push_back(piece);
            piece.content.clear();
            if (hasContent(current)) out.push_back(Block{current});
            current.runs.clear();
            current.props = props;
            out.push_back(Block{std::move(table)});
        };
        for (const auto& child : run.children()) {
            if (is(child, "hp:t")) {
                readText(child, piece, current);
            } else if (is(child, "hp:tbl")) {
                flushTable(readTable(child));
            } else {
                readObject(child, piece);
            }
        }
        if (!piece.content.empty()) current.runs.push_back(std::move(piece));
    }

    // hp:t holds text mixed with empty inline elements; a marker pen changes the highlight
    // of what follows, which starts a new run.
    void readText(const pugi::xml_node& t, TextRun& piece, Paragraph& current) {
        for (const auto& node : t.children()) {
            if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
                appendText(piece, node.value());
                continue;
            }
            if (node.type() != pugi::node_element) continue;
            if (is(node, "hp:tab"))
                piece.content.push_back(Tab{});
            else if (is(node, "hp:lineBreak"))
                piece.content.push_back(Break{BreakKind::line});
            else if (is(node, "hp:nbSpace"))
                appendText(piece, "\u00A0");
            else if (is(node, "hp:fwSpace"))
                appendText(piece, "\u3000");
            else if (is(node, "hp:hyphen"))
                appendText(piece, "-");
            else if (is(node, "hp:markpenBegin") || is(node, "hp:markpenEnd")) {
                if (!piece.content.empty()) current.runs.push_back(piece);
                piece.content.clear();
                piece.props.highlight =
                    is(node, "hp:markpenEnd")
                        ? std::nullopt
                        : parseHwpxColor(node.attribute("beginColor").as_string());
            } else if (std::string_view(node.name()).find("insert") != std::string_view::npos ||
                       std::string_view(node.name()).find("delete") != std::string_view::npos) {
                if (std::string_view(node.name()).find("Begin") != std::string_view::npos) {
                    document_.dropped.add("trackChange");
                }
            }
        }
    }

    static void appendText(TextRun& piece, std::string_view text) {
        // Stray control characters would make invalid XML on the way out.
        std::string clean;
        clean.reserve(text.size());
        for (const char c : text) {
            if (c == '\t') {
                if (!clean.empty()) piece.content.push_back(Text{clean});
                clean.clear();
                piece.content.push_back(Tab{});
            } else if (c == '\n' || c == '\r' || static_cast<unsigned char>(c) >= 0x20) {
                clean += (c == '\n' || c == '\r') ? ' ' : c;
            }
        }
        if (clean.empty()) return;
        if (!piece.content.empty()) {
            if (auto* last = std::get_if<Text>(&piece.content.back())) {
                last->text += clean;
                return;
            }
        }
        piece.content.push_back(Text{std::move(clean)});
    }

    static bool isFrameProperty(std::string_view name) {
        static constexpr std::string_view properties[] = {
            "hp:sz",           "hp:pos",           "hp:outMargin", "hp:shapeComment",
            "hp:offset",       "hp:orgSz",         "hp:curSz",     "hp:flip",
            "hp:rotationInfo", "hp:renderingInfo", "hp:inMargin",  "hp:caption"};
        return std::find(std::begin(properties), std::end(properties), name) !=
               std::end(properties);
    }

    void readObject(const pugi::xml_node& node, TextRun& piece) {
        const std::string_view name = node.name();
        if (name == "hp:secPr") return readSectionProps(node);
        if (name == "hp:ctrl") return readControls(node, piece);
        if (name == "hp:pic") return readPicture(node, piece);
        if (name == "hp:equation") return readEquation(node, piece);
        if (name == "hp:rect" || name == "hp:ellipse" || name == "hp:line" || name == "hp:arc" ||
            name == "hp:polygon" || name == "hp:curve" || name == "hp:connectLine") {
            return readShape(node, piece);
        }
        if (name == "hp:container") {
            // A group's own size, position and transform come before its members; they
            // describe the group's frame, not content that could be lost.
            for (const auto& child : node.children()) {
                if (!isFrameProperty(child.name())) readObject(child, piece);
            }
            return;
        }
        if (name == "hp:linesegarray" || name.empty()) return;
        if (name.substr(0, 3) == "hp:") document_.dropped.add(name.substr(3));
    }

    void readSectionProps(const pugi::xml_node& secPr) {
        const auto pagePr = secPr.child("hp:pagePr");
        if (!pagePr) return;
        PageSetup& page = section_->page;
        page.width = pagePr.attribute("width").as_int(page.width);
        page.height = pagePr.attribute("height").as_int(page.height);
        page.landscape = std::string_view(pagePr.attribute("landscape").as_string()) == "NARROWLY";
        // The sheet is stored in portrait; a landscape page is laid out turned.
        if (page.landscape && page.width < page.height) std::swap(page.width, page.height);
        const auto margin = pagePr.child("hp:margin");
        page.marginLeft = margin.attribute("left").as_int(page.marginLeft);
        page.marginRight = margin.attribute("right").as_int(page.marginRight);
        page.marginTop = margin.attribute("top").as_int(page.marginTop);
        page.marginBottom = margin.attribute("bottom").as_int(page.marginBottom);
        page.header = margin.attribute("header").as_int(page.header);
        page.footer = margin.attribute("footer").as_int(page.footer);
        page.gutter = margin.attribute("gutter").as_int(page.gutter);
    }

    void readControls(const pugi::xml_node& ctrl, TextRun& piece) {
        for (const auto& node : ctrl.children()) {
            const std::string_view name = node.name();
            if (name == "hp:colPr") {
                section_->columns.count = std::max(1, node.attribute("colCount").as_int(1));
                section_->columns.gap = node.attribute("sameGap").as_int();
            } else if (name == "hp:header" || name == "hp:footer") {
                HeaderFooter running{sideFrom(node.attribute("applyPageType").as_string()),
                                     readParagraphs(node.child("hp:subList"))};
                (name == "hp:header" ? section_->headers : section_->footers).push_back(running);
            } else if (name == "hp:footNote" || name == "hp:endNote") {
                Note note{name == "hp:endNote" ? NoteKind::endnote : NoteKind::footnote,
                          readParagraphs(node.child("hp:subList"))};
                piece.content.push_back(std::move(note));
            } else if (name == "hp:fieldBegin") {
                piece.content.push_back(readField(node));
            } else if (name == "hp:fieldEnd") {
                piece.content.push_back(FieldEnd{});
            } else if (name == "hp:autoNum") {
                readAutoNumber(node, piece);
            } else if (name == "hp:hiddenComment") {
                document_.dropped.add("comment");
            }
        }
    }

    // Page numbers are left to the reader's layout; the numbers of pictures, tables and
    // equations are fixed in the file and kept as text.
    static void readAutoNumber(const pugi::xml_node& node, TextRun& piece) {
        const std::string_view type = node.attribute("numType").as_string();
        if (type == "PAGE" || type == "TOTAL_PAGE") {
            const FieldKind kind = type == "PAGE" ? FieldKind::pageNumber : FieldKind::pageCount;
            piece.content.push_back(FieldStart{kind, {}, std::string(type)});
            piece.content.push_back(FieldEnd{});
            return;
        }
        appendText(piece, node.attribute("num").as_string());
    }

    static PageSide sideFrom(std::string_view type) {
        if (type == "EVEN") return PageSide::even;
        if (type == "ODD") return PageSide::odd;
        return PageSide::both;
    }

    static FieldStart readField(const pugi::xml_node& node) {
        FieldStart field;
        const std::string_view type = node.attribute("type").as_string();
        field.instruction = std::string(type);
        if (type == "HYPERLINK")
            field.kind = FieldKind::hyperlink;
        else if (type == "BOOKMARK")
            field.kind = FieldKind::bookmark;
        else if (type == "CLICK_HERE")
            field.kind = FieldKind::clickHere;
        else if (type == "FORMULA")
            field.kind = FieldKind::formula;
        else if (type == "DATE" || type == "DOC_DATE")
            field.kind = FieldKind::date;
        else if (type == "CROSSREF")
            field.kind = FieldKind::crossReference;
        for (const auto& param : node.child("hp:parameters").children("hp:stringParam")) {
            if (std::string_view(param.attribute("name").as_string()) == "Path") {
                field.target = param.text().as_string();
            }
        }
        if (field.kind != FieldKind::hyperlink) field.target = node.attribute("name").as_string();
        return field;
    }

    void readPicture(const pugi::xml_node& node, TextRun& piece) {
        const std::string id = node.child("hc:img").attribute("binaryItemIDRef").as_string();
        const auto index = media_(id);
        if (!index) {
            document_.dropped.add("missingPicture");
            return;
        }
        Picture picture;
        picture.mediaIndex = *index;
        const auto size = node.child("hp:curSz") ? node.child("hp:curSz") : node.child("hp:sz");
        picture.width = size.attribute("width").as_int();
        picture.height = size.attribute("height").as_int();
        picture.inlineWithText = node.child("hp:pos").attribute("treatAsChar").as_bool();
        picture.placement = readHwpxPlacement(node);
        picture.description = node.child("hp:shapeComment").text().as_string();
        picture.caption = readCaption(node);
        piece.content.push_back(std::move(picture));
    }

    void readEquation(const pugi::xml_node& node, TextRun& piece) {
        Equation equation;
        equation.script = node.child("hp:script").text().as_string();
        equation.baseSize = node.attribute("baseUnit").as_int(1000);
        equation.width = node.child("hp:sz").attribute("width").as_int();
        equation.height = node.child("hp:sz").attribute("height").as_int();
        piece.content.push_back(std::move(equation));
    }

    void readShape(const pugi::xml_node& node, TextRun& piece) {
        Shape shape;
        const std::string_view name = node.name();
        shape.kind = name == "hp:rect"      ? ShapeKind::rectangle
                     : name == "hp:ellipse" ? ShapeKind::ellipse
                     : name == "hp:arc"     ? ShapeKind::arc
                     : name == "hp:polygon" ? ShapeKind::polygon
                     : name == "hp:curve"   ? ShapeKind::curve
                                            : ShapeKind::line;
        const auto text = node.child("hp:drawText");
        if (text && shape.kind == ShapeKind::rectangle) shape.kind = ShapeKind::textBox;
        shape.width = node.child("hp:sz").attribute("width").as_int();
        shape.height = node.child("hp:sz").attribute("height").as_int();
        shape.inlineWithText = node.child("hp:pos").attribute("treatAsChar").as_bool();
        shape.placement = readHwpxPlacement(node);
        if (text) shape.blocks = readParagraphs(text.child("hp:subList"));
        shape.caption = readCaption(node);
        piece.content.push_back(std::move(shape));
    }

    Table readTable(const pugi::xml_node& tbl) {
        Table table;
        table.columnCount = std::max(0, tbl.attribute("colCnt").as_int());
        table.borders = header_.borderFill(tbl.attribute("borderFillIDRef").as_int()).borders;
        std::vector<std::int32_t> widths(static_cast<size_t>(std::min(table.columnCount, 1000)));
        for (const auto& tr : tbl.children("hp:tr")) {
            TableRow row;
            for (const auto& tc : tr.children("hp:tc")) {
                row.cells.push_back(readCell(tc));
                const TableCell& cell = row.cells.back();
                row.isHeader |= tc.attribute("header").as_bool();
                row.height = std::max(row.height, cell.rowSpan == 1 ? cell.height : 0);
                if (cell.columnSpan == 1 && cell.column >= 0 && cell.column < int(widths.size())) {
                    widths[static_cast<size_t>(cell.column)] = cell.width;
                }
            }
            table.rows.push_back(std::move(row));
        }
        table.caption = readCaption(tbl);
        const bool complete =
            std::all_of(widths.begin(), widths.end(), [](auto w) { return w > 0; });
        if (complete) table.columnWidths = widths;
        return table;
    }

    std::vector<Block> readCaption(const pugi::xml_node& object) {
        return readParagraphs(object.child("hp:caption").child("hp:subList"));
    }

    TableCell readCell(const pugi::xml_node& tc) {
        TableCell cell;
        cell.column = tc.child("hp:cellAddr").attribute("colAddr").as_int();
        cell.row = tc.child("hp:cellAddr").attribute("rowAddr").as_int();
        cell.columnSpan = std::max(1, tc.child("hp:cellSpan").attribute("colSpan").as_int(1));
        cell.rowSpan = std::max(1, tc.child("hp:cellSpan").attribute("rowSpan").as_int(1));
        cell.width = tc.child("hp:cellSz").attribute("width").as_int();
        cell.height = tc.child("hp:cellSz").attribute("height").as_int();
        const CellLook look = header_.borderFill(tc.attribute("borderFillIDRef").as_int());
        cell.borders = look.borders;
        cell.fill = look.fill;
        const auto subList = tc.child("hp:subList");
        const std::string_view align = subList.attribute("vertAlign").as_string("TOP");
        cell.verticalAlign = align == "CENTER"   ? VerticalAlign::center
                             : align == "BOTTOM" ? VerticalAlign::bottom
                                                 : VerticalAlign::top;
        cell.blocks = readParagraphs(subList);
        if (cell.blocks.empty())
            cell.blocks.emplace_back();  // a default Block is an empty paragraph
        return cell;
    }

    std::string styleName(int id) const {
        const auto found = header_.styleNames.find(id);
        return found == header_.styleNames.end() ? std::string() : found->second;
    }

    const HwpxHeader& header_;
    Document& document_;
    const MediaLookup& media_;
    Section* section_ = nullptr;
};

}  // namespace

std::vector<Section> readHwpxSection(const pugi::xml_node& sec, const HwpxHeader& header,
                                     Document& document, const MediaLookup& media) {
    SectionReader reader(header, document, media);
    return reader.readBody(sec);
}

}  // namespace tavrino::docs
