#include "hwpx/HwpxReader.h"

#include <map>

#include "hwpx/HwpxHeader.h"
#include "hwpx/HwpxSection.h"
#include "model/DocumentError.h"
#include "xml/SafeXml.h"
#include "zip/ZipReader.h"

namespace tavrino::docs {
namespace {

constexpr std::string_view hwpxMimeType = "application/hwp+zip";

struct ManifestItem {
    std::string href;
    std::string mediaType;
};

struct Package {
    std::map<std::string, ManifestItem> items;  // by id
    std::vector<std::string> sectionParts;      // in reading order
};

std::string trimmed(std::string text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Sections are the spine's items that are section parts; without a usable spine, the
// section parts present, in number order.
Package readPackage(ZipReader& zip, DocumentInfo& info) {
    Package package;
    pugi::xml_document hpf;
    parseXml(hpf, zip.read("Contents/content.hpf"), "Contents/content.hpf");
    const auto root = hpf.child("opf:package");
    for (const auto& item : root.child("opf:manifest").children("opf:item")) {
        package.items[item.attribute("id").as_string()] = {
            item.attribute("href").as_string(), item.attribute("media-type").as_string()};
    }
    for (const auto& ref : root.child("opf:spine").children("opf:itemref")) {
        const auto item = package.items.find(ref.attribute("idref").as_string());
        if (item == package.items.end()) continue;
        const std::string& href = item->second.href;
        if (href.rfind("Contents/section", 0) == 0) package.sectionParts.push_back(href);
    }
    if (package.sectionParts.empty()) {
        for (int n = 0; n < 10000 && zip.find("Contents/section" + std::to_string(n) + ".xml");
             ++n) {
            package.sectionParts.push_back("Contents/section" + std::to_string(n) + ".xml");
        }
    }
    const auto metadata = root.child("opf:metadata");
    info.title = metadata.child("opf:title").text().as_string();
    info.language = metadata.child("opf:language").text().as_string();
    for (const auto& meta : metadata.children("opf:meta")) {
        const std::string_view name = meta.attribute("name").as_string();
        const std::string value = meta.text().as_string();
        if (name == "creator")
            info.author = value;
        else if (name == "subject")
            info.subject = value;
        else if (name == "description")
            info.description = value;
        else if (name == "lastsaveby")
            info.lastModifiedBy = value;
        else if (name == "CreatedDate")
            info.created = value;
        else if (name == "ModifiedDate")
            info.modified = value;
        else if (name == "keyword")
            info.keywords = value;
    }
    return package;
}

void checkMimeType(ZipReader& zip) {
    const auto mimetype = zip.readIfPresent("mimetype");
    if (!mimetype || trimmed(*mimetype) != hwpxMimeType) {
        throw DocumentError("HWPX 문서가 아님(mimetype이 application/hwp+zip이 아님)");
    }
}

}  // namespace

Document readHwpx(std::string_view bytes) {
    ZipReader zip(bytes);
    checkMimeType(zip);
    Document document;
    const Package package = readPackage(zip, document.info);
    if (package.sectionParts.empty()) throw DocumentError("HWPX 문서에 구역(section)이 없음");

    pugi::xml_document headerXml;
    parseXml(headerXml, zip.read("Contents/header.xml"), "Contents/header.xml");
    if (!headerXml.child("hh:head")) throw DocumentError("HWPX header.xml의 형식이 다름");
    const HwpxHeader header = readHwpxHeader(headerXml);

    std::map<std::string, std::size_t> loaded;
    const MediaLookup media = [&](const std::string& id) -> std::optional<std::size_t> {
        if (const auto found = loaded.find(id); found != loaded.end()) return found->second;
        const auto item = package.items.find(id);
        if (item == package.items.end() || !zip.find(item->second.href)) return std::nullopt;
        const std::string& href = item->second.href;
        Media file{href.substr(href.rfind('/') + 1), item->second.mediaType, zip.read(href)};
        return loaded[id] = document.addMedia(std::move(file));
    };
    for (const std::string& part : package.sectionParts) {
        pugi::xml_document sectionXml;
        parseXml(sectionXml, zip.read(part), part);
        const auto sec = sectionXml.child("hs:sec");
        if (!sec) throw DocumentError("HWPX 구역의 형식이 다름: " + part);
        for (Section& section : readHwpxSection(sec, header, document, media))
            document.sections.push_back(std::move(section));
    }
    return document;
}

}  // namespace tavrino::docs
