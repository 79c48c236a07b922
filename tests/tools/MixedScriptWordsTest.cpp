#include "tools/MixedScriptWords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrino {
namespace {

// A word whose symbols stand side by side, `width` pixels each, from x = `left`.
RecognizedWord word(const std::vector<std::string>& symbols, int left, int width,
                    float confidence) {
    RecognizedWord read;
    read.confidence = confidence;
    for (const std::string& symbol : symbols) {
        read.text += symbol;
        read.symbols.push_back({symbol, left, left + width});
        left += width;
    }
    read.box = {read.symbols.front().left, 0, left - read.symbols.front().left, 20};
    return read;
}

std::vector<RecognizedLine> reading(std::vector<RecognizedWord> words) {
    return {RecognizedLine{std::move(words), 60}};
}

TEST(MixedScriptWords, TellsHangulSyllablesFromJamoAndLatin) {
    EXPECT_TRUE(isHangulSyllable("가"));
    EXPECT_TRUE(isHangulSyllable("힣"));
    EXPECT_FALSE(isHangulSyllable("ㄱ"));  // a lone jamo is no syllable
    EXPECT_FALSE(isHangulSyllable("A"));
    EXPECT_FALSE(isHangulSyllable("中"));
    EXPECT_FALSE(isHangulSyllable(""));
}

TEST(MixedScriptWords, OnlyUnsureWordsWithoutHangulAreSuspect) {
    EXPECT_TRUE(mayBeMisreadKorean(word({"A", "S", "S", "S", "|"}, 0, 10, 68)));
    EXPECT_FALSE(mayBeMisreadKorean(word({"A", "S", "S"}, 0, 10, 93)));  // read well
    EXPECT_FALSE(mayBeMisreadKorean(word({"검", "토"}, 0, 10, 50)));     // already Korean
    EXPECT_FALSE(mayBeMisreadKorean(word({"|", "~"}, 0, 10, 30)));       // no letter to fix
}

TEST(MixedScriptWords, KoreanSyllablesReplaceTheJunkTheyCover) {
    const RecognizedWord junk = word({"A", "S", "S", "S", "|"}, 100, 12, 68);
    // The Korean model reads three syllables over the same 60 pixels.
    const auto korean = reading({word({"검", "토", "한"}, 100, 20, 90)});
    EXPECT_EQ(mergedWord(junk, korean), "검토한");
    EXPECT_FALSE(endsInParticle(junk, korean));
}

TEST(MixedScriptWords, AParticleAfterALatinStemKeepsTheStem) {
    // "English가" as the English model reads it, and as the Korean model does.
    const RecognizedWord mixed = word({"E", "n", "g", "l", "i", "s", "h", "7", "}"}, 0, 10, 62);
    RecognizedWord korean = word({"8", "0", "8", "!", "1", "5"}, 0, 12, 40);
    korean.symbols.push_back({"가", 70, 90});
    const auto read = reading({korean});
    EXPECT_EQ(mergedWord(mixed, read), "English가");
    EXPECT_TRUE(endsInParticle(mixed, read));
}

TEST(MixedScriptWords, SyllablesBeforeOrAmongTheLettersAreNoParticle) {
    // The Korean model made "따" of "RE" in "README".
    const RecognizedWord latin = word({"R", "E", "A", "D", "M", "E"}, 0, 10, 80);
    const auto korean = reading({word({"따"}, 0, 20, 50)});
    EXPECT_EQ(mergedWord(latin, korean), "따ADME");  // what would be kept, were it surer
    EXPECT_FALSE(endsInParticle(latin, korean));
    // Nor is a stem that stops short of a whole word: the syllable is what the Korean model
    // made of the rest of it.
    const RecognizedWord wifi = word({"W", "i", "-", "F", "i"}, 0, 10, 93);
    EXPECT_FALSE(endsInParticle(wifi, reading({word({"더"}, 30, 20, 60)})));
    // One letter before a syllable is no stem either.
    const RecognizedWord shortStem = word({"A", "7", "}"}, 0, 10, 60);
    EXPECT_FALSE(endsInParticle(shortStem, reading({word({"가"}, 10, 20, 50)})));
}

TEST(MixedScriptWords, SureLatinWordsAreCheckedForAParticleOnlyAmongKoreanWords) {
    // The English model was sure of "LICENSES": the "S" is the particle 를.
    const RecognizedWord license = word({"L", "I", "C", "E", "N", "S", "E", "S"}, 0, 10, 88);
    EXPECT_FALSE(mayBeMisreadKorean(license));
    const RecognizedLine korean{{word({"파", "일", "과"}, 0, 20, 93), license}, 90};
    EXPECT_TRUE(mayHideParticle(license, korean));
    const RecognizedLine english{{word({"O", "p", "e", "n"}, 0, 10, 96), license}, 96};
    EXPECT_FALSE(mayHideParticle(license, english));
    EXPECT_FALSE(mayHideParticle(word({"7"}, 0, 10, 90), korean));  // no stem to keep
    // A particle never comes out as a lower-case letter.
    EXPECT_FALSE(mayHideParticle(word({"T", "a", "v", "r", "i", "n", "o"}, 0, 10, 93), korean));
    EXPECT_TRUE(
        mayHideParticle(word({"E", "n", "g", "l", "i", "s", "h", "7", "}"}, 0, 10, 91), korean));
    EXPECT_FALSE(mayHideParticle(korean.words.front(), korean));  // already Korean
    const auto read =
        reading({word({"L", "I", "C", "E", "N", "S", "E"}, 0, 10, 80), word({"를"}, 70, 20, 75)});
    EXPECT_TRUE(endsInParticle(license, read));
    EXPECT_EQ(mergedWord(license, read), "LICENSE를");
}

TEST(MixedScriptWords, OnlySyllablesWhereTheWordWasReadCount) {
    // The Korean model read on past the word, into the words after it.
    const RecognizedWord mixed = word({"E", "n", "g", "l", "i", "s", "h", "7", "}"}, 0, 10, 91);
    const auto read = reading({word({"E", "n", "g", "l", "i", "s", "h"}, 0, 10, 80),
                               word({"가", "섞", "인"}, 72, 20, 80)});
    EXPECT_EQ(mergedWord(mixed, read), "English가");
    EXPECT_TRUE(endsInParticle(mixed, read));
    // The engine gave the closing bracket the box of the words after it: their syllables
    // are still not taken into the word.
    RecognizedWord wide = mixed;
    wide.symbols.back().right = 300;
    const auto further = reading({word({"E", "n", "g", "l", "i", "s", "h"}, 0, 10, 80),
                                  word({"가"}, 72, 20, 80), word({"섞", "인"}, 110, 20, 80)});
    EXPECT_EQ(mergedWord(wide, further).find("섞"), std::string::npos);
    EXPECT_EQ(mergedWord(wide, further).find("인"), std::string::npos);
    // Nothing of it where the word stands: no change.
    EXPECT_EQ(mergedWord(mixed, reading({word({"섞", "인"}, 100, 20, 80)})), mixed.text);
}

TEST(MixedScriptWords, ANarrowSyllableOverOneLetterIsNoParticle) {
    const RecognizedWord wifi = word({"W", "i", "F", "i"}, 0, 8, 90);  // the hyphen lost
    const auto read = reading({word({"W", "i", "F"}, 0, 8, 70), word({"가"}, 24, 6, 60)});
    EXPECT_FALSE(endsInParticle(wifi, read));
}

TEST(MixedScriptWords, AKoreanReadingWithoutSyllablesChangesNothing) {
    const RecognizedWord wifi = word({"W", "i", "-", "F", "i"}, 0, 10, 70);
    const auto korean = reading({word({"W", "i", "F", "i"}, 0, 12, 40)});
    EXPECT_EQ(mergedWord(wifi, korean), "Wi-Fi");
    EXPECT_FALSE(endsInParticle(wifi, korean));
    EXPECT_EQ(mergedWord(wifi, {}), "Wi-Fi");
}

}  // namespace
}  // namespace tavrino
