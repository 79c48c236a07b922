#pragma once
// Helpers for writing XML parts with pugixml: the declaration the Korean word processor
// writes, namespace declarations by canonical prefix, and text made safe for XML 1.0.

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace tavrino::docs {

// A new document whose root element is `rootName`, with xmlns declarations for `prefixes`
// (canonical prefixes of SafeXml.h).
pugi::xml_node startXml(pugi::xml_document& document, const char* rootName,
                        const std::vector<std::string_view>& prefixes);

// The serialised part: `<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>` followed
// by the tree without indentation.
std::string xmlBytes(const pugi::xml_document& document);

// `text` with everything XML 1.0 cannot carry removed (control characters other than tab
// and line feed) and invalid UTF-8 replaced by U+FFFD.
std::string xmlSafe(std::string_view text);

// Shorthand for adding an attribute with any printable value.
template <typename T>
pugi::xml_node set(pugi::xml_node node, const char* name, const T& value) {
    node.append_attribute(name) = value;
    return node;
}

}  // namespace tavrino::docs
