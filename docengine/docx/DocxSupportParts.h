#pragma once
// The parts around the body: styles, numbering, settings, notes, document properties, the
// content types and the package relationships.

#include <string>

#include "docx/DocxPartWriter.h"

namespace tavrino::docs {

// Adds every part besides the body and its headers to `output`, relating them from `body`.
void writeSupportParts(DocxOutput& output, DocxPartWriter& body);

std::string contentTypesXml(const DocxOutput& output);
std::string packageRelationshipsXml(const DocxOutput& output);

}  // namespace tavrino::docs
