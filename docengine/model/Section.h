#pragma once
// A section: one page setup and the blocks laid out with it, plus its running heads.

#include <cstdint>
#include <vector>

#include "model/Content.h"

namespace tavrino::docs {

// Page geometry in HWPUNIT. Width and height are the sheet as laid out: a landscape page has
// width > height. The margins follow the Korean formats: `top` is the distance from the
// sheet's edge to the header area, the body starts `top + header` below the edge (DOCX
// writers add them up; DOCX readers take them apart).
struct PageSetup {
    std::int32_t width = 59528;  // A4
    std::int32_t height = 84188;
    bool landscape = false;
    std::int32_t marginLeft = 8504;
    std::int32_t marginRight = 8504;
    std::int32_t marginTop = 5668;
    std::int32_t marginBottom = 4252;
    std::int32_t header = 4252;
    std::int32_t footer = 4252;
    std::int32_t gutter = 0;
    bool operator==(const PageSetup&) const = default;
};

struct Columns {
    int count = 1;
    std::int32_t gap = 0;
    bool operator==(const Columns&) const = default;
};

// Which pages a header or footer applies to.
enum class PageSide { both, odd, even, first };

struct HeaderFooter {
    PageSide side = PageSide::both;
    std::vector<Block> blocks;
    bool operator==(const HeaderFooter&) const = default;
};

// Where a section's first line goes. Only a new column layout in the Korean formats continues
// on the same page; Word documents may ask for any of these.
enum class SectionStart { newPage, continuous, newColumn, evenPage, oddPage };

struct Section {
    SectionStart start = SectionStart::newPage;
    PageSetup page;
    Columns columns;
    std::vector<HeaderFooter> headers;
    std::vector<HeaderFooter> footers;
    std::vector<Block> blocks;
    bool operator==(const Section&) const = default;
};

}  // namespace tavrino::docs
