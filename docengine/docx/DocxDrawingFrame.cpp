#include "docx/DocxDrawingFrame.h"

#include <string_view>

#include "docx/DocxUnits.h"
#include "xml/XmlWriter.h"

namespace tavrino::docs {
namespace {

// DOCX's "page" is the sheet and its "margin" the text area, which the Korean formats call
// paper and page. Word has no horizontal paragraph frame and no vertical column frame:
// `flow` names the frame that stands in for both (the column across, the paragraph down).
const char* frameWord(AnchorFrame frame, const char* flow) {
    switch (frame) {
        case AnchorFrame::paper:
            return "page";
        case AnchorFrame::page:
            return "margin";
        case AnchorFrame::column:
        case AnchorFrame::paragraph:
            break;
    }
    return flow;
}

const char* alignWord(AnchorAlign align, bool horizontal) {
    switch (align) {
        case AnchorAlign::center:
            return "center";
        case AnchorAlign::end:
            return horizontal ? "right" : "bottom";
        case AnchorAlign::inside:
            return "inside";
        case AnchorAlign::outside:
            return "outside";
        case AnchorAlign::start:
            break;
    }
    return horizontal ? "left" : "top";
}

// Word takes either an alignment or an offset: an object at the start of its frame keeps
// its offset, any other is aligned.
void writeAxis(pugi::xml_node anchor, const char* element, const char* relativeFrom,
               const AnchorAxis& axis, bool horizontal) {
    pugi::xml_node position = anchor.append_child(element);
    set(position, "relativeFrom", relativeFrom);
    if (axis.align == AnchorAlign::start) {
        position.append_child("wp:posOffset")
            .text()
            .set(std::to_string(hwpToEmu(axis.offset)).c_str());
    } else {
        position.append_child("wp:align").text().set(alignWord(axis.align, horizontal));
    }
}

void writeWrap(pugi::xml_node anchor, TextWrap wrap) {
    switch (wrap) {
        case TextWrap::square:
            set(anchor.append_child("wp:wrapSquare"), "wrapText", "bothSides");
            return;
        case TextWrap::topAndBottom:
            anchor.append_child("wp:wrapTopAndBottom");
            return;
        case TextWrap::behindText:
        case TextWrap::inFrontOfText:
            anchor.append_child("wp:wrapNone");
            return;
    }
}

AnchorFrame frameFrom(std::string_view relativeFrom, AnchorFrame fallback) {
    if (relativeFrom == "page") return AnchorFrame::paper;
    if (relativeFrom == "margin") return AnchorFrame::page;
    if (relativeFrom == "column") return AnchorFrame::column;
    if (relativeFrom == "paragraph" || relativeFrom == "line") return AnchorFrame::paragraph;
    return fallback;
}

AnchorAxis readAxis(const pugi::xml_node& position, AnchorFrame fallback) {
    AnchorAxis axis;
    axis.frame = frameFrom(position.attribute("relativeFrom").as_string(), fallback);
    const std::string_view align = position.child("wp:align").text().as_string();
    if (align == "center") axis.align = AnchorAlign::center;
    if (align == "right" || align == "bottom") axis.align = AnchorAlign::end;
    if (align == "inside") axis.align = AnchorAlign::inside;
    if (align == "outside") axis.align = AnchorAlign::outside;
    axis.offset = emuToHwp(position.child("wp:posOffset").text().as_llong());
    return axis;
}

void setDistances(pugi::xml_node frame) {
    for (const char* side : {"distT", "distB", "distL", "distR"})
        set(frame, side, "0");
}

}  // namespace

pugi::xml_node openDrawingFrame(pugi::xml_node r, const DrawingFrame& frame) {
    pugi::xml_node drawing = r.append_child("w:drawing");
    pugi::xml_node node;
    if (frame.inlineWithText) {
        node = drawing.append_child("wp:inline");
        setDistances(node);
    } else {
        const Placement& p = frame.placement;
        node = drawing.append_child("wp:anchor");
        setDistances(node);
        set(node, "simplePos", "0");
        set(node, "relativeHeight", std::to_string(frame.id).c_str());
        set(node, "behindDoc", p.wrap == TextWrap::behindText ? "1" : "0");
        set(node, "locked", "0");
        set(node, "layoutInCell", "1");
        set(node, "allowOverlap", "1");
        pugi::xml_node simple = node.append_child("wp:simplePos");
        set(simple, "x", "0");
        set(simple, "y", "0");
        writeAxis(node, "wp:positionH", frameWord(p.horizontal.frame, "column"), p.horizontal,
                  true);
        writeAxis(node, "wp:positionV", frameWord(p.vertical.frame, "paragraph"), p.vertical,
                  false);
    }
    pugi::xml_node extent = node.append_child("wp:extent");
    set(extent, "cx", std::to_string(frame.width).c_str());
    set(extent, "cy", std::to_string(frame.height).c_str());
    if (!frame.inlineWithText) {
        pugi::xml_node effect = node.append_child("wp:effectExtent");
        for (const char* side : {"l", "t", "r", "b"})
            set(effect, side, "0");
        writeWrap(node, frame.placement.wrap);
    }
    pugi::xml_node docPr = node.append_child("wp:docPr");
    set(docPr, "id", std::to_string(frame.id).c_str());
    set(docPr, "name", frame.name.c_str());
    set(docPr, "descr", xmlSafe(frame.description).c_str());
    pugi::xml_node locks = node.append_child("wp:cNvGraphicFramePr");
    if (frame.lockAspect) set(locks.append_child("a:graphicFrameLocks"), "noChangeAspect", "1");
    pugi::xml_node data = node.append_child("a:graphic").append_child("a:graphicData");
    set(data, "uri", frame.graphicUri);
    return data;
}

Placement readDrawingPlacement(const pugi::xml_node& anchor) {
    Placement p;
    if (std::string_view(anchor.name()) != "wp:anchor") return p;
    p.horizontal = readAxis(anchor.child("wp:positionH"), AnchorFrame::column);
    p.vertical = readAxis(anchor.child("wp:positionV"), AnchorFrame::paragraph);
    if (p.vertical.frame == AnchorFrame::column) p.vertical.frame = AnchorFrame::paragraph;
    if (anchor.child("wp:wrapNone")) {
        p.wrap = anchor.attribute("behindDoc").as_bool() ? TextWrap::behindText
                                                         : TextWrap::inFrontOfText;
    } else if (anchor.child("wp:wrapSquare") || anchor.child("wp:wrapTight") ||
               anchor.child("wp:wrapThrough")) {
        p.wrap = TextWrap::square;
    }
    return p;
}

}  // namespace tavrino::docs
