#include "risk/RiskAnalysis.h"

#include <cstdio>
#include <map>
#include <string_view>

namespace tavrino::docs {
namespace {

// What the readers count in Document::dropped, in words a user understands. Every one of
// these is missing from the converted document.
std::string droppedMessage(const std::string& code, int count) {
    static const std::map<std::string, std::string, std::less<>> sentences{
        {"comment", "메모 {n}개는 옮겨지지 않음"},
        {"trackChange", "변경 추적 {n}곳은 고친 뒤의 모습으로만 옮겨지고 기록은 빠짐"},
        {"ole", "OLE 개체(차트·표 계산 등) {n}개는 옮겨지지 않음"},
        {"chart", "차트 {n}개는 옮겨지지 않음"},
        {"form", "양식 개체 {n}개는 옮겨지지 않음"},
        {"drawing", "그리기 개체 {n}개는 옮겨지지 않음"},
        {"symbol", "기호 글꼴로 쓴 글자 {n}개는 빠짐"},
        {"altChunk", "끼워 넣은 다른 문서 {n}개는 옮겨지지 않음"},
        {"missingPicture", "파일 안에서 찾을 수 없는 그림 {n}개는 빠짐"},
        {"picture", "읽을 수 없는 그림 {n}개는 빠짐"},
        {"masterPage", "바탕쪽 {n}개는 옮겨지지 않음"},
        {"dutmal", "덧말 {n}개는 옮겨지지 않음"},
        {"textArt", "글맵시 {n}개는 옮겨지지 않음"},
        {"fillImage", "그림으로 채운 칸 {n}개는 그림 없이 옮겨짐"},
        {"control", "옮길 수 없는 조판 부호 {n}개는 빠짐"},
        {"video", "동영상 {n}개는 옮겨지지 않음"},
        {"textart", "글맵시 {n}개는 옮겨지지 않음"},
        {"compose", "글자 겹치기 {n}개는 옮겨지지 않음"},
        {"btn", "명령 단추 {n}개는 옮겨지지 않음"},
        {"checkBtn", "선택 상자 {n}개는 옮겨지지 않음"},
        {"radioBtn", "라디오 단추 {n}개는 옮겨지지 않음"},
        {"comboBox", "목록 상자 {n}개는 옮겨지지 않음"},
        {"listBox", "목록 상자 {n}개는 옮겨지지 않음"},
        {"edit", "입력 상자 {n}개는 옮겨지지 않음"},
        {"scrollBar", "스크롤 막대 {n}개는 옮겨지지 않음"},
    };
    const auto found = sentences.find(code);
    // The code comes from the file (HWPX element names), so it never becomes a format.
    std::string text =
        found != sentences.end() ? found->second : "옮길 수 없는 요소(" + code + ") {n}개는 빠짐";
    const size_t at = text.find("{n}");
    return text.replace(at, 3, std::to_string(count));
}

std::string counted(std::string_view before, int count, std::string_view after) {
    return std::string(before) + std::to_string(count) + std::string(after);
}

// Counts, over the whole tree, the constructs whose conversion changes them. Depth of
// tables and text boxes is tracked because nesting is what the targets handle differently.
struct Census {
    int nestedTables = 0;
    int equations = 0;
    int drawings = 0;  // shapes that are not text boxes with text
    int notesInBoxes = 0;
    int boxesInBoxes = 0;
    int fieldsAsText = 0;  // fields Word gets only as their result text
    int firstPageRunningHeads = 0;

    void blocks(const std::vector<Block>& list, int tableDepth, int boxDepth) {
        for (const Block& block : list) {
            if (const auto* paragraph = std::get_if<Paragraph>(&block.content)) {
                for (const TextRun& run : paragraph->runs) {
                    for (const Inline& item : run.content)
                        inlineItem(item, tableDepth, boxDepth);
                }
            } else {
                const Table& table = std::get<Table>(block.content);
                if (tableDepth > 0) ++nestedTables;
                for (const TableRow& row : table.rows) {
                    for (const TableCell& cell : row.cells)
                        blocks(cell.blocks, tableDepth + 1, boxDepth);
                }
                blocks(table.caption, tableDepth, boxDepth);
            }
        }
    }

    void inlineItem(const Inline& item, int tableDepth, int boxDepth) {
        if (const auto* picture = std::get_if<Picture>(&item)) {
            blocks(picture->caption, tableDepth, boxDepth);
        } else if (std::holds_alternative<Equation>(item)) {
            ++equations;
        } else if (const auto* shape = std::get_if<Shape>(&item)) {
            const bool hasText = !shape->blocks.empty() || !shape->caption.empty();
            if (shape->kind != ShapeKind::textBox && shape->kind != ShapeKind::rectangle) {
                ++drawings;
            } else if (!hasText) {
                ++drawings;
            }
            if (boxDepth > 0) ++boxesInBoxes;
            blocks(shape->blocks, tableDepth, boxDepth + 1);
            blocks(shape->caption, tableDepth, boxDepth + 1);
        } else if (const auto* note = std::get_if<Note>(&item)) {
            if (boxDepth > 0) ++notesInBoxes;
            blocks(note->blocks, tableDepth, boxDepth);
        } else if (const auto* field = std::get_if<FieldStart>(&item)) {
            const bool kept = (field->kind == FieldKind::hyperlink && !field->target.empty()) ||
                              field->kind == FieldKind::pageNumber ||
                              field->kind == FieldKind::pageCount;
            if (!kept) ++fieldsAsText;
        }
    }

    void document(const Document& document) {
        for (const Section& section : document.sections) {
            for (const auto* heads : {&section.headers, &section.footers}) {
                for (const HeaderFooter& running : *heads) {
                    if (running.side == PageSide::first) ++firstPageRunningHeads;
                    blocks(running.blocks, 0, 0);
                }
            }
            blocks(section.blocks, 0, 0);
        }
    }
};

void add(std::vector<Risk>& risks, std::string code, int count, std::string message) {
    if (count > 0) risks.push_back({std::move(code), count, std::move(message)});
}

// Word to HWP/HWPX: equations arrive as their bare text, nested tables keep the widths Word
// would have fitted to the cell, and OWPML has no header or footer for the first page only.
void wordRisks(const Census& census, std::vector<Risk>& risks) {
    const int n = census.nestedTables;
    add(risks, "nestedTable", n, counted("표 안에 표가 ", n, "개 있어 모양이 바뀔 수 있음"));
    const int e = census.equations;
    add(risks, "equation", e, counted("수식 ", e, "개는 글자만 옮겨져 모양이 바뀜"));
    const int f = census.firstPageRunningHeads;
    add(risks, "firstPageHeader", f, counted("첫 쪽에만 쓰는 머리말·꼬리말 ", f, "개는 빠짐"));
}

// HWP/HWPX to Word: what our DOCX writer writes differently from the source.
void koreanRisks(const Census& census, std::vector<Risk>& risks) {
    const int e = census.equations;
    add(risks, "equation", e, counted("수식 ", e, "개는 수식 문자열 그대로 옮겨짐"));
    const int d = census.drawings;
    add(risks, "drawing", d, counted("그리기 개체 ", d, "개는 빠지거나 글상자로 바뀜"));
    const int b = census.boxesInBoxes;
    add(risks, "nestedTextBox", b,
        counted("글상자 안의 글상자 ", b, "개는 바깥 상자 뒤의 글로 옮겨짐"));
    const int notes = census.notesInBoxes;
    add(risks, "noteInTextBox", notes, counted("글상자 안의 각주·미주 ", notes, "개는 빠짐"));
    const int fields = census.fieldsAsText;
    add(risks, "field", fields,
        counted("누름틀·날짜 같은 필드 ", fields, "개는 보이는 글자로만 옮겨짐"));
}

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

}  // namespace

std::vector<Risk> conversionRisks(const Document& document, DocumentFormat source) {
    std::vector<Risk> risks;
    for (const auto& [code, count] : document.dropped.counts)
        add(risks, code, count, droppedMessage(code, count));
    Census census;
    census.document(document);
    if (source == DocumentFormat::docx) {
        wordRisks(census, risks);
    } else {
        koreanRisks(census, risks);
    }
    return risks;
}

std::string risksJson(const std::vector<Risk>& risks) {
    std::string out = "{\"risks\":[";
    for (size_t i = 0; i < risks.size(); ++i) {
        if (i > 0) out += ',';
        out += "{\"code\":";
        appendJsonString(out, risks[i].code);
        out += ",\"count\":" + std::to_string(risks[i].count) + ",\"message\":";
        appendJsonString(out, risks[i].message);
        out += '}';
    }
    return out + "]}";
}

}  // namespace tavrino::docs
