#include <array>
#include <utility>

#include "xml/SafeXml.h"

namespace tavrino::docs {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 43> namespaces{{
    // OWPML (HWPX)
    {"ha", "http://www.hancom.co.kr/hwpml/2011/app"},
    {"hp", "http://www.hancom.co.kr/hwpml/2011/paragraph"},
    {"hp10", "http://www.hancom.co.kr/hwpml/2016/paragraph"},
    {"hs", "http://www.hancom.co.kr/hwpml/2011/section"},
    {"hc", "http://www.hancom.co.kr/hwpml/2011/core"},
    {"hh", "http://www.hancom.co.kr/hwpml/2011/head"},
    {"hhs", "http://www.hancom.co.kr/hwpml/2011/history"},
    {"hm", "http://www.hancom.co.kr/hwpml/2011/master-page"},
    {"hpf", "http://www.hancom.co.kr/schema/2011/hpf"},
    {"dc", "http://purl.org/dc/elements/1.1/"},
    {"opf", "http://www.idpf.org/2007/opf/"},
    {"ooxmlchart", "http://www.hancom.co.kr/hwpml/2016/ooxmlchart"},
    {"hwpunitchar", "http://www.hancom.co.kr/hwpml/2016/HwpUnitChar"},
    {"epub", "http://www.idpf.org/2007/ops"},
    {"config", "urn:oasis:names:tc:opendocument:xmlns:config:1.0"},
    {"hv", "http://www.hancom.co.kr/hwpml/2011/version"},
    {"ocf", "urn:oasis:names:tc:opendocument:xmlns:container"},
    {"odf", "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"},
    // WordprocessingML (DOCX) and its package
    {"w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main"},
    {"r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"},
    {"wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"},
    {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
    {"pic", "http://schemas.openxmlformats.org/drawingml/2006/picture"},
    {"m", "http://schemas.openxmlformats.org/officeDocument/2006/math"},
    {"mc", "http://schemas.openxmlformats.org/markup-compatibility/2006"},
    {"wps", "http://schemas.microsoft.com/office/word/2010/wordprocessingShape"},
    {"wpg", "http://schemas.microsoft.com/office/word/2010/wordprocessingGroup"},
    {"wpc", "http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas"},
    {"w14", "http://schemas.microsoft.com/office/word/2010/wordml"},
    {"wp14", "http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing"},
    {"v", "urn:schemas-microsoft-com:vml"},
    {"o", "urn:schemas-microsoft-com:office:office"},
    {"w10", "urn:schemas-microsoft-com:office:word"},
    {"cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
    {"dcterms", "http://purl.org/dc/terms/"},
    {"dcmitype", "http://purl.org/dc/dcmitype/"},
    {"xsi", "http://www.w3.org/2001/XMLSchema-instance"},
    {"ep", "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"},
    {"vt", "http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes"},
    {"cup", "http://schemas.openxmlformats.org/officeDocument/2006/custom-properties"},
    {"ct", "http://schemas.openxmlformats.org/package/2006/content-types"},
    {"pr", "http://schemas.openxmlformats.org/package/2006/relationships"},
    {"xml", "http://www.w3.org/XML/1998/namespace"},
}};

// Word's "Strict Open XML" documents use a second set of URIs for the same vocabulary. They
// read under the transitional prefixes, so every reader handles both without knowing;
// writers always declare the transitional ones.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> strictNamespaces{{
    {"w", "http://purl.oclc.org/ooxml/wordprocessingml/main"},
    {"r", "http://purl.oclc.org/ooxml/officeDocument/relationships"},
    {"wp", "http://purl.oclc.org/ooxml/drawingml/wordprocessingDrawing"},
    {"a", "http://purl.oclc.org/ooxml/drawingml/main"},
    {"pic", "http://purl.oclc.org/ooxml/drawingml/picture"},
    {"m", "http://purl.oclc.org/ooxml/officeDocument/math"},
    {"ep", "http://purl.oclc.org/ooxml/officeDocument/extendedProperties"},
    {"vt", "http://purl.oclc.org/ooxml/officeDocument/docPropsVTypes"},
    {"cup", "http://purl.oclc.org/ooxml/officeDocument/customProperties"},
}};

}  // namespace

std::string_view canonicalPrefix(std::string_view uri) {
    for (const auto& [prefix, known] : namespaces) {
        if (known == uri) return prefix;
    }
    for (const auto& [prefix, known] : strictNamespaces) {
        if (known == uri) return prefix;
    }
    return {};
}

std::string_view namespaceUri(std::string_view prefix) {
    for (const auto& [known, uri] : namespaces) {
        if (known == prefix) return uri;
    }
    return {};
}

}  // namespace tavrino::docs
