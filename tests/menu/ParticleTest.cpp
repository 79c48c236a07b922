// The topic particle follows the sound of the word before it.

#include <gtest/gtest.h>

#include "menu/Particle.h"
#include "menu/Tool.h"

namespace tavrino {
namespace {

TEST(TopicParticle, FollowsTheLastSyllable) {
    EXPECT_EQ(withTopicParticle("압축"), "압축은");
    EXPECT_EQ(withTopicParticle("회전"), "회전은");
    EXPECT_EQ(withTopicParticle("자르기"), "자르기는");
    EXPECT_EQ(withTopicParticle("PDF 합치기"), "PDF 합치기는");
    EXPECT_EQ(withTopicParticle(title(Tool::extractText)), "글자 추출은");
    EXPECT_EQ(withTopicParticle(title(Tool::stripMetadata)), "정보 삭제는");
    // The first and last precomposed syllables: 가 has no final, 힣 has one.
    EXPECT_EQ(withTopicParticle("가"), "가는");
    EXPECT_EQ(withTopicParticle("힣"), "힣은");
}

TEST(TopicParticle, LatinDigitsAndBrokenTextTakeTheVowelForm) {
    EXPECT_EQ(withTopicParticle("PNG"), "PNG는");
    EXPECT_EQ(withTopicParticle("a.png"), "a.png는");
    EXPECT_EQ(withTopicParticle("2024"), "2024는");
    EXPECT_EQ(withTopicParticle(title(Tool::resize)), "크기 50%는");  // a sign after a syllable
    EXPECT_EQ(withTopicParticle(""), "는");
    // A cut-off multi-byte sequence must not be read past its end.
    EXPECT_EQ(withTopicParticle("\xEC\x95"), "\xEC\x95는");
    // A lone final jamo (ㄱ) is not a syllable.
    EXPECT_EQ(withTopicParticle("\xE3\x84\xB1"), "\xE3\x84\xB1는");
}

}  // namespace
}  // namespace tavrino
