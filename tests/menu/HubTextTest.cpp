// The wording of a run's result and its placement inside the hub's text circle.

#include <gtest/gtest.h>

#include <cmath>

#include "menu/HubText.h"

namespace tavrino {
namespace {

TEST(FinishMessage, WordsEachOutcome) {
    EXPECT_EQ(finishMessage(99, 99, 0, std::nullopt, "PNG"), (FinishMessage{true, "99개 완료"}));
    EXPECT_EQ(finishMessage(1, 1, 0, std::nullopt, "PNG"), (FinishMessage{true, "완료"}));
    EXPECT_EQ(finishMessage(1, 1, 0, "2016×1512", "크기 50%"), (FinishMessage{true, "2016×1512"}));
    EXPECT_EQ(finishMessage(1, 0, 1, std::nullopt, "PNG"), (FinishMessage{true, "1개는 이미 PNG"}));
    EXPECT_EQ(finishMessage(3, 2, 1, "note", "PNG"), (FinishMessage{true, "1개는 이미 PNG"}))
        << "the done count is not mentioned next to skips";
    EXPECT_EQ(finishMessage(1, 0, 0, std::nullopt, "PNG"), (FinishMessage{false, "실패"}));
    EXPECT_EQ(finishMessage(3, 0, 0, std::nullopt, "PNG"), (FinishMessage{false, "실패"}));
    EXPECT_EQ(finishMessage(3, 1, 1, std::nullopt, "PNG"),
              (FinishMessage{false, "1개 완료\n1개 건너뜀\n1개 실패"}));
    EXPECT_EQ(finishMessage(4, 2, 1, std::nullopt, "PNG"),
              (FinishMessage{false, "2개 완료\n1개 건너뜀\n1개 실패"}));
    EXPECT_EQ(finishMessage(3, 0, 2, std::nullopt, "PNG"),
              (FinishMessage{false, "2개 건너뜀\n1개 실패"}));
    EXPECT_EQ(finishMessage(2500, 2499, 0, std::nullopt, "PNG").text, "2499개 완료\n1개 실패")
        << "numbers are never grouped";
}

TEST(FinishMessage, NoOutcomeOfUpToFourFilesIsEmpty) {
    for (int total = 1; total <= 4; ++total) {
        for (int ok = 0; ok <= total; ++ok) {
            for (int skipped = 0; ok + skipped <= total; ++skipped) {
                for (const auto& note :
                     {std::optional<std::string>{}, std::optional<std::string>{"n"}}) {
                    const auto message = finishMessage(total, ok, skipped, note, "JPG");
                    EXPECT_FALSE(message.text.empty()) << total << ok << skipped;
                    EXPECT_EQ(message.ok, ok + skipped == total);
                }
            }
        }
    }
}

TEST(HubTextLayout, CentresBadgeAndLinesAsOneBlock) {
    EXPECT_EQ(HubText::layout(1, 15), (HubPlacement{-10, {18}}));
    EXPECT_EQ(HubText::layout(0, 15), (HubPlacement{-10, {18}}));
    const HubPlacement three = HubText::layout(3, 12);
    // Block: 24-point badge + 3-point gap + 36 points of lines = 63, centred.
    EXPECT_DOUBLE_EQ(three.badgeY, -31.5 + 12);
    ASSERT_EQ(three.lineY.size(), 3u);
    EXPECT_DOUBLE_EQ(three.lineY[0], -31.5 + 27 + 6);
    EXPECT_DOUBLE_EQ(three.lineY[2], -31.5 + 27 + 30);
    EXPECT_DOUBLE_EQ(three.lineY[2] + 6, 31.5) << "the last line ends where the block ends";
}

TEST(HubTextPlace, ShrinksLinePitchUntilEveryCornerFits) {
    const auto roomy = HubText::place({40, 40, 40}, 12);
    ASSERT_TRUE(roomy);
    EXPECT_EQ(*roomy, HubText::layout(3, 12)) << "full pitch when it fits";

    // Wide enough that the outer lines only fit once the pitch shrinks.
    const auto tight = HubText::place({58, 58, 58}, 14);
    ASSERT_TRUE(tight);
    EXPECT_LT(tight->lineY[2], HubText::layout(3, 14).lineY[2]);
    for (double y : tight->lineY) {
        EXPECT_LE(29 * 29 + std::pow(7 + std::abs(y), 2), 44.0 * 44.0);
    }
}

TEST(HubTextPlace, RefusesWhatCannotFit) {
    EXPECT_EQ(HubText::place({120}, 12), std::nullopt) << "one very wide line never fits";
    EXPECT_EQ(HubText::place({70, 70, 70}, 14), std::nullopt);
    EXPECT_TRUE(HubText::place({60}, 12));
}

}  // namespace
}  // namespace tavrino
