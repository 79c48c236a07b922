#include "HwpxStructure.h"

#include <zip.h>
#include <pugixml.hpp>

#include <map>
#include <memory>
#include <regex>
#include <set>

namespace tavrino::docs::test {
namespace {

constexpr const char* headNs = "http://www.hancom.co.kr/hwpml/2011/head";
constexpr const char* paragraphNs = "http://www.hancom.co.kr/hwpml/2011/paragraph";
constexpr const char* sectionNs = "http://www.hancom.co.kr/hwpml/2011/section";
constexpr const char* opfNs = "http://www.idpf.org/2007/opf/";

struct Package {
    std::vector<std::string> names;
    std::map<std::string, std::string> data;
    std::map<std::string, int> methods;
};

bool readPackage(std::string_view bytes, Package& package, std::vector<std::string>& problems) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        if (source) zip_source_free(source);
        problems.push_back("not a ZIP archive");
        return false;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, zip_uint64_t(i), 0, &stat);
        const std::string name = stat.name;
        if (package.data.count(name)) problems.push_back("duplicate entry " + name);
        package.names.push_back(name);
        package.methods[name] = stat.comp_method;
        std::string content(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!file || zip_fread(file, content.data(), stat.size) != zip_int64_t(stat.size)) {
            problems.push_back("unreadable entry " + name);
        }
        if (file) zip_fclose(file);
        package.data[name] = std::move(content);
    }
    zip_discard(archive);
    return true;
}

// The URI a prefix is bound to on an element (declarations on the root only, as HWPX does).
std::string declared(const pugi::xml_node& root, const std::string& prefix) {
    return root.attribute(("xmlns:" + prefix).c_str()).as_string();
}

void checkPackaging(const Package& package, const HwpxCheckOptions& options,
                    std::vector<std::string>& problems) {
    if (package.names.empty() || package.names.front() != "mimetype") {
        problems.push_back("mimetype is not the first entry");
    } else if (package.data.at("mimetype") != "application/hwp+zip") {
        problems.push_back("mimetype content is wrong");
    } else if (options.requireStoredMimetype && package.methods.at("mimetype") != 0) {
        problems.push_back("mimetype is compressed");
    }
    for (const char* part : {"version.xml", "META-INF/container.xml", "Contents/content.hpf",
                             "Contents/header.xml", "Contents/section0.xml"}) {
        if (!package.data.count(part)) problems.push_back(std::string("missing part ") + part);
    }
}

void checkContainer(const pugi::xml_document& container, std::vector<std::string>& problems) {
    bool found = false;
    for (const auto& rootfile :
         container.document_element().child("ocf:rootfiles").children("ocf:rootfile")) {
        found |=
            std::string_view(rootfile.attribute("full-path").as_string()) == "Contents/content.hpf";
    }
    if (!found) problems.push_back("container.xml does not point at Contents/content.hpf");
}

// Manifest items exist; the spine names manifest items; every section part is in the spine
// in number order.
void checkManifest(const pugi::xml_document& hpf, const Package& package,
                   std::set<std::string>& binaryIds, std::vector<std::string>& problems) {
    const auto root = hpf.document_element();
    if (declared(root, "opf") != opfNs) problems.push_back("content.hpf lacks the opf namespace");
    std::map<std::string, std::string> items;
    for (const auto& item : root.child("opf:manifest").children("opf:item")) {
        const std::string href = item.attribute("href").as_string();
        items[item.attribute("id").as_string()] = href;
        // Linked (not embedded) items name files outside the package.
        const bool linked = std::string_view(item.attribute("isEmbeded").as_string("1")) == "0";
        if (!linked && !package.data.count(href)) {
            problems.push_back("manifest item missing from package: " + href);
        }
        if (href.rfind("BinData/", 0) == 0) binaryIds.insert(item.attribute("id").as_string());
    }
    std::vector<std::string> spineSections;
    for (const auto& ref : root.child("opf:spine").children("opf:itemref")) {
        const auto item = items.find(ref.attribute("idref").as_string());
        if (item == items.end()) {
            problems.push_back(std::string("spine names unknown item ") +
                               ref.attribute("idref").as_string());
        } else if (item->second.rfind("Contents/section", 0) == 0) {
            spineSections.push_back(item->second);
        }
    }
    std::vector<std::string> present;
    for (int n = 0; package.data.count("Contents/section" + std::to_string(n) + ".xml"); ++n) {
        present.push_back("Contents/section" + std::to_string(n) + ".xml");
    }
    if (spineSections != present)
        problems.push_back("spine sections differ from the section parts");
}

void checkHeader(const pugi::xml_document& header, size_t sections, std::set<std::string>& ids,
                 std::vector<std::string>& problems) {
    const auto head = header.document_element();
    if (std::string_view(head.name()) != "hh:head" || declared(head, "hh") != headNs) {
        problems.push_back("header.xml root is not hh:head in the head namespace");
    }
    if (head.attribute("secCnt").as_ullong() != sections) problems.push_back("secCnt is wrong");
    for (const auto& list : head.child("hh:refList").children()) {
        size_t children = 0;
        for (const auto& child : list.children()) {
            ++children;
            if (child.attribute("id"))
                ids.insert(std::string(child.name()) + "#" + child.attribute("id").as_string());
        }
        if (list.attribute("itemCnt").as_ullong() != children) {
            problems.push_back(std::string("itemCnt of ") + list.name() + " is wrong");
        }
    }
}

void checkSection(const pugi::xml_document& section, const std::string& name,
                  const std::set<std::string>& ids, const std::set<std::string>& binaryIds,
                  std::vector<std::string>& problems) {
    const auto sec = section.document_element();
    if (std::string_view(sec.name()) != "hs:sec" || declared(sec, "hs") != sectionNs ||
        declared(sec, "hp") != paragraphNs) {
        problems.push_back(name + " root is not hs:sec with the section and paragraph namespaces");
    }
    if (!sec.child("hp:p").child("hp:run").child("hp:secPr")) {
        problems.push_back(name + " does not open with hp:secPr in its first run");
    }
    const std::pair<const char*, const char*> references[] = {{"charPrIDRef", "hh:charPr"},
                                                              {"paraPrIDRef", "hh:paraPr"},
                                                              {"borderFillIDRef", "hh:borderFill"}};
    for (const auto& node : sec.select_nodes("//*")) {
        for (const auto& [attribute, target] : references) {
            const auto value = node.node().attribute(attribute);
            if (value && !ids.count(std::string(target) + "#" + value.as_string())) {
                problems.push_back(name + ": " + attribute + "=" + value.as_string() +
                                   " not in header");
            }
        }
        const auto image = node.node().attribute("binaryItemIDRef");
        if (image && !binaryIds.count(image.as_string())) {
            problems.push_back(name + ": picture refers to missing item " + image.as_string());
        }
    }
}

}  // namespace

std::vector<std::string> hwpxStructureProblems(std::string_view bytes,
                                               const HwpxCheckOptions& options) {
    std::vector<std::string> problems;
    Package package;
    if (!readPackage(bytes, package, problems)) return problems;
    checkPackaging(package, options, problems);
    std::map<std::string, pugi::xml_document> xml;
    for (const auto& [name, data] : package.data) {
        if (name.size() < 4 ||
            (name.substr(name.size() - 4) != ".xml" && name.substr(name.size() - 4) != ".hpf"))
            continue;
        if (data.find("<!DOCTYPE") != std::string::npos)
            problems.push_back(name + " has a DOCTYPE");
        if (!xml[name].load_buffer(data.data(), data.size()))
            problems.push_back(name + " is not well-formed XML");
    }
    if (!problems.empty()) return problems;
    checkContainer(xml["META-INF/container.xml"], problems);
    std::set<std::string> binaryIds, ids;
    checkManifest(xml["Contents/content.hpf"], package, binaryIds, problems);
    size_t sections = 0;
    while (package.data.count("Contents/section" + std::to_string(sections) + ".xml"))
        ++sections;
    checkHeader(xml["Contents/header.xml"], sections, ids, problems);
    for (size_t n = 0; n < sections; ++n) {
        const std::string name = "Contents/section" + std::to_string(n) + ".xml";
        checkSection(xml[name], name, ids, binaryIds, problems);
    }
    return problems;
}

}  // namespace tavrino::docs::test
