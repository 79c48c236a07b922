#include "hwp5/ModelBuilder.h"

#include <algorithm>
#include <variant>

#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {
namespace {

PageSide pageSide(int applyTo) {
    switch (applyTo) {
        case 1:
            return PageSide::even;
        case 2:
            return PageSide::odd;
        default:
            return PageSide::both;
    }
}

PageSetup pageSetup(const PageDef& p) {
    PageSetup page;
    page.landscape = p.landscape;
    // The file keeps the sheet in portrait terms and flags landscape; the model wants the sheet
    // as laid out.
    page.width = p.landscape ? p.height : p.width;
    page.height = p.landscape ? p.width : p.height;
    page.marginLeft = p.left;
    page.marginRight = p.right;
    page.marginTop = p.top;
    page.marginBottom = p.bottom;
    page.header = p.header;
    page.footer = p.footer;
    page.gutter = p.gutter;
    return page;
}

}  // namespace

Document buildDocument(const Hwp5File& file) {
    return ModelBuilder(file).build();
}

Document ModelBuilder::build() {
    const Summary& s = file_.summary;
    doc_.info.title = s.title;
    doc_.info.subject = s.subject;
    doc_.info.author = s.author;
    doc_.info.keywords = s.keywords;
    doc_.info.description = s.comments;
    doc_.info.lastModifiedBy = s.lastSavedBy;
    doc_.info.created = s.created;
    doc_.info.modified = s.modified;
    doc_.info.language = "ko-KR";
    for (const ParagraphList& section : file_.sections)
        buildSection(section);
    if (file_.missingBinData > 0) doc_.dropped.add("picture", file_.missingBinData);
    return std::move(doc_);
}

namespace {

bool definesColumns(const hwp5::Paragraph& p) {
    return std::any_of(p.controls.begin(), p.controls.end(),
                       [](const Control& c) { return std::holds_alternative<ColumnDef>(c.body); });
}

}  // namespace

void ModelBuilder::buildSection(const ParagraphList& paragraphs) {
    Section section;
    state_ = SectionState{&section};
    if (!paragraphs.empty()) takeOutlineNumbering(paragraphs.front());
    for (const hwp5::Paragraph& p : paragraphs) {
        // A column layout set again further down (a multi-column break) goes on in the same
        // page: in the model, a section of its own that starts without a new page.
        if (state_.columnsSet && definesColumns(p)) {
            Section next;
            next.start = SectionStart::continuous;
            next.page = section.page;
            doc_.sections.push_back(std::move(section));
            section = std::move(next);
            state_ = SectionState{&section, true, false};
        }
        appendParagraph(p, section.blocks);
    }
    doc_.sections.push_back(std::move(section));
    state_ = SectionState{};
}

void ModelBuilder::takeOutlineNumbering(const hwp5::Paragraph& first) {
    for (const Control& c : first.controls)
        if (auto* def = std::get_if<SectionDef>(&c.body)) outlineNumbering_ = def->outlineNumbering;
}

std::vector<Block> ModelBuilder::blocks(const ParagraphList& paragraphs) {
    std::vector<Block> out;
    for (const hwp5::Paragraph& p : paragraphs)
        appendParagraph(p, out);
    return out;
}

void ModelBuilder::sectionControl(const Control& c) {
    Section* section = state_.section;
    if (auto* def = std::get_if<SectionDef>(&c.body)) {
        // Master pages are page backgrounds the model has no place for.
        if (def->masterPages > 0) doc_.dropped.add("masterPage", def->masterPages);
        if (section && def->hasPageDef && !state_.pageSet) {
            section->page = pageSetup(def->page);
            state_.pageSet = true;
        }
    } else if (auto* cols = std::get_if<ColumnDef>(&c.body)) {
        if (section && !state_.columnsSet) {
            section->columns = Columns{cols->count, cols->gap};
            state_.columnsSet = true;
        }
    } else if (auto* hf = std::get_if<hwp5::HeaderFooter>(&c.body)) {
        docs::HeaderFooter out{pageSide(hf->applyTo), blocks(hf->paragraphs)};
        if (!section) return;  // running heads only mean something in a section's body
        (hf->footer ? section->footers : section->headers).push_back(std::move(out));
    } else if (auto* other = std::get_if<OtherControl>(&c.body)) {
        switch (c.id) {
            case ctrlId("form"):
                doc_.dropped.add("form");
                break;
            case ctrlId("tcmt"):
                doc_.dropped.add("comment");
                break;
            case ctrlId("tdut"):
            case ctrlId("tcps"):
                doc_.dropped.add("dutmal");
                break;
            default:
                if (!other->paragraphs.empty()) doc_.dropped.add("control");
        }
    }
}

}  // namespace tavrino::docs::hwp5
