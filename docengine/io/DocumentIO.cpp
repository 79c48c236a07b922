#include "io/DocumentIO.h"

#include <algorithm>

#include "docx/DocxReader.h"
#include "docx/DocxWriter.h"
#include "hwp5/Hwp5Reader.h"
#include "hwp5/Hwp5Writer.h"
#include "hwpx/HwpxReader.h"
#include "hwpx/HwpxWriter.h"
#include "io/Files.h"
#include "model/DocumentError.h"
#include "zip/ZipReader.h"

namespace tavrino::docs {
namespace {

constexpr std::string_view ole2Signature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

}  // namespace

std::string_view formatName(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::hwp:
            return "HWP";
        case DocumentFormat::hwpx:
            return "HWPX";
        case DocumentFormat::docx:
            return "DOCX";
    }
    return "?";
}

DocumentFormat formatFromExtension(const std::filesystem::path& path) {
    const std::string ext = lowerExtension(path);
    if (ext == ".hwp") return DocumentFormat::hwp;
    if (ext == ".hwpx") return DocumentFormat::hwpx;
    if (ext == ".docx") return DocumentFormat::docx;
    throw DocumentError("지원하지 않는 문서 형식: " + path.filename().string());
}

// A ZIP is told apart by its parts: HWPX names itself in `mimetype`, DOCX has
// `[Content_Types].xml`.
DocumentFormat sniffFormat(std::string_view bytes) {
    if (bytes.substr(0, ole2Signature.size()) == ole2Signature) return DocumentFormat::hwp;
    if (!looksLikeZip(bytes)) {
        throw DocumentError("HWP, HWPX, DOCX 문서가 아님(알 수 없는 파일 형식)");
    }
    ZipReader zip(bytes);
    if (zip.find("mimetype") && zip.find("Contents/content.hpf")) return DocumentFormat::hwpx;
    if (zip.find("[Content_Types].xml")) return DocumentFormat::docx;
    if (zip.find("mimetype")) return DocumentFormat::hwpx;
    throw DocumentError("HWPX도 DOCX도 아닌 ZIP 파일임");
}

Document readDocumentBytes(std::string_view bytes) {
    switch (sniffFormat(bytes)) {
        case DocumentFormat::hwp:
            return readHwp5(bytes);
        case DocumentFormat::hwpx:
            return readHwpx(bytes);
        case DocumentFormat::docx:
            return readDocx(bytes);
    }
    throw DocumentError("알 수 없는 문서 형식");
}

Document readDocument(const std::filesystem::path& path) {
    const std::string bytes = readFileBytes(path);
    return readDocumentBytes(bytes);
}

LoadedDocument loadDocument(const std::filesystem::path& path) {
    const std::string bytes = readFileBytes(path);
    const DocumentFormat format = sniffFormat(bytes);
    return LoadedDocument{format, readDocumentBytes(bytes)};
}

bool canWrite(DocumentFormat format) {
    return format == DocumentFormat::hwp || format == DocumentFormat::hwpx ||
           format == DocumentFormat::docx;
}

void requireWritable(DocumentFormat format) {
    if (!canWrite(format)) throw DocumentError("이 형식으로는 쓸 수 없음");
}

std::string documentBytes(const Document& document, DocumentFormat format) {
    requireWritable(format);
    switch (format) {
        case DocumentFormat::hwp:
            return writeHwp5(document);
        case DocumentFormat::hwpx:
            return writeHwpx(document);
        case DocumentFormat::docx:
            return writeDocx(document);
    }
    throw DocumentError("알 수 없는 문서 형식");
}

void writeDocument(const Document& document, const std::filesystem::path& path,
                   DocumentFormat format) {
    writeFileAtomically(path, documentBytes(document, format));
}

}  // namespace tavrino::docs
