#pragma once
// Plain text of the model: paragraphs in reading order, one per line; a table's cells row by
// row, each cell's paragraphs on lines of their own; a blank line between sections. Tabs
// stay tabs; line breaks become line feeds.

#include <string>
#include <vector>

#include "model/Document.h"

namespace tavrino::docs {

struct TextOptions {
    bool headersAndFooters = false;  // running heads, before and after the body
    bool notes = true;               // footnote and endnote text after the paragraph citing it
    bool shapes = true;              // text boxes and shapes after their anchoring paragraph
    bool listLabels = true;          // "1.", "가.", "•" before list paragraphs
};

// Each section's text, with list numbers running on from one section to the next.
std::vector<std::string> sectionTexts(const Document& document, const TextOptions& options = {});

// The sections' texts joined by one blank line.
std::string documentText(const Document& document, const TextOptions& options = {});

// The preview text both Korean formats store for file dialogs: the start of the document's
// text, at most `limit` bytes of UTF-8 cut at a character boundary, with CR LF line ends.
std::string previewText(const Document& document, std::size_t limit = 1024);

}  // namespace tavrino::docs
