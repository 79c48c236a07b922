#include <gtest/gtest.h>

#include "wheel/geometry/HubContent.h"

using namespace tavrino;
using namespace tavrino::wheel;

namespace {

std::vector<std::string> texts(const std::vector<HubLine>& lines) {
    std::vector<std::string> result;
    for (const HubLine& line : lines)
        result.push_back(line.text);
    return result;
}

DragInfo drag(std::vector<std::filesystem::path> paths, std::int64_t bytes) {
    return {std::move(paths), bytes, std::nullopt, std::nullopt, false};
}

const std::string hint = "한글 문서는\n조금 걸립니다";

}  // namespace

TEST(WorkingHub, StagesFollowTheWorkingTime) {
    EXPECT_TRUE(workingHubLines(0, 1, hint, 0.1).empty());
    EXPECT_TRUE(workingHubLines(0, 5, hint, 0.29).empty());
    EXPECT_EQ(texts(workingHubLines(0, 1, hint, 1.0)), (std::vector<std::string>{"변환 중…"}));
    EXPECT_EQ(texts(workingHubLines(0, 5, hint, 1.0)),
              (std::vector<std::string>{"1/5", "변환 중…"}));
    EXPECT_EQ(texts(workingHubLines(1, 5, hint, 2.5)),
              (std::vector<std::string>{"2/5", "한글 문서는", "조금 걸립니다"}));
    EXPECT_EQ(texts(workingHubLines(0, 1, hint, 2.0)),
              (std::vector<std::string>{"변환 중…", "한글 문서는", "조금 걸립니다"}));
}

TEST(WorkingHub, CounterNeverPassesTheTotal) {
    EXPECT_EQ(workingHubLines(5, 5, "", 1.0).front().text, "5/5");
    EXPECT_EQ(workingHubLines(4, 5, "", 1.0).front().text, "5/5");
    EXPECT_TRUE(workingHubLines(5, 5, "", 1.0).front().style.tabularDigits);
}

TEST(WorkingHub, HintPiecesSkipEmptyLines) {
    EXPECT_EQ(texts(workingHubLines(0, 1, "a\n\nb\n", 3.0)),
              (std::vector<std::string>{"변환 중…", "a", "b"}));
    EXPECT_EQ(workingHubLines(0, 1, "", 3.0).size(), 1u);
    const auto lines = workingHubLines(0, 3, hint, 2.5);
    EXPECT_EQ(lines[1].role, TextRole::secondary);
    EXPECT_EQ(lines[1].style.points, 8.5);
}

TEST(IdleHub, HoveredItemNamesTheAction) {
    const std::vector<WheelItem> slots{ToolItem{Tool::crop}, ToolItem{Tool::rotate},
                                       ConvertItem{Fmt::png}, FromWordItem{DocTarget::pdf}};
    EXPECT_EQ(texts(idleHubLines(slots, 0, std::nullopt)),
              (std::vector<std::string>{"자르기", "놓으면 창이 열림"}));
    EXPECT_EQ(idleHubLines(slots, 1, std::nullopt)[1].text, "놓아서 적용");
    EXPECT_EQ(idleHubLines(slots, 2, std::nullopt)[1].text, "놓아서 변환");
    EXPECT_EQ(idleHubLines(slots, 3, std::nullopt)[1].text, "놓아서 변환");
    // An index beyond the petals counts as none.
    EXPECT_EQ(texts(idleHubLines(slots, 9, std::nullopt)),
              (std::vector<std::string>{"변환", "놓으면 취소"}));
}

TEST(IdleHub, ShowsTheDrag) {
    const std::vector<WheelItem> none;
    EXPECT_EQ(texts(idleHubLines(none, std::nullopt, drag({"/a/b.png", "/c", "/d"}, 4'200'000))),
              (std::vector<std::string>{"4.2 MB", "파일 3개"}));
    const auto lines = idleHubLines(none, std::nullopt, drag({"/x/sample-screenshot.png"}, 1));
    EXPECT_EQ(lines[1].text, "sample-scree…");
    EXPECT_TRUE(lines[0].style.tabularDigits);
}

TEST(IdleHub, LongNamesAreCutByCharactersNotBytes) {
    EXPECT_EQ(dragNameText(drag({"/t/abcdefghijklmnopq"}, 0)), "abcdefghijkl…");  // 17
    EXPECT_EQ(dragNameText(drag({"/t/abcdefghijklm"}, 0)), "abcdefghijklm");      // 13
    EXPECT_EQ(dragNameText(drag({"/t/abcdefghijklmn"}, 0)), "abcdefghijkl…");     // 14
    // Korean: 14 characters of 3 bytes each are cut after 12 characters.
    EXPECT_EQ(dragNameText(drag({"/t/가나다라마바사아자차카타파하"}, 0)),
              "가나다라마바사아자차카타…");
    EXPECT_EQ(dragNameText(drag({"/t/보고서.hwp"}, 0)), "보고서.hwp");
}

TEST(ByteCount, DecimalUnitsWithOneDecimal) {
    EXPECT_EQ(byteCountText(0), "0 bytes");
    EXPECT_EQ(byteCountText(1), "1 byte");
    EXPECT_EQ(byteCountText(999), "999 bytes");
    EXPECT_EQ(byteCountText(84211), "84.2 KB");
    EXPECT_EQ(byteCountText(1234567), "1.2 MB");
    EXPECT_EQ(byteCountText(999'960), "1.0 MB");  // never "1000.0 KB"
    EXPECT_EQ(byteCountText(5'000'000'000), "5.0 GB");
}

TEST(ResultHub, ShortLinesAreLarger) {
    EXPECT_EQ(resultLinePoints("12345678"), 11);
    EXPECT_EQ(resultLinePoints("123456789"), 9.5);
    EXPECT_EQ(resultLinePoints("1개는 이미 PNG"), 9.5);  // 10 characters, 18 bytes
    EXPECT_EQ(resultLinePoints("99개 완료"), 11);        // 6 characters, 12 bytes
}
