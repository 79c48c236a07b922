#include "tools/XmlScan.h"

#include <algorithm>

namespace tavrino {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsName(char c) {
    return isSpace(c) || c == '/' || c == '>' || c == '=';
}

// Reads the attributes and the closing of a start tag from `at` (just after its name).
// Returns the offset one past ">" or npos when the tag never closes.
size_t readAttributes(std::string_view xml, size_t at, XmlTag& tag) {
    while (at < xml.size()) {
        while (at < xml.size() && isSpace(xml[at]))
            ++at;
        if (at >= xml.size()) break;
        if (xml[at] == '>') return at + 1;
        if (xml[at] == '/') {
            if (at + 1 < xml.size() && xml[at + 1] == '>') {
                tag.kind = XmlTag::Kind::empty;
                return at + 2;
            }
            ++at;
            continue;
        }
        const size_t nameBegin = at;
        while (at < xml.size() && !endsName(xml[at]))
            ++at;
        const std::string_view name = xml.substr(nameBegin, at - nameBegin);
        while (at < xml.size() && isSpace(xml[at]))
            ++at;
        if (at >= xml.size() || xml[at] != '=') {
            if (name.empty()) ++at;  // a stray character; step over it
            continue;
        }
        ++at;
        while (at < xml.size() && isSpace(xml[at]))
            ++at;
        if (at >= xml.size()) break;
        const char quote = xml[at];
        if (quote != '"' && quote != '\'') continue;
        const size_t close = xml.find(quote, at + 1);
        if (close == std::string_view::npos) break;
        tag.attributes.push_back(
            {name, xml.substr(at + 1, close - at - 1), nameBegin, at + 1, close});
        at = close + 1;
    }
    return std::string_view::npos;
}

// Where the construct starting at "<" + `open` ends (one past `close`), or npos.
size_t skipPast(std::string_view xml, size_t at, std::string_view close) {
    const size_t found = xml.find(close, at);
    return found == std::string_view::npos ? found : found + close.size();
}

struct Replacement {
    size_t begin;
    size_t end;
    std::string with;
};

std::string applied(std::string_view xml, std::vector<Replacement> edits) {
    std::sort(edits.begin(), edits.end(),
              [](const Replacement& a, const Replacement& b) { return a.begin < b.begin; });
    std::string out;
    out.reserve(xml.size());
    size_t at = 0;
    for (const Replacement& edit : edits) {
        if (edit.begin < at) continue;  // inside an edit already made
        out.append(xml.substr(at, edit.begin - at));
        out += edit.with;
        at = edit.end;
    }
    out.append(xml.substr(at));
    return out;
}

// The index of the end tag that closes the start tag at `index`, or npos.
size_t matchingEnd(const std::vector<XmlTag>& tags, size_t index) {
    int depth = 0;
    for (size_t i = index; i < tags.size(); ++i) {
        if (tags[i].name != tags[index].name) continue;
        if (tags[i].kind == XmlTag::Kind::start) ++depth;
        if (tags[i].kind == XmlTag::Kind::end && --depth == 0) return i;
    }
    return std::string_view::npos;
}

}  // namespace

const XmlAttribute* XmlTag::attribute(std::string_view attributeName) const {
    for (const XmlAttribute& candidate : attributes)
        if (candidate.name == attributeName) return &candidate;
    return nullptr;
}

std::vector<XmlTag> scanTags(std::string_view xml) {
    std::vector<XmlTag> tags;
    size_t at = 0;
    while ((at = xml.find('<', at)) != std::string_view::npos) {
        const std::string_view rest = xml.substr(at);
        size_t next = std::string_view::npos;
        if (rest.starts_with("<!--")) {
            next = skipPast(xml, at + 4, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            next = skipPast(xml, at + 9, "]]>");
        } else if (rest.starts_with("<?")) {
            next = skipPast(xml, at + 2, "?>");
        } else if (rest.starts_with("<!")) {
            next = skipPast(xml, at + 2, ">");
        } else {
            XmlTag tag;
            tag.begin = at;
            size_t nameAt = at + 1;
            if (rest.starts_with("</")) {
                tag.kind = XmlTag::Kind::end;
                ++nameAt;
            }
            size_t nameEnd = nameAt;
            while (nameEnd < xml.size() && !endsName(xml[nameEnd]))
                ++nameEnd;
            tag.name = xml.substr(nameAt, nameEnd - nameAt);
            if (tag.kind == XmlTag::Kind::end) {
                next = skipPast(xml, nameEnd, ">");
            } else {
                next = readAttributes(xml, nameEnd, tag);
            }
            if (next == std::string_view::npos) break;
            tag.end = next;
            if (!tag.name.empty()) tags.push_back(std::move(tag));
        }
        if (next == std::string_view::npos) break;
        at = next;
    }
    return tags;
}

XmlEdit dropElements(std::string_view xml, std::span<const std::string_view> names) {
    const std::vector<XmlTag> tags = scanTags(xml);
    std::vector<Replacement> edits;
    size_t coveredUntil = 0;  // elements inside a removed one are gone with it
    int changed = 0;
    for (size_t i = 0; i < tags.size(); ++i) {
        const XmlTag& tag = tags[i];
        if (tag.kind == XmlTag::Kind::end || tag.begin < coveredUntil) continue;
        if (std::find(names.begin(), names.end(), tag.name) == names.end()) continue;
        size_t end = tag.end;
        if (tag.kind == XmlTag::Kind::start) {
            const size_t close = matchingEnd(tags, i);
            if (close == std::string_view::npos) continue;
            end = tags[close].end;
        }
        edits.push_back({tag.begin, end, ""});
        coveredUntil = end;
        ++changed;
    }
    return {applied(xml, std::move(edits)), changed};
}

XmlEdit emptyElements(std::string_view xml, std::string_view name,
                      const std::function<bool(const XmlTag&)>& wanted) {
    const std::vector<XmlTag> tags = scanTags(xml);
    std::vector<Replacement> edits;
    int changed = 0;
    for (size_t i = 0; i < tags.size(); ++i) {
        const XmlTag& tag = tags[i];
        if (tag.kind != XmlTag::Kind::start || tag.name != name) continue;
        if (wanted && !wanted(tag)) continue;
        const size_t close = matchingEnd(tags, i);
        if (close == std::string_view::npos) continue;
        const XmlTag& endTag = tags[close];
        // The start tag without its ">", closed as an empty element.
        std::string start(xml.substr(tag.begin, tag.end - 1 - tag.begin));
        while (!start.empty() && isSpace(start.back()))
            start.pop_back();
        edits.push_back({tag.begin, endTag.end, start + "/>"});
        if (endTag.begin > tag.end) ++changed;
    }
    return {applied(xml, std::move(edits)), changed};
}

XmlEdit clearAttributes(std::string_view xml, std::string_view element, std::string_view attribute,
                        bool keep) {
    std::vector<Replacement> edits;
    int changed = 0;
    for (const XmlTag& tag : scanTags(xml)) {
        if (tag.kind == XmlTag::Kind::end) continue;
        if (!element.empty() && tag.name != element) continue;
        const XmlAttribute* found = tag.attribute(attribute);
        if (!found || found->value.empty()) continue;
        if (keep) {
            edits.push_back({found->valueBegin, found->valueEnd, ""});
        } else {
            // From the white space before the name to the closing quote.
            size_t begin = found->nameBegin;
            while (begin > tag.begin && isSpace(xml[begin - 1]))
                --begin;
            edits.push_back({begin, found->valueEnd + 1, ""});
        }
        ++changed;
    }
    return {applied(xml, std::move(edits)), changed};
}

}  // namespace tavrino
