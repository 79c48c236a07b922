#pragma once
// List ids the Korean readers hand out. A paragraph head refers to a numbering or a bullet by
// its 1-based id; the two tables count apart, so bullets take ids from kBulletListBase on.
// Outline (개요) paragraphs are numbered by the section's outline numbering, one counter for
// the whole document apart from every numbered list: the readers give them a numbered
// ListInfo under kOutlineListId, so that every writer and the text export number them like
// any list, and the Korean writers can tell them from lists again.

#include <algorithm>
#include <array>
#include <string>

#include "model/Style.h"

namespace tavrino::docs {

inline constexpr int kBulletListBase = 1000;
inline constexpr int kOutlineListId = 9000;

// The look of outline level `level` (0-based) where the document defines none: the word
// processor's own "1.", "가.", "1)", "가)", "(1)", "(가)", "①".
inline ListInfo defaultOutlineLevel(int level) {
    struct Look {
        NumberFormat format;
        const char* pattern;
    };
    static constexpr std::array<Look, 7> looks{{{NumberFormat::decimal, "%1."},
                                                {NumberFormat::ganada, "%2."},
                                                {NumberFormat::decimal, "%3)"},
                                                {NumberFormat::ganada, "%4)"},
                                                {NumberFormat::decimal, "(%5)"},
                                                {NumberFormat::ganada, "(%6)"},
                                                {NumberFormat::circled, "%7"}}};
    ListInfo list;
    list.kind = ListKind::numbered;
    list.level = std::clamp(level, 0, 8);  // Word's nine levels
    list.listId = kOutlineListId;
    if (list.level < int(looks.size())) {
        list.format = looks[size_t(list.level)].format;
        list.pattern = looks[size_t(list.level)].pattern;
    } else {
        list.pattern = "%" + std::to_string(list.level + 1) + ".";
    }
    return list;
}

// Whether `props` is an outline paragraph rather than an item of a numbered list.
inline bool isOutline(const ParaProps& props) {
    return props.outlineLevel >= 0 && props.list.listId == kOutlineListId;
}

}  // namespace tavrino::docs
