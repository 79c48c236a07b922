#include "docx/DocxWriter.h"

#include "docx/DocxPartWriter.h"
#include "docx/DocxSupportParts.h"
#include "docx/DocxUnits.h"
#include "xml/XmlWriter.h"
#include "zip/ZipWriter.h"

namespace tavrino::docs {
namespace {

constexpr const char* wordMain = "application/vnd.openxmlformats-officedocument.wordprocessingml.";

const std::vector<std::string_view>& bodyNamespaces() {
    static const std::vector<std::string_view> prefixes{"w",   "r", "wp", "a", "pic",
                                                        "wps", "m", "v",  "o"};
    return prefixes;
}

std::string relsPathOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

// Writes a header or footer part and returns its relationship id in the body.
std::string writeRunningHead(DocxOutput& output, DocxPartWriter& body, const HeaderFooter& running,
                             bool header) {
    const int number = header ? ++output.headerCount : ++output.footerCount;
    const std::string name =
        std::string(header ? "header" : "footer") + std::to_string(number) + ".xml";
    pugi::xml_document xml;
    pugi::xml_node root = startXml(xml, header ? "w:hdr" : "w:ftr", bodyNamespaces());
    DocxPartWriter part(output);
    part.writeBlocks(root, running.blocks);
    if (!root.last_child() || std::string_view(root.last_child().name()) != "w:p")
        root.append_child("w:p");
    output.parts["word/" + name] = xmlBytes(xml);
    output.contentTypes["word/" + name] =
        std::string(wordMain) + (header ? "header+xml" : "footer+xml");
    const std::string rels = part.relationshipsXml();
    if (!rels.empty()) output.parts[relsPathOf("word/" + name)] = rels;
    return body.relate(header ? "header" : "footer", name);
}

void writeSectionProps(pugi::xml_node parent, const Section& section, DocxOutput& output,
                       DocxPartWriter& body) {
    pugi::xml_node sectPr = parent.append_child("w:sectPr");
    bool first = false;
    for (const auto& [list, header] :
         {std::pair{&section.headers, true}, std::pair{&section.footers, false}}) {
        for (const HeaderFooter& running : *list) {
            const char* type = running.side == PageSide::even    ? "even"
                               : running.side == PageSide::first ? "first"
                                                                 : "default";
            output.evenHeaders |= running.side == PageSide::even;
            first |= running.side == PageSide::first;
            pugi::xml_node ref =
                sectPr.append_child(header ? "w:headerReference" : "w:footerReference");
            set(ref, "w:type", type);
            set(ref, "r:id", writeRunningHead(output, body, running, header).c_str());
        }
    }
    // The default, nextPage, goes unsaid.
    if (const char* start = section.start == SectionStart::continuous  ? "continuous"
                            : section.start == SectionStart::newColumn ? "nextColumn"
                            : section.start == SectionStart::evenPage  ? "evenPage"
                            : section.start == SectionStart::oddPage   ? "oddPage"
                                                                       : nullptr) {
        set(sectPr.append_child("w:type"), "w:val", start);
    }
    const PageSetup& page = section.page;
    pugi::xml_node size = sectPr.append_child("w:pgSz");
    set(size, "w:w", hwpToTwips(page.width));
    set(size, "w:h", hwpToTwips(page.height));
    if (page.landscape) set(size, "w:orient", "landscape");
    pugi::xml_node margin = sectPr.append_child("w:pgMar");
    set(margin, "w:top", hwpToTwips(std::int64_t{page.marginTop} + page.header));
    set(margin, "w:right", hwpToTwips(page.marginRight));
    set(margin, "w:bottom", hwpToTwips(std::int64_t{page.marginBottom} + page.footer));
    set(margin, "w:left", hwpToTwips(page.marginLeft));
    set(margin, "w:header", hwpToTwips(page.marginTop));
    set(margin, "w:footer", hwpToTwips(page.marginBottom));
    set(margin, "w:gutter", hwpToTwips(page.gutter));
    pugi::xml_node cols = sectPr.append_child("w:cols");
    set(cols, "w:space", std::max(0, hwpToTwips(section.columns.gap)));
    if (section.columns.count > 1) set(cols, "w:num", section.columns.count);
    if (first) sectPr.append_child("w:titlePg");
}

// Every section but the last ends with a paragraph whose properties carry its sectPr.
std::string writeBody(DocxOutput& output, DocxPartWriter& body) {
    pugi::xml_document xml;
    pugi::xml_node root = startXml(xml, "w:document", bodyNamespaces());
    pugi::xml_node bodyNode = root.append_child("w:body");
    const auto& sections = output.document.sections;
    for (size_t i = 0; i < sections.size(); ++i) {
        body.writeBlocks(bodyNode, sections[i].blocks);
        const bool last = i + 1 == sections.size();
        if (last) {
            writeSectionProps(bodyNode, sections[i], output, body);
            break;
        }
        pugi::xml_node p = bodyNode.last_child();
        if (!p || std::string_view(p.name()) != "w:p" || p.child("w:pPr").child("w:sectPr")) {
            p = bodyNode.append_child("w:p");
            p.append_child("w:pPr");
        }
        pugi::xml_node pPr = p.child("w:pPr") ? p.child("w:pPr") : p.prepend_child("w:pPr");
        writeSectionProps(pPr, sections[i], output, body);
    }
    if (sections.empty()) writeSectionProps(bodyNode, Section{}, output, body);
    return xmlBytes(xml);
}

}  // namespace

std::string writeDocx(const Document& document) {
    DocxOutput output(document);
    DocxPartWriter body(output);
    output.parts["word/document.xml"] = writeBody(output, body);
    output.contentTypes["word/document.xml"] = std::string(wordMain) + "document.main+xml";
    writeSupportParts(output, body);
    output.parts["word/_rels/document.xml.rels"] = body.relationshipsXml();
    for (const auto& [index, part] : output.mediaParts) {
        output.parts["word/" + part] = document.media[index].data;
    }
    ZipWriter zip;
    zip.add("[Content_Types].xml", contentTypesXml(output));
    zip.add("_rels/.rels", packageRelationshipsXml(output));
    for (auto& [name, bytes] : output.parts)
        zip.add(name, std::move(bytes));
    return zip.finish();
}

}  // namespace tavrino::docs
