#pragma once
// The one way the tools read and write documents. The reader is chosen by the file's
// content (its signature), not by its name, so a renamed file still reads correctly and a
// file that is not what its name says is refused clearly.

#include <filesystem>
#include <string>
#include <string_view>

#include "model/Document.h"

namespace tavrino::docs {

enum class DocumentFormat { hwp, hwpx, docx };

// The format of a document held in memory, by its signature; throws DocumentError when
// none matches.
DocumentFormat sniffFormat(std::string_view bytes);

// The format named by a path's extension (case-insensitive); throws DocumentError for others.
DocumentFormat formatFromExtension(const std::filesystem::path& path);

std::string_view formatName(DocumentFormat format);

// Reads any supported document. Throws DocumentError with a one-line description.
Document readDocument(const std::filesystem::path& path);

struct LoadedDocument {
    DocumentFormat format;
    Document document;
};

// Reads a document and says which format it was in.
LoadedDocument loadDocument(const std::filesystem::path& path);

// Reads a document held in memory (the fuzz targets and tests use this).
Document readDocumentBytes(std::string_view bytes);

// Writes `document` to `path` in `format`. The bytes go to a temporary sibling first and are
// renamed into place only when complete; on failure nothing is left at `path`. Output is
// deterministic: zip entry times and generated identifiers are fixed, so equal documents
// give equal bytes.
void writeDocument(const Document& document, const std::filesystem::path& path,
                   DocumentFormat format);

// Whether writeDocument can produce `format` at all; tools ask before reading a source.
bool canWrite(DocumentFormat format);

// Throws the DocumentError writeDocument would throw for a format it cannot produce.
void requireWritable(DocumentFormat format);

// The bytes writeDocument would write.
std::string documentBytes(const Document& document, DocumentFormat format);

}  // namespace tavrino::docs
