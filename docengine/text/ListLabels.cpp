#include "text/ListLabels.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "model/BulletGlyph.h"

namespace tavrino::docs {
namespace {

// Splits a UTF-8 string of single characters into them.
std::vector<std::string> characters(std::string_view text) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        out.emplace_back(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string fromSequence(int number, std::string_view sequence) {
    const auto symbols = characters(sequence);
    return symbols[static_cast<size_t>(number - 1) % symbols.size()];
}

std::string roman(int number, bool upper) {
    static const std::array<std::pair<int, const char*>, 13> values{{{1000, "m"},
                                                                     {900, "cm"},
                                                                     {500, "d"},
                                                                     {400, "cd"},
                                                                     {100, "c"},
                                                                     {90, "xc"},
                                                                     {50, "l"},
                                                                     {40, "xl"},
                                                                     {10, "x"},
                                                                     {9, "ix"},
                                                                     {5, "v"},
                                                                     {4, "iv"},
                                                                     {1, "i"}}};
    std::string out;
    for (const auto& [value, text] : values) {
        while (number >= value)
            out += text, number -= value;
    }
    if (upper)
        std::transform(out.begin(), out.end(), out.begin(), [](char c) { return char(c - 32); });
    return out;
}

std::string letters(int number, bool upper) {
    const char base = upper ? 'A' : 'a';
    return std::string(static_cast<size_t>((number - 1) / 26 + 1), char(base + (number - 1) % 26));
}

}  // namespace

std::string formatNumber(int number, NumberFormat format) {
    if (number < 1) return std::to_string(number);
    switch (format) {
        case NumberFormat::upperRoman:
            return roman(std::min(number, 3999), true);
        case NumberFormat::lowerRoman:
            return roman(std::min(number, 3999), false);
        case NumberFormat::upperLetter:
            return letters(number, true);
        case NumberFormat::lowerLetter:
            return letters(number, false);
        case NumberFormat::ganada:
            return fromSequence(number, "가나다라마바사아자차카타파하");
        case NumberFormat::chosung:
            return fromSequence(number, "ㄱㄴㄷㄹㅁㅂㅅㅇㅈㅊㅋㅌㅍㅎ");
        case NumberFormat::circled:
            return number <= 20 ? fromSequence(number, "①②③④⑤⑥⑦⑧⑨⑩⑪⑫⑬⑭⑮⑯⑰⑱⑲⑳")
                                : std::to_string(number);
        case NumberFormat::hangulDigit:
            return number <= 10 ? fromSequence(number, "일이삼사오육칠팔구십")
                                : std::to_string(number);
        case NumberFormat::hanjaDigit:
            return number <= 10 ? fromSequence(number, "一二三四五六七八九十")
                                : std::to_string(number);
        default:
            return std::to_string(number);
    }
}

std::string ListLabels::next(const ListInfo& list) {
    if (list.kind == ListKind::none) return {};
    if (list.kind == ListKind::bullet)
        return list.bulletText.empty() ? "\u2022" : bulletGlyph(list.bulletText);
    const int level = std::clamp(list.level, 0, 8);
    // Each level's current number, empty while the level is unused since its parent changed.
    auto& counters = counters_[list.listId];
    counters.resize(9);
    // A level entered without its parents shows them as 1 and counts them as used: after
    // "4.1.1.2" a paragraph one level up is "4.1.2", not a second "4.1.1".
    for (int parent = 0; parent < level; ++parent) {
        auto& above = counters[static_cast<size_t>(parent)];
        if (!above) above = 1;
    }
    auto& counter = counters[static_cast<size_t>(level)];
    counter = counter ? *counter + 1 : std::max(list.start, 0);
    std::fill(counters.begin() + level + 1, counters.end(), std::nullopt);
    const std::string pattern =
        list.pattern.empty() ? "%" + std::to_string(level + 1) + "." : list.pattern;
    std::string label;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const int which = pattern[i + 1] - '1';
            const int value = counters[static_cast<size_t>(which)].value_or(1);
            label += formatNumber(value, which == level ? list.format : NumberFormat::decimal);
            ++i;
        } else {
            label += pattern[i];
        }
    }
    return label;
}

}  // namespace tavrino::docs
