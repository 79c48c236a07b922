#pragma once
// Parsing untrusted XML parts. Documents with a DOCTYPE or entity declarations are refused
// outright (no entity expansion, no external references), as are trees nested deeper than
// `maxXmlDepth`. After parsing, every element and attribute name is rewritten to a fixed
// prefix chosen by its namespace URI ("hp:t", "w:p", ...), so readers compare names without
// caring which prefixes a producer declared. Names in namespaces we do not know get the
// prefix "x:"; unprefixed attributes stay unprefixed.

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace tavrino::docs {

inline constexpr int maxXmlDepth = 256;

// Throws DocumentError naming `part` when the XML is malformed or refused.
void parseXml(pugi::xml_document& document, std::string_view bytes, std::string_view part);

// The canonical prefix of a namespace URI, or "" when it is not one we know.
std::string_view canonicalPrefix(std::string_view uri);

// The namespace URI of a canonical prefix (for writers), or "".
std::string_view namespaceUri(std::string_view prefix);

}  // namespace tavrino::docs
