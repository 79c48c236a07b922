#include "hwpx/HwpxSectionWriter.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "hwpx/HwpxNames.h"
#include "hwpx/HwpxObjects.h"
#include "xml/XmlWriter.h"

namespace tavrino::docs {
namespace {

class SectionWriter {
  public:
    SectionWriter(HwpxHeaderWriter& header, std::set<std::size_t>& usedMedia,
                  std::size_t mediaCount)
        : objects_(header, usedMedia, mediaCount,
                   [this](pugi::xml_node parent, const std::vector<Block>& blocks) {
                       writeBlocks(parent, blocks);
                   }),
          header_(header) {}

    std::string write(const Section& section) {
        pugi::xml_document document;
        pugi::xml_node sec = startXml(document, "hs:sec", hwpxRootNamespaces());
        section_ = &section;
        if (section.blocks.empty()) {
            writeBlocks(sec, std::vector<Block>(1));
        } else {
            writeBlocks(sec, section.blocks);
        }
        return xmlBytes(document);
    }

  private:
    void writeBlocks(pugi::xml_node parent, const std::vector<Block>& blocks) {
        for (const Block& block : blocks) {
            if (const auto* paragraph = std::get_if<Paragraph>(&block.content)) {
                writeParagraph(parent, *paragraph);
            } else {
                const auto& table = std::get<Table>(block.content);
                Paragraph carrier;
                pugi::xml_node run = openParagraph(parent, carrier).append_child("hp:run");
                set(run, "charPrIDRef", 0);
                startSection(run);
                objects_.writeTable(run, table);
                run.append_child("hp:t");
            }
        }
    }

    pugi::xml_node openParagraph(pugi::xml_node parent, const Paragraph& paragraph) {
        pugi::xml_node p = parent.append_child("hp:p");
        set(p, "id", 0);
        set(p, "paraPrIDRef", header_.paraPr(paragraph.props));
        set(p, "styleIDRef", 0);
        set(p, "pageBreak", paragraph.props.pageBreakBefore ? 1 : 0);
        set(p, "columnBreak", paragraph.props.columnBreakBefore ? 1 : 0);
        set(p, "merged", 0);
        return p;
    }

    // The section's own settings ride on the first run of its first paragraph.
    void startSection(pugi::xml_node run) {
        if (!section_) return;
        const Section* section = std::exchange(section_, nullptr);  // heads hold paragraphs too
        objects_.writeSectionProperties(run, *section);
    }

    // A page or column break inside a paragraph has no inline form in OWPML: the paragraph
    // is continued in a new one that starts with the break.
    void writeParagraph(pugi::xml_node parent, const Paragraph& paragraph) {
        pugi::xml_node p = openParagraph(parent, paragraph);
        bool hasContent = false;
        for (const TextRun& source : paragraph.runs) {
            pugi::xml_node run = p.append_child("hp:run");
            set(run, "charPrIDRef", header_.charPr(source.props));
            startSection(run);
            pugi::xml_node text;
            for (const Inline& item : source.content) {
                if (const auto* brk = std::get_if<Break>(&item);
                    brk && brk->kind != BreakKind::line) {
                    const char* attribute =
                        brk->kind == BreakKind::page ? "pageBreak" : "columnBreak";
                    if (hasContent) {
                        p = openParagraph(parent, paragraph);
                        p.attribute("pageBreak").set_value(0);
                        run = p.append_child("hp:run");
                        set(run, "charPrIDRef", header_.charPr(source.props));
                        text = pugi::xml_node();
                        hasContent = false;
                    }
                    p.attribute(attribute).set_value(1);
                    continue;
                }
                hasContent = true;
                objects_.writeInline(run, text, item);
            }
            if (!run.last_child() || std::string_view(run.last_child().name()) != "hp:t") {
                run.append_child("hp:t");
            }
        }
        if (paragraph.runs.empty()) {
            pugi::xml_node run = p.append_child("hp:run");
            set(run, "charPrIDRef", 0);
            startSection(run);
            run.append_child("hp:t");
        }
    }

    HwpxObjectWriter objects_;
    HwpxHeaderWriter& header_;
    const Section* section_ = nullptr;
};

}  // namespace

std::string hwpxMediaId(std::size_t mediaIndex) {
    return "image" + std::to_string(mediaIndex + 1);
}

std::string writeHwpxSection(const Section& section, HwpxHeaderWriter& header,
                             std::set<std::size_t>& usedMedia, std::size_t mediaCount) {
    SectionWriter writer(header, usedMedia, mediaCount);
    return writer.write(section);
}

}  // namespace tavrino::docs
