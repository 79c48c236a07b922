#pragma once
// A small scanner over the text of an XML part, for edits that must leave every other byte
// as it was: whole elements out, an element's content out, attribute values cleared. It
// reads tags (with quoted attribute values that may hold ">"), and passes over comments,
// CDATA sections, processing instructions and declarations, so nothing inside them is taken
// for an element. Names are compared whole, so "dc:title" never touches "dc:titleX" and
// "dc:" never reaches into "dcterms:".

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrino {

struct XmlAttribute {
    std::string_view name;
    std::string_view value;  // between the quotes, as written (entities not expanded)
    size_t nameBegin = 0;    // offsets into the scanned text
    size_t valueBegin = 0;
    size_t valueEnd = 0;  // the closing quote
};

struct XmlTag {
    enum class Kind { start, end, empty };
    Kind kind = Kind::start;
    std::string_view name;
    size_t begin = 0;  // the "<"
    size_t end = 0;    // one past the ">"
    std::vector<XmlAttribute> attributes;

    const XmlAttribute* attribute(std::string_view attributeName) const;
};

// Every tag of the text in order. A tag left open at the end of the text ends the list.
std::vector<XmlTag> scanTags(std::string_view xml);

// The result of an edit: the new text and how many elements or attributes it changed.
struct XmlEdit {
    std::string text;
    int changed = 0;
};

// Removes every element with one of `names`, start tag to its matching end tag (same-named
// elements nested inside are matched), or in its empty form. An element whose end tag is
// missing is left alone.
XmlEdit dropElements(std::string_view xml, std::span<const std::string_view> names);

// Empties every element named `name` that `wanted` accepts and that has content: the start
// tag stays with its attributes and is closed as an empty element ("<a x="1">v</a>" becomes
// "<a x="1"/>"). Already empty elements are not counted.
XmlEdit emptyElements(std::string_view xml, std::string_view name,
                      const std::function<bool(const XmlTag&)>& wanted = {});

// On elements named `element` ("" for every element), clears the attribute `attribute`:
// removes it (with the space before it) or, when `keep` is true, leaves it with an empty
// value. Attributes that are already empty are not counted.
XmlEdit clearAttributes(std::string_view xml, std::string_view element, std::string_view attribute,
                        bool keep);

}  // namespace tavrino
