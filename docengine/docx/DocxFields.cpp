#include "docx/DocxFields.h"

#include <algorithm>

namespace tavrino::docs {
namespace {

std::string firstWord(std::string_view text) {
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    const size_t end = text.find(' ', start);
    std::string word(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return word;
}

std::string firstQuoted(std::string_view text) {
    const size_t open = text.find('"');
    if (open == std::string_view::npos) return {};
    const size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(text.substr(open + 1, close - open - 1));
}

}  // namespace

FieldStart fieldFromInstruction(std::string_view instruction) {
    FieldStart field;
    field.instruction = std::string(instruction);
    const std::string word = firstWord(instruction);
    if (word == "HYPERLINK") {
        field.kind = FieldKind::hyperlink;
        field.target = firstQuoted(instruction);
    } else if (word == "PAGE") {
        field.kind = FieldKind::pageNumber;
    } else if (word == "NUMPAGES" || word == "SECTIONPAGES") {
        field.kind = FieldKind::pageCount;
    } else if (word == "DATE" || word == "TIME" || word == "CREATEDATE" || word == "SAVEDATE") {
        field.kind = FieldKind::date;
    } else if (word == "REF" || word == "PAGEREF" || word == "NOTEREF") {
        field.kind = FieldKind::crossReference;
    } else if (word.rfind("=", 0) == 0) {
        field.kind = FieldKind::formula;
    }
    return field;
}

std::string mediaTypeForName(std::string_view name) {
    std::string ext(
        name.substr(name.rfind('.') == std::string_view::npos ? name.size() : name.rfind('.') + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png") return "image/png";
    if (ext == "jpg" || ext == "jpeg") return "image/jpeg";
    if (ext == "gif") return "image/gif";
    if (ext == "bmp") return "image/bmp";
    if (ext == "tif" || ext == "tiff") return "image/tiff";
    if (ext == "emf") return "image/x-emf";
    if (ext == "wmf") return "image/x-wmf";
    if (ext == "svg") return "image/svg+xml";
    return "application/octet-stream";
}

}  // namespace tavrino::docs
