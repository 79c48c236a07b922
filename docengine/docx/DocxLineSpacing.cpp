#include "docx/DocxLineSpacing.h"

#include <algorithm>
#include <cstdint>
#include <variant>

#include "docx/DocxUnits.h"

namespace tavrino::docs {
namespace {

// The size the writer's document defaults give a run that sets none (w:sz 20).
constexpr std::int32_t kDefaultSize = 1000;

// The largest character size of the paragraph, in 1/100 pt; the word processor sets each line
// by its largest character, and a paragraph's lines almost always share one size.
std::int32_t largestSize(const Paragraph& paragraph) {
    std::int32_t largest = 0;
    std::int32_t any = 0;
    for (const TextRun& run : paragraph.runs) {
        const std::int32_t size = run.props.size > 0 ? run.props.size : kDefaultSize;
        any = std::max(any, size);
        const bool shows = std::any_of(run.content.begin(), run.content.end(), [](const auto& x) {
            const auto* text = std::get_if<Text>(&x);
            return (text != nullptr && !text->text.empty()) || std::holds_alternative<Tab>(x);
        });
        if (shows) largest = std::max(largest, size);
    }
    // An empty paragraph is as tall as its mark, which carries its runs' size.
    if (largest == 0) largest = any > 0 ? any : kDefaultSize;
    return largest;
}

// Whether something in the line may stand taller than the text: a fixed pitch would clip it.
bool holdsInlineObject(const Paragraph& paragraph) {
    for (const TextRun& run : paragraph.runs) {
        for (const Inline& item : run.content) {
            if (const auto* picture = std::get_if<Picture>(&item)) {
                if (picture->inlineWithText) return true;
            } else if (const auto* shape = std::get_if<Shape>(&item)) {
                if (shape->inlineWithText) return true;
            } else if (std::holds_alternative<Equation>(item)) {
                return true;
            }
        }
    }
    return false;
}

int clampedTwips(std::int64_t hwp) {
    return hwpToTwips(static_cast<int>(std::clamp<std::int64_t>(hwp, 1, INT32_MAX)));
}

}  // namespace

std::optional<DocxLineSpacing> docxLineSpacing(const Paragraph& paragraph) {
    const LineSpacing& spacing = paragraph.props.lineSpacing;
    if (spacing.value <= 0) return std::nullopt;
    const std::string pitchRule = holdsInlineObject(paragraph) ? "atLeast" : "exact";
    // Character sizes in 1/100 pt are HWPUNIT lengths too (100 HWPUNIT = 1 pt).
    const std::int64_t size = largestSize(paragraph);
    switch (spacing.rule) {
        case LineSpacingRule::multiple:
            return DocxLineSpacing{static_cast<int>(std::min<std::int64_t>(
                                       std::int64_t{spacing.value} * 240 / 100, INT32_MAX)),
                                   "auto"};
        case LineSpacingRule::percent:
            return DocxLineSpacing{std::max(1, clampedTwips(size * spacing.value / 100)),
                                   pitchRule};
        case LineSpacingRule::between:
            // Only the gap between lines is given: the pitch is the text plus the gap.
            return DocxLineSpacing{std::max(1, clampedTwips(size + spacing.value)), pitchRule};
        case LineSpacingRule::exact:
            return DocxLineSpacing{clampedTwips(spacing.value), "exact"};
        case LineSpacingRule::atLeast:
            return DocxLineSpacing{clampedTwips(spacing.value), "atLeast"};
    }
    return std::nullopt;
}

}  // namespace tavrino::docs
