#include "pdf/FontMap.h"

#include <array>
#include <utility>

namespace tavrino::docs {
namespace {

// The installed families each kind falls to, best first. fontconfig takes the first one that
// is installed and, for a character it lacks, the next that has it; Noto CJK comes first for
// its complete Hangul and Hanja, the Nanum and Un families after it.
constexpr std::array<std::pair<FontKind, std::string_view>, 4> kFamilies{{
    {FontKind::serif, "Noto Serif CJK KR,NanumMyeongjo,UnBatang,Baekmuk Batang,Liberation Serif"},
    {FontKind::sans,
     "Noto Sans CJK KR,NanumGothic,NanumBarunGothic,UnDotum,Baekmuk Gulim,"
     "Liberation Sans"},
    {FontKind::mono, "Noto Sans Mono CJK KR,NanumGothicCoding,Liberation Mono,DejaVu Sans Mono"},
    {FontKind::brush, "UnGungseo,Noto Serif CJK KR,NanumMyeongjo,UnBatang"},
}};

// Faces met in Korean and Word documents whose names do not tell their kind by a word below.
// Latin faces with metric-compatible fonts (Arial, Times New Roman, Calibri, ...) are left to
// the system's own aliases, which keep their line breaks.
constexpr std::array<std::pair<std::string_view, FontKind>, 14> kFaces{{
    {"굴림", FontKind::sans},
    {"Gulim", FontKind::sans},
    {"새굴림", FontKind::sans},
    {"궁서", FontKind::brush},
    {"Gungsuh", FontKind::brush},
    {"HY헤드라인M", FontKind::sans},
    {"HY그래픽", FontKind::sans},
    {"HY엽서M", FontKind::sans},
    {"HY신명조", FontKind::serif},
    {"신명 세명조", FontKind::serif},
    {"양재튼튼체B", FontKind::sans},
    {"Courier New", FontKind::mono},
    {"D2Coding", FontKind::mono},
    {"MS Mincho", FontKind::serif},
}};

// Words Korean face names are built from, in order of precedence: the first one the name holds
// decides ("HY견명조" is serif, "한컴 윤고딕" sans, "나눔고딕코딩" mono).
constexpr std::array<std::pair<std::string_view, FontKind>, 18> kWords{{
    {"궁서", FontKind::brush},
    {"코딩", FontKind::mono},
    {"Mono", FontKind::mono},
    {"Coding", FontKind::mono},
    {"명조", FontKind::serif},
    {"바탕", FontKind::serif},
    {"Batang", FontKind::serif},
    {"Myeongjo", FontKind::serif},
    {"Mincho", FontKind::serif},
    {"Serif", FontKind::serif},
    {"고딕", FontKind::sans},
    {"돋움", FontKind::sans},
    {"굴림", FontKind::sans},
    {"Gothic", FontKind::sans},
    {"Dotum", FontKind::sans},
    {"Gulim", FontKind::sans},
    {"헤드라인", FontKind::sans},
    {"Sans", FontKind::sans},
}};

std::string_view familiesOf(FontKind kind) {
    for (const auto& [k, families] : kFamilies) {
        if (k == kind) return families;
    }
    return kFamilies[1].second;
}

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
}

// One rule: a requested family equal to (or containing) `name` gets `kind`'s families after
// it (our rules run before the system's, so the list then holds only the requested family and
// what earlier rules of ours added). An installed face is still used as asked; a missing one falls
// to ours before the system's generic fallbacks, which the included configuration appends later
// (strong binding makes ours win over them). When several word rules match, the earlier rule's
// families come first, which keeps the order of precedence of fontKind.
void appendRule(std::string& out, std::string_view name, bool contains, FontKind kind) {
    out += "  <match target=\"pattern\">\n    <test name=\"family\" compare=\"";
    out += contains ? "contains" : "eq";
    out += "\" ignore-blanks=\"true\"><string>";
    appendEscaped(out, name);
    out += "</string></test>\n    <edit name=\"family\" mode=\"append_last\" binding=\"strong\">";
    std::string_view families = familiesOf(kind);
    while (!families.empty()) {
        const std::size_t comma = families.find(',');
        out += "<string>";
        appendEscaped(out, families.substr(0, comma));
        out += "</string>";
        families = comma == std::string_view::npos ? "" : families.substr(comma + 1);
    }
    out += "</edit>\n  </match>\n";
}

}  // namespace

FontKind fontKind(std::string_view face) {
    for (const auto& [name, kind] : kFaces) {
        if (name == face) return kind;
    }
    for (const auto& [word, kind] : kWords) {
        if (face.find(word) != std::string_view::npos) return kind;
    }
    return FontKind::sans;
}

std::string fontconfigFile() {
    std::string out =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<fontconfig>\n";
    for (const auto& [name, kind] : kFaces)
        appendRule(out, name, false, kind);
    for (const auto& [word, kind] : kWords)
        appendRule(out, word, true, kind);
    // Faces of the word processor named by neither list (함초롬돋움 is caught by 돋움, but
    // 한컴 faces like "한양해서" are not): anything Hangul-named that is not installed ends up in
    // the system's default, which fontconfig already resolves to an installed CJK sans.
    out += "  <include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n</fontconfig>\n";
    return out;
}

}  // namespace tavrino::docs
