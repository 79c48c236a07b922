#include "xml/XmlWriter.h"

#include <sstream>

#include "xml/SafeXml.h"

namespace tavrino::docs {

pugi::xml_node startXml(pugi::xml_document& document, const char* rootName,
                        const std::vector<std::string_view>& prefixes) {
    pugi::xml_node root = document.append_child(rootName);
    for (const std::string_view prefix : prefixes) {
        const std::string name = "xmlns:" + std::string(prefix);
        root.append_attribute(name.c_str()) = std::string(namespaceUri(prefix)).c_str();
    }
    return root;
}

std::string xmlBytes(const pugi::xml_document& document) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>";
    document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

std::string xmlSafe(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (lead >= 0x20 || lead == '\t' || lead == '\n') out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const size_t length = (lead >> 5) == 6    ? 2
                              : (lead >> 4) == 14 ? 3
                              : (lead >> 3) == 30 ? 4
                                                  : 0;
        bool valid = length > 0 && i + length <= text.size();
        std::uint32_t code = valid ? lead & (0x7f >> length) : 0;
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3f);
        }
        const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= minimum[length] && code <= 0x10FFFF &&
                !(code >= 0xD800 && code <= 0xDFFF) && code != 0xFFFE && code != 0xFFFF;
        if (valid) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

}  // namespace tavrino::docs
