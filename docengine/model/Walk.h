#pragma once
// Visiting every paragraph and table of a document in reading order, including those inside
// tables, shapes, notes and running heads. Text export, statistics and the round-trip checks
// all walk the tree the same way.

#include <functional>
#include <vector>

#include "model/Document.h"

namespace tavrino::docs {

struct Visitor {
    std::function<void(const Paragraph&)> paragraph;  // each paragraph, before its inlines
    std::function<void(const Table&)> table;          // each table, before its cells
};

// Walks the blocks and everything nested in them, depth first: a paragraph, then the blocks
// of the shapes and notes it carries; a table, then its cells row by row.
void walk(const std::vector<Block>& blocks, const Visitor& visitor);

// Walks one section: headers, then the body, then footers.
void walk(const Section& section, const Visitor& visitor);

struct DocumentStats {
    int paragraphs = 0;  // every paragraph, nested ones included
    int tables = 0;
    int cells = 0;
    int pictures = 0;
    int equations = 0;
    int shapes = 0;
    int notes = 0;
    bool operator==(const DocumentStats&) const = default;
};

DocumentStats statistics(const Document& document);

}  // namespace tavrino::docs
