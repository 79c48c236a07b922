#pragma once
// Reading Korean and English together, Tesseract picks one model per word. A Korean word
// the English model won comes out as Latin junk ("검토한" as "ASSS|"), and an English word
// with a Korean particle attached loses the particle ("English가" as "English7}"). Such
// words are read again by the Korean model alone and its Korean syllables put in place of
// the symbols they cover, keeping the Latin letters it does not replace.

#include <string>
#include <string_view>
#include <vector>

#include "platform/TextRecognizer.h"

namespace tavrino {

// Whether a UTF-8 character is a precomposed Hangul syllable (가 to 힣).
bool isHangulSyllable(std::string_view character);

// Whether `word`, read by the mixed models, may be Korean read as Latin: no Hangul
// syllable, a letter or digit, and less confidence than Korean words read well get.
bool mayBeMisreadKorean(const RecognizedWord& word);

// `word` with the runs of Hangul syllables of `korean` (the same place read by the Korean
// model) in place of the symbols whose middles they cover, in left-to-right order; the
// word unchanged when `korean` holds no Hangul syllable where the word was read. Syllables
// beside the word's symbols are left out.
std::string mergedWord(const RecognizedWord& word, const std::vector<RecognizedLine>& korean);

// Whether the Korean reading only puts syllables after a Latin stem of at least two of the
// word's symbols that ends in a letter or digit, as in "English가": the stem kept, no
// syllable before or among it, and none narrower than half the word's height.
bool endsInParticle(const RecognizedWord& word, const std::vector<RecognizedLine>& korean);

// Whether `word`, however sure the mixed models were of it, may be a Latin word whose
// Korean particle they read as Latin ("LICENSE를" as "LICENSES"): no Hangul syllable, at
// least two letters, a last character that is no lower-case letter, and a line that holds
// Korean words.
bool mayHideParticle(const RecognizedWord& word, const RecognizedLine& line);

// Re-reads each word of `lines` that may be misread Korean and keeps the merged reading.
// The engine must hold the picture `lines` were read from.
void repairMixedScriptWords(TextRecognizer& engine, std::vector<RecognizedLine>& lines);

}  // namespace tavrino
