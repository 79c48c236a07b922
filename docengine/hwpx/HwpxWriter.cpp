#include "hwpx/HwpxWriter.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "hwpx/HwpxHeaderWriter.h"
#include "hwpx/HwpxNames.h"
#include "hwpx/HwpxSectionWriter.h"
#include "model/JoinSections.h"
#include "text/TextExport.h"
#include "xml/XmlWriter.h"
#include "zip/ZipWriter.h"

namespace tavrino::docs {
namespace {

std::string extensionOf(const Media& media) {
    const size_t dot = media.name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : media.name.substr(dot + 1);
    const bool safe =
        !ext.empty() && ext.size() <= 5 &&
        std::all_of(ext.begin(), ext.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
    if (safe) return ext;
    const std::string& type = media.mediaType;
    return type == "image/png"    ? "png"
           : type == "image/jpeg" ? "jpg"
           : type == "image/gif"  ? "gif"
                                  : "bin";
}

std::string versionXml() {
    pugi::xml_document document;
    pugi::xml_node root = startXml(document, "hv:HCFVersion", {"hv"});
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"tagetApplication", "WORDPROCESSOR"},
             {"major", "5"},
             {"minor", "0"},
             {"micro", "5"},
             {"buildNumber", "0"},
             {"os", "1"},
             {"xmlVersion", "1.4"},
             {"application", "Tavrino"},
             {"appVersion", "1"}}) {
        set(root, name, value);
    }
    return xmlBytes(document);
}

std::string containerXml() {
    pugi::xml_document document;
    pugi::xml_node root = startXml(document, "ocf:container", {"ocf", "hpf"});
    pugi::xml_node rootfiles = root.append_child("ocf:rootfiles");
    pugi::xml_node main = rootfiles.append_child("ocf:rootfile");
    set(main, "full-path", "Contents/content.hpf");
    set(main, "media-type", "application/hwpml-package+xml");
    pugi::xml_node preview = rootfiles.append_child("ocf:rootfile");
    set(preview, "full-path", "Preview/PrvText.txt");
    set(preview, "media-type", "text/plain");
    return xmlBytes(document);
}

std::string manifestXml() {
    pugi::xml_document document;
    startXml(document, "odf:manifest", {"odf"});
    return xmlBytes(document);
}

std::string settingsXml() {
    pugi::xml_document document;
    pugi::xml_node root = startXml(document, "ha:HWPApplicationSetting", {"ha", "config"});
    pugi::xml_node caret = root.append_child("ha:CaretPosition");
    set(caret, "listIDRef", 0);
    set(caret, "paraIDRef", 0);
    set(caret, "pos", 0);
    return xmlBytes(document);
}

void addMeta(pugi::xml_node metadata, const char* name, const std::string& value) {
    pugi::xml_node meta = metadata.append_child("opf:meta");
    set(meta, "name", name);
    set(meta, "content", "text");
    if (!value.empty()) meta.text().set(xmlSafe(value).c_str());
}

void addItem(pugi::xml_node manifest, const std::string& id, const std::string& href,
             const std::string& type, bool embedded = false) {
    pugi::xml_node item = manifest.append_child("opf:item");
    set(item, "id", id.c_str());
    set(item, "href", href.c_str());
    set(item, "media-type", type.c_str());
    if (embedded) set(item, "isEmbeded", 1);
}

std::string contentHpf(const Document& document,
                       const std::vector<std::pair<std::string, std::string>>& images,
                       size_t sectionCount) {
    pugi::xml_document xml;
    pugi::xml_node root = startXml(xml, "opf:package", hwpxRootNamespaces());
    set(root, "version", "");
    set(root, "unique-identifier", "");
    set(root, "id", "");
    pugi::xml_node metadata = root.append_child("opf:metadata");
    const DocumentInfo& info = document.info;
    metadata.append_child("opf:title").text().set(xmlSafe(info.title).c_str());
    metadata.append_child("opf:language").text().set("ko");
    addMeta(metadata, "creator", info.author);
    addMeta(metadata, "subject", info.subject);
    addMeta(metadata, "description", info.description);
    addMeta(metadata, "lastsaveby", info.lastModifiedBy);
    addMeta(metadata, "CreatedDate", info.created);
    addMeta(metadata, "ModifiedDate", info.modified);
    addMeta(metadata, "keyword", info.keywords);
    pugi::xml_node manifest = root.append_child("opf:manifest");
    addItem(manifest, "header", "Contents/header.xml", "application/xml");
    for (const auto& [id, href] : images) {
        const std::string ext = href.substr(href.rfind('.') + 1);
        addItem(manifest, id, href, "image/" + ext, true);
    }
    for (size_t i = 0; i < sectionCount; ++i) {
        addItem(manifest, "section" + std::to_string(i),
                "Contents/section" + std::to_string(i) + ".xml", "application/xml");
    }
    addItem(manifest, "settings", "settings.xml", "application/xml");
    pugi::xml_node spine = root.append_child("opf:spine");
    pugi::xml_node header = spine.append_child("opf:itemref");
    set(header, "idref", "header");
    set(header, "linear", "yes");
    for (size_t i = 0; i < sectionCount; ++i) {
        pugi::xml_node ref = spine.append_child("opf:itemref");
        set(ref, "idref", ("section" + std::to_string(i)).c_str());
        set(ref, "linear", "yes");
    }
    return xmlBytes(xml);
}

}  // namespace

// Parts go in the order the word processor writes them, `mimetype` first and stored.
std::string writeHwpx(const Document& document) {
    HwpxHeaderWriter header;
    std::set<std::size_t> usedMedia;
    std::vector<Section> fallback;
    const auto joined = joinContinuingSections(document.sections);
    const std::vector<Section>& sections = joined                      ? *joined
                                           : document.sections.empty() ? fallback = {Section{}}
                                                                       : document.sections;
    std::vector<std::string> sectionXml;
    for (const Section& section : sections) {
        sectionXml.push_back(writeHwpxSection(section, header, usedMedia, document.media.size()));
    }
    std::vector<std::pair<std::string, std::string>> images;  // manifest id, href
    for (const std::size_t index : usedMedia) {
        images.emplace_back(hwpxMediaId(index), "BinData/" + hwpxMediaId(index) + "." +
                                                    extensionOf(document.media[index]));
    }
    ZipWriter zip;
    zip.add("mimetype", "application/hwp+zip", Compression::stored);
    zip.add("version.xml", versionXml(), Compression::stored);
    zip.add("Contents/header.xml", header.write(static_cast<int>(sections.size())));
    size_t image = 0;
    for (const std::size_t index : usedMedia) {
        zip.add(images[image++].second, document.media[index].data);
    }
    for (size_t i = 0; i < sectionXml.size(); ++i) {
        zip.add("Contents/section" + std::to_string(i) + ".xml", std::move(sectionXml[i]));
    }
    zip.add("Preview/PrvText.txt", previewText(document));
    zip.add("settings.xml", settingsXml());
    zip.add("META-INF/container.xml", containerXml());
    zip.add("Contents/content.hpf", contentHpf(document, images, sections.size()));
    zip.add("META-INF/manifest.xml", manifestXml());
    return zip.finish();
}

}  // namespace tavrino::docs
