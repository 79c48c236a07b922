#include "docx/DocxPackage.h"

#include <vector>

#include "model/DocumentError.h"
#include "xml/SafeXml.h"

namespace tavrino::docs {
namespace {

// Resolves a relative target ("media/image1.png", "../customXml/item1.xml") against the
// folder of its source part.
std::string resolvePart(const std::string& sourcePart, const std::string& target) {
    if (!target.empty() && target.front() == '/') return target.substr(1);
    std::vector<std::string> segments;
    const size_t slash = sourcePart.rfind('/');
    std::string path = (slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1)) + target;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string joined;
    for (const auto& segment : segments)
        joined += (joined.empty() ? "" : "/") + segment;
    return joined;
}

std::string relsPartOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    if (slash == std::string::npos) return "_rels/" + part + ".rels";
    return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

bool isWordMainType(std::string_view type) {
    return type.find("wordprocessingml.document.main+xml") != std::string_view::npos ||
           type.find("wordprocessingml.template.main+xml") != std::string_view::npos ||
           type.find("ms-word.document.macroEnabled.main+xml") != std::string_view::npos ||
           type.find("ms-word.template.macroEnabledTemplate.main+xml") != std::string_view::npos;
}

}  // namespace

DocxPackage::DocxPackage(std::string_view bytes) : zip_(bytes) {
    pugi::xml_document types;
    parse(types, "[Content_Types].xml", true);
    mainPart_ = targetOfType("", "officeDocument");
    if (mainPart_.empty()) mainPart_ = "word/document.xml";
    if (!zip_.find(mainPart_)) {
        throw DocumentError("Word 문서의 본문 파트(" + mainPart_ + ")를 찾을 수 없음");
    }
    std::string mainType;
    for (const auto& override : types.child("ct:Types").children("ct:Override")) {
        if (resolvePart("", override.attribute("PartName").as_string()) == mainPart_) {
            mainType = override.attribute("ContentType").as_string();
        }
    }
    if (!isWordMainType(mainType)) {
        throw DocumentError("Word 문서가 아님(본문의 내용 형식이 다름: " +
                            (mainType.empty() ? std::string("없음") : mainType) + ")");
    }
}

void DocxPackage::parse(pugi::xml_document& into, const std::string& part, bool required) {
    const auto bytes =
        required ? std::optional<std::string>(zip_.read(part)) : zip_.readIfPresent(part);
    if (bytes) parseXml(into, *bytes, part);
}

Relationships DocxPackage::relationshipsOf(const std::string& part) {
    Relationships relationships;
    pugi::xml_document rels;
    parse(rels, relsPartOf(part));
    for (const auto& rel : rels.child("pr:Relationships").children("pr:Relationship")) {
        const std::string type = rel.attribute("Type").as_string();
        Relationship entry;
        entry.type = type.substr(type.rfind('/') + 1);
        entry.external = std::string_view(rel.attribute("TargetMode").as_string()) == "External";
        const std::string target = rel.attribute("Target").as_string();
        entry.target = entry.external ? target : resolvePart(part, target);
        relationships[rel.attribute("Id").as_string()] = entry;
    }
    return relationships;
}

std::string DocxPackage::targetOfType(const std::string& part, std::string_view type) {
    for (const auto& [id, rel] : relationshipsOf(part)) {
        if (rel.type == type && !rel.external) return rel.target;
    }
    return {};
}

}  // namespace tavrino::docs
