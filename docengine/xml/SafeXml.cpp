#include "xml/SafeXml.h"

#include <map>
#include <memory>
#include <vector>

#include "model/DocumentError.h"

namespace tavrino::docs {
namespace {

using Scope = std::map<std::string, std::string>;  // prefix ("" = default) -> URI
using ScopePtr = std::shared_ptr<const Scope>;

bool isDeclaration(std::string_view name) {
    return name == "xmlns" || name.substr(0, 6) == "xmlns:";
}

// The parent's scope, or a copy extended by this element's own xmlns declarations. Most
// elements declare nothing and share their parent's scope.
ScopePtr scopeOf(const pugi::xml_node& node, const ScopePtr& parent) {
    std::shared_ptr<Scope> scope;
    for (const auto& attribute : node.attributes()) {
        const std::string_view name = attribute.name();
        if (!isDeclaration(name)) continue;
        if (!scope) scope = std::make_shared<Scope>(*parent);
        (*scope)[name == "xmlns" ? std::string() : std::string(name.substr(6))] = attribute.value();
    }
    return scope ? ScopePtr(scope) : parent;
}

std::string canonicalName(std::string_view name, const Scope& scope, bool isAttribute) {
    const size_t colon = name.find(':');
    const std::string prefix(colon == std::string_view::npos ? "" : name.substr(0, colon));
    const std::string_view local = colon == std::string_view::npos ? name : name.substr(colon + 1);
    if (prefix == "xml") return std::string(name);
    if (prefix.empty() && isAttribute) return std::string(name);
    const auto found = scope.find(prefix);
    if (found == scope.end())
        return prefix.empty() ? std::string(local) : "x:" + std::string(local);
    const std::string_view canonical = canonicalPrefix(found->second);
    return (canonical.empty() ? std::string("x") : std::string(canonical)) + ":" +
           std::string(local);
}

void renameAttributes(pugi::xml_node& node, const Scope& scope) {
    for (auto attribute : node.attributes()) {
        const std::string_view name = attribute.name();
        if (isDeclaration(name)) continue;
        attribute.set_name(canonicalName(name, scope, true).c_str());
    }
}

// Walks the tree with an explicit stack (a hostile file must not be able to exhaust the call
// stack), checking depth and renaming as it goes.
void canonicalize(pugi::xml_document& document, std::string_view part) {
    struct Item {
        pugi::xml_node node;
        ScopePtr scope;
        int depth;
    };
    std::vector<Item> stack;
    const auto empty = std::make_shared<const Scope>();
    for (auto child : document.children()) {
        if (child.type() == pugi::node_doctype) {
            throw DocumentError("XML에 DOCTYPE이나 엔티티 선언이 있어 거부함: " +
                                std::string(part));
        }
        if (child.type() == pugi::node_element) stack.push_back({child, empty, 1});
    }
    while (!stack.empty()) {
        Item item = std::move(stack.back());
        stack.pop_back();
        if (item.depth > maxXmlDepth) {
            throw DocumentError("XML이 지나치게 깊게 중첩됨: " + std::string(part));
        }
        const ScopePtr scope = scopeOf(item.node, item.scope);
        item.node.set_name(canonicalName(item.node.name(), *scope, false).c_str());
        renameAttributes(item.node, *scope);
        for (auto child : item.node.children()) {
            if (child.type() == pugi::node_element) stack.push_back({child, scope, item.depth + 1});
        }
    }
}

}  // namespace

void parseXml(pugi::xml_document& document, std::string_view bytes, std::string_view part) {
    if (bytes.find("<!DOCTYPE") != std::string_view::npos ||
        bytes.find("<!ENTITY") != std::string_view::npos) {
        throw DocumentError("XML에 DOCTYPE이나 엔티티 선언이 있어 거부함: " + std::string(part));
    }
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_doctype;
    const pugi::xml_parse_result result =
        document.load_buffer(bytes.data(), bytes.size(), options, pugi::encoding_auto);
    if (!result) {
        throw DocumentError("XML이 올바르지 않음: " + std::string(part) + " (" +
                            result.description() + ")");
    }
    if (!document.document_element()) {
        throw DocumentError("XML에 내용이 없음: " + std::string(part));
    }
    canonicalize(document, part);
}

}  // namespace tavrino::docs
