// Drawing objects, pictures, equations, notes and fields as inline model content. What the
// model cannot hold (OLE objects, form controls, ...) is counted in Document::dropped rather
// than guessed at.

#include <algorithm>

#include "hwp5/ModelBuilder.h"
#include "hwp5/ObjectPlacement.h"

namespace tavrino::docs::hwp5 {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string mediaType(const std::string& extension) {
    std::string ext = lower(extension);
    if (ext == "jpg" || ext == "jpeg") return "image/jpeg";
    if (ext == "png") return "image/png";
    if (ext == "gif") return "image/gif";
    if (ext == "bmp") return "image/bmp";
    if (ext == "tif" || ext == "tiff") return "image/tiff";
    if (ext == "wmf") return "image/x-wmf";
    if (ext == "emf") return "image/x-emf";
    return "application/octet-stream";
}

ShapeKind shapeKind(std::uint32_t kind) {
    switch (kind) {
        case ctrlId("$rec"):
            return ShapeKind::rectangle;
        case ctrlId("$ell"):
            return ShapeKind::ellipse;
        case ctrlId("$lin"):
            return ShapeKind::line;
        case ctrlId("$arc"):
            return ShapeKind::arc;
        case ctrlId("$pol"):
            return ShapeKind::polygon;
        case ctrlId("$cur"):
            return ShapeKind::curve;
        case ctrlId("$con"):
            return ShapeKind::group;
        default:
            return ShapeKind::other;
    }
}

// The visible target of a hyperlink command: the text before the first unescaped ';', with
// the '\' escapes removed ("http\://example.com;1;0;0;" -> "http://example.com").
std::string hyperlinkTarget(const std::string& command) {
    std::string target;
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (command[i] == '\\' && i + 1 < command.size()) {
            target += command[++i];
        } else if (command[i] == ';') {
            break;
        } else {
            target += command[i];
        }
    }
    return target;
}

Placement placementOf(const ObjectCommon& object) {
    return placementFromHeader(object.properties, object.verticalOffset, object.horizontalOffset);
}

}  // namespace

std::optional<Inline> ModelBuilder::drawingObject(const DrawingObject& d) {
    bool inlineWithText = d.object.treatAsChar();
    switch (d.shape.kind) {
        case ctrlId("$pic"):
            return picture(d.shape, d.object);
        case ctrlId("$ole"):
            doc_.dropped.add("ole");
            return std::nullopt;
        case ctrlId("$tat"):
            doc_.dropped.add("textArt");
            return std::nullopt;
        default:
            break;
    }
    docs::Shape s = shape(d.shape, inlineWithText);
    s.width = d.object.width;
    s.height = d.object.height;
    s.placement = placementOf(d.object);
    return Inline{std::move(s)};
}

std::optional<Inline> ModelBuilder::picture(const hwp5::Shape& s, const ObjectCommon& object) {
    auto known = mediaByBinData_.find(s.binDataId);
    if (known == mediaByBinData_.end()) {
        const BinDataItem* item = file_.docInfo.binDataById(s.binDataId);
        auto bytes = file_.binData.find(s.binDataId);
        if (!item || bytes == file_.binData.end()) {
            doc_.dropped.add("picture");
            return std::nullopt;
        }
        Media media;
        media.name = "image" + std::to_string(doc_.media.size() + 1) + "." + lower(item->extension);
        media.mediaType = mediaType(item->extension);
        media.data.assign(bytes->second.begin(), bytes->second.end());
        known = mediaByBinData_.emplace(s.binDataId, doc_.addMedia(std::move(media))).first;
    }
    Picture p;
    p.mediaIndex = known->second;
    p.width = object.width;
    p.height = object.height;
    p.inlineWithText = object.treatAsChar();
    p.placement = placementOf(object);
    p.description = object.description;
    return Inline{p};
}

// A group keeps the text of all its members, in order, as one shape: the model has no nested
// geometry, and the words are what must survive.
docs::Shape ModelBuilder::shape(const hwp5::Shape& s, bool inlineWithText) {
    docs::Shape out;
    out.kind = shapeKind(s.kind);
    if (out.kind == ShapeKind::rectangle && !s.text.empty()) out.kind = ShapeKind::textBox;
    out.width = s.width;
    out.height = s.height;
    out.inlineWithText = inlineWithText;
    out.blocks = blocks(s.text);
    for (const hwp5::Shape& child : s.children) {
        if (child.kind == ctrlId("$ole")) {
            doc_.dropped.add("ole");
            continue;
        }
        if (child.kind == ctrlId("$pic")) {
            // A picture in a group keeps its place as a paragraph of the group's own.
            ObjectCommon object;
            object.width = child.width;
            object.height = child.height;
            if (auto pic = picture(child, object))
                out.blocks.push_back(Block{docs::Paragraph{{}, {TextRun{{}, {std::move(*pic)}}}}});
            continue;
        }
        for (auto& b : shape(child, inlineWithText).blocks)
            out.blocks.push_back(std::move(b));
    }
    return out;
}

Inline ModelBuilder::note(const hwp5::Note& n) {
    docs::Note out;
    out.kind = n.endnote ? NoteKind::endnote : NoteKind::footnote;
    out.blocks = blocks(n.paragraphs);
    return out;
}

Inline ModelBuilder::equation(const hwp5::Equation& e) {
    docs::Equation out;
    out.script = e.script;
    out.baseSize = e.baseSize;
    out.width = e.object.width;
    out.height = e.object.height;
    return out;
}

FieldStart ModelBuilder::fieldStart(const Field& f) {
    FieldStart start;
    start.instruction = f.command;
    switch (f.kind) {
        case ctrlId("%hlk"):
            start.kind = FieldKind::hyperlink;
            start.target = hyperlinkTarget(f.command);
            break;
        case ctrlId("%clk"):
            start.kind = FieldKind::clickHere;
            break;
        case ctrlId("%dte"):
        case ctrlId("%ddt"):
            start.kind = FieldKind::date;
            break;
        case ctrlId("%xrf"):
            start.kind = FieldKind::crossReference;
            break;
        case ctrlId("%fmu"):
            start.kind = FieldKind::formula;
            break;
        case ctrlId("%bmk"):
            start.kind = FieldKind::bookmark;
            break;
        default:
            start.kind = FieldKind::other;
            break;
    }
    return start;
}

}  // namespace tavrino::docs::hwp5
