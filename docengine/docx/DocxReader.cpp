#include "docx/DocxReader.h"

#include <map>

#include "docx/DocxBody.h"
#include "docx/DocxPackage.h"
#include "docx/DocxStyles.h"
#include "model/DocumentError.h"

namespace tavrino::docs {
namespace {

void readCoreProperties(DocxPackage& package, DocumentInfo& info) {
    const std::string part = package.targetOfType("", "core-properties");
    if (part.empty()) return;
    pugi::xml_document core;
    package.parse(core, part);
    const auto root = core.child("cp:coreProperties");
    info.title = root.child("dc:title").text().as_string();
    info.subject = root.child("dc:subject").text().as_string();
    info.author = root.child("dc:creator").text().as_string();
    info.keywords = root.child("cp:keywords").text().as_string();
    info.description = root.child("dc:description").text().as_string();
    info.lastModifiedBy = root.child("cp:lastModifiedBy").text().as_string();
    info.created = root.child("dcterms:created").text().as_string();
    info.modified = root.child("dcterms:modified").text().as_string();
    info.language = root.child("dc:language").text().as_string();
}

void readCustomProperties(DocxPackage& package, DocumentInfo& info) {
    std::string part = package.targetOfType("", "custom-properties");
    if (part.empty()) part = package.targetOfType("", "customProperties");  // Strict
    if (part.empty()) return;
    pugi::xml_document custom;
    package.parse(custom, part);
    for (const auto& property : custom.child("cup:Properties").children("cup:property")) {
        info.custom.emplace_back(property.attribute("name").as_string(),
                                 property.first_child().text().as_string());
    }
}

}  // namespace

Document readDocx(std::string_view bytes) {
    DocxPackage package(bytes);
    const std::string main = package.mainPart();
    pugi::xml_document body;
    package.parse(body, main, true);
    if (!body.child("w:document").child("w:body")) {
        throw DocumentError("Word 문서의 본문(w:body)이 없음");
    }
    pugi::xml_document styles, numbering;
    package.parse(styles, package.targetOfType(main, "styles"));
    package.parse(numbering, package.targetOfType(main, "numbering"));
    const DocxStyles resolved(styles, numbering);

    Document document;
    readCoreProperties(package, document.info);
    readCustomProperties(package, document.info);
    DocxBodyReader reader(package, resolved, document);
    reader.readDocumentBody(body.child("w:document").child("w:body"), main);
    return document;
}

}  // namespace tavrino::docs
