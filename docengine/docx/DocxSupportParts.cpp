#include "docx/DocxSupportParts.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "model/BulletGlyph.h"
#include "xml/XmlWriter.h"

namespace tavrino::docs {
namespace {

constexpr const char* wordType = "application/vnd.openxmlformats-officedocument.wordprocessingml.";

std::string mostUsedFont(const Document& document) {
    std::map<std::string, int> uses;
    for (const Section& section : document.sections) {
        for (const Block& block : section.blocks) {
            if (const auto* paragraph = std::get_if<Paragraph>(&block.content)) {
                for (const TextRun& run : paragraph->runs) {
                    if (!run.props.fontFace.empty()) ++uses[run.props.fontFace];
                }
            }
        }
    }
    std::string best = "맑은 고딕";
    int most = 0;
    for (const auto& [face, count] : uses) {
        if (count > most) best = face, most = count;
    }
    return best;
}

void style(pugi::xml_node styles, const char* type, const char* id, const char* name,
           bool isDefault = false) {
    pugi::xml_node node = styles.append_child("w:style");
    set(node, "w:type", type);
    if (isDefault) set(node, "w:default", "1");
    set(node, "w:styleId", id);
    set(node.append_child("w:name"), "w:val", name);
}

std::string stylesXml(const Document& document) {
    pugi::xml_document xml;
    pugi::xml_node root = startXml(xml, "w:styles", {"w"});
    pugi::xml_node rPr =
        root.append_child("w:docDefaults").append_child("w:rPrDefault").append_child("w:rPr");
    const std::string font = xmlSafe(mostUsedFont(document));
    pugi::xml_node fonts = rPr.append_child("w:rFonts");
    for (const char* name : {"w:ascii", "w:hAnsi", "w:eastAsia", "w:cs"})
        set(fonts, name, font.c_str());
    set(rPr.append_child("w:sz"), "w:val", 20);
    pugi::xml_node lang = rPr.append_child("w:lang");
    set(lang, "w:val", "en-US");
    set(lang, "w:eastAsia", "ko-KR");
    style(root, "paragraph", "Normal", "Normal", true);
    style(root, "character", "DefaultParagraphFont", "Default Paragraph Font", true);
    style(root, "character", "FootnoteReference", "footnote reference");
    set(root.last_child().append_child("w:rPr").append_child("w:vertAlign"), "w:val",
        "superscript");
    style(root, "character", "EndnoteReference", "endnote reference");
    set(root.last_child().append_child("w:rPr").append_child("w:vertAlign"), "w:val",
        "superscript");
    return xmlBytes(xml);
}

const char* numberFormatValue(NumberFormat format) {
    switch (format) {
        case NumberFormat::upperRoman:
            return "upperRoman";
        case NumberFormat::lowerRoman:
            return "lowerRoman";
        case NumberFormat::upperLetter:
            return "upperLetter";
        case NumberFormat::lowerLetter:
            return "lowerLetter";
        case NumberFormat::ganada:
            return "ganada";
        case NumberFormat::chosung:
            return "chosung";
        case NumberFormat::circled:
            return "decimalEnclosedCircle";
        case NumberFormat::hangulDigit:
            return "koreanDigital";
        case NumberFormat::hanjaDigit:
            return "koreanCounting";
        case NumberFormat::bullet:
            return "bullet";
        default:
            return "decimal";
    }
}

std::string numberingXml(const DocxOutput& output) {
    pugi::xml_document xml;
    pugi::xml_node root = startXml(xml, "w:numbering", {"w"});
    for (const auto& [id, levels] : output.lists) {
        pugi::xml_node abstract = root.append_child("w:abstractNum");
        set(abstract, "w:abstractNumId", id);
        for (int level = 0; level < 9; ++level) {
            const auto found = levels.find(level);
            const ListInfo list = found == levels.end() ? ListInfo{} : found->second;
            const bool bullet = list.kind == ListKind::bullet;
            pugi::xml_node lvl = abstract.append_child("w:lvl");
            set(lvl, "w:ilvl", level);
            set(lvl.append_child("w:start"), "w:val", list.start);
            set(lvl.append_child("w:numFmt"), "w:val",
                bullet ? "bullet" : numberFormatValue(list.format));
            const std::string text =
                bullet ? (list.bulletText.empty() ? "\u25CF" : bulletGlyph(list.bulletText))
                : list.pattern.empty() ? "%" + std::to_string(level + 1) + "."
                                       : list.pattern;
            set(lvl.append_child("w:lvlText"), "w:val", xmlSafe(text).c_str());
            set(lvl.append_child("w:lvlJc"), "w:val", "left");
            pugi::xml_node ind = lvl.append_child("w:pPr").append_child("w:ind");
            set(ind, "w:left", 400 * (level + 1));
            set(ind, "w:hanging", 400);
        }
    }
    for (const auto& [id, levels] : output.lists) {
        pugi::xml_node num = root.append_child("w:num");
        set(num, "w:numId", id);
        set(num.append_child("w:abstractNumId"), "w:val", id);
    }
    return xmlBytes(xml);
}

std::string notesXml(DocxOutput& output, bool foot, std::string& relsOut) {
    const char* rootName = foot ? "w:footnotes" : "w:endnotes";
    const char* item = foot ? "w:footnote" : "w:endnote";
    pugi::xml_document xml;
    pugi::xml_node root =
        startXml(xml, rootName, {"w", "r", "wp", "a", "pic", "wps", "m", "v", "o"});
    for (const auto& [id, type, mark] :
         {std::tuple{-1, "separator", "w:separator"},
          std::tuple{0, "continuationSeparator", "w:continuationSeparator"}}) {
        pugi::xml_node note = root.append_child(item);
        set(note, "w:type", type);
        set(note, "w:id", id);
        note.append_child("w:p").append_child("w:r").append_child(mark);
    }
    DocxPartWriter part(output);
    auto& notes = foot ? output.footnotes : output.endnotes;
    // Notes may cite notes; the list can grow while it is written.
    for (size_t i = 0; i < notes.size(); ++i) {
        pugi::xml_node note = root.append_child(item);
        set(note, "w:id", i + 1);
        const std::vector<Block> blocks = notes[i];
        part.writeBlocks(note, blocks.empty() ? std::vector<Block>(1) : blocks);
        if (std::string_view(note.last_child().name()) != "w:p") note.append_child("w:p");
    }
    relsOut = part.relationshipsXml();
    return xmlBytes(xml);
}

std::string settingsXml(const DocxOutput& output) {
    pugi::xml_document xml;
    pugi::xml_node root = startXml(xml, "w:settings", {"w"});
    if (output.evenHeaders) root.append_child("w:evenAndOddHeaders");
    set(root.append_child("w:defaultTabStop"), "w:val", 800);
    for (const char* name : {"w:footnotePr", "w:endnotePr"}) {
        pugi::xml_node pr = root.append_child(name);
        const char* child = name[2] == 'f' ? "w:footnote" : "w:endnote";
        set(pr.append_child(child), "w:id", -1);
        set(pr.append_child(child), "w:id", 0);
    }
    set(root.append_child("w:compat").append_child("w:compatSetting"), "w:name",
        "compatibilityMode")
        .append_attribute("w:uri") = "http://schemas.microsoft.com/office/word";
    root.child("w:compat").child("w:compatSetting").append_attribute("w:val") = "15";
    return xmlBytes(xml);
}

void textElement(pugi::xml_node parent, const char* name, const std::string& value) {
    if (!value.empty()) parent.append_child(name).text().set(xmlSafe(value).c_str());
}

std::string coreXml(const DocumentInfo& info) {
    pugi::xml_document xml;
    pugi::xml_node root =
        startXml(xml, "cp:coreProperties", {"cp", "dc", "dcterms", "dcmitype", "xsi"});
    textElement(root, "dc:title", info.title);
    textElement(root, "dc:subject", info.subject);
    textElement(root, "dc:creator", info.author);
    textElement(root, "cp:keywords", info.keywords);
    textElement(root, "dc:description", info.description);
    textElement(root, "cp:lastModifiedBy", info.lastModifiedBy);
    for (const auto& [name, value] : {std::pair{"dcterms:created", &info.created},
                                      std::pair{"dcterms:modified", &info.modified}}) {
        if (value->empty()) continue;
        pugi::xml_node node = root.append_child(name);
        set(node, "xsi:type", "dcterms:W3CDTF");
        node.text().set(xmlSafe(*value).c_str());
    }
    textElement(root, "dc:language", info.language);
    return xmlBytes(xml);
}

std::string appXml() {
    pugi::xml_document xml;
    pugi::xml_node root = xml.append_child("Properties");
    set(root, "xmlns", "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties");
    root.append_child("Application").text().set("Tavrino");
    return xmlBytes(xml);
}

std::string customXml(const DocumentInfo& info) {
    pugi::xml_document xml;
    pugi::xml_node root = xml.append_child("Properties");
    set(root, "xmlns", "http://schemas.openxmlformats.org/officeDocument/2006/custom-properties");
    set(root, "xmlns:vt", "http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes");
    int pid = 2;
    std::set<std::string> seen;
    for (const auto& [name, value] : info.custom) {
        if (name.empty() || !seen.insert(name).second) continue;
        pugi::xml_node property = root.append_child("property");
        set(property, "fmtid", "{D5CDD505-2E9C-101B-9397-08002B2CF9AE}");
        set(property, "pid", pid++);
        set(property, "name", xmlSafe(name).c_str());
        property.append_child("vt:lpwstr").text().set(xmlSafe(value).c_str());
    }
    return xmlBytes(xml);
}

}  // namespace

void writeSupportParts(DocxOutput& output, DocxPartWriter& body) {
    auto add = [&](const std::string& part, std::string bytes, const std::string& type) {
        output.parts[part] = std::move(bytes);
        output.contentTypes[part] = type;
    };
    add("word/styles.xml", stylesXml(output.document), std::string(wordType) + "styles+xml");
    body.relate("styles", "styles.xml");
    add("word/settings.xml", settingsXml(output), std::string(wordType) + "settings+xml");
    body.relate("settings", "settings.xml");
    for (const bool foot : {true, false}) {
        if ((foot ? output.footnotes : output.endnotes).empty()) continue;
        const std::string name = foot ? "footnotes.xml" : "endnotes.xml";
        std::string rels;
        add("word/" + name, notesXml(output, foot, rels),
            std::string(wordType) + (foot ? "footnotes+xml" : "endnotes+xml"));
        if (!rels.empty()) output.parts["word/_rels/" + name + ".rels"] = rels;
        body.relate(foot ? "footnotes" : "endnotes", name);
    }
    if (!output.lists.empty()) {
        add("word/numbering.xml", numberingXml(output), std::string(wordType) + "numbering+xml");
        body.relate("numbering", "numbering.xml");
    }
    for (const auto& [index, part] : output.mediaParts)
        body.relate("image", part);
    add("docProps/core.xml", coreXml(output.document.info),
        "application/vnd.openxmlformats-package.core-properties+xml");
    add("docProps/app.xml", appXml(),
        "application/vnd.openxmlformats-officedocument.extended-properties+xml");
    if (!output.document.info.custom.empty()) {
        add("docProps/custom.xml", customXml(output.document.info),
            "application/vnd.openxmlformats-officedocument.custom-properties+xml");
    }
}

std::string contentTypesXml(const DocxOutput& output) {
    pugi::xml_document xml;
    pugi::xml_node root = xml.append_child("Types");
    set(root, "xmlns", "http://schemas.openxmlformats.org/package/2006/content-types");
    const std::pair<const char*, const char*> defaults[] = {
        {"rels", "application/vnd.openxmlformats-package.relationships+xml"},
        {"xml", "application/xml"},
        {"png", "image/png"},
        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},
        {"bmp", "image/bmp"},
        {"tiff", "image/tiff"},
        {"emf", "image/x-emf"},
        {"wmf", "image/x-wmf"},
        {"svg", "image/svg+xml"},
        {"bin", "application/octet-stream"}};
    std::set<std::string> extensions;
    for (const auto& [index, part] : output.mediaParts)
        extensions.insert(part.substr(part.rfind('.') + 1));
    for (const auto& [ext, type] : defaults) {
        if (std::string_view(ext) != "rels" && std::string_view(ext) != "xml" &&
            !extensions.count(ext))
            continue;
        pugi::xml_node node = root.append_child("Default");
        set(node, "Extension", ext);
        set(node, "ContentType", type);
    }
    for (const auto& ext : extensions) {
        const bool known = std::any_of(std::begin(defaults), std::end(defaults),
                                       [&](const auto& d) { return ext == d.first; });
        if (known) continue;
        pugi::xml_node node = root.append_child("Default");
        set(node, "Extension", ext.c_str());
        set(node, "ContentType", "application/octet-stream");
    }
    for (const auto& [part, type] : output.contentTypes) {
        pugi::xml_node node = root.append_child("Override");
        set(node, "PartName", ("/" + part).c_str());
        set(node, "ContentType", type.c_str());
    }
    return xmlBytes(xml);
}

std::string packageRelationshipsXml(const DocxOutput& output) {
    DocxOutput scratch(output.document);
    DocxPartWriter package(scratch);
    package.relate("officeDocument", "word/document.xml");
    package.relate("core-properties", "docProps/core.xml");
    package.relate("extended-properties", "docProps/app.xml");
    if (output.parts.count("docProps/custom.xml"))
        package.relate("custom-properties", "docProps/custom.xml");
    return package.relationshipsXml();
}

}  // namespace tavrino::docs
