#include "tools/MixedScriptWords.h"

#include <algorithm>
#include <cctype>

namespace tavrino {
namespace {

// Korean words read well come out above this; the misread ones seen are 60 to 70.
constexpr float wellReadWord = 85.0F;
// Latin letters a word keeps before the Korean particle read after them.
constexpr int minimumStem = 2;

char32_t firstCodePoint(std::string_view text) {
    if (text.size() >= 3 && (static_cast<unsigned char>(text[0]) & 0xF0) == 0xE0) {
        return (char32_t(text[0] & 0x0F) << 12) | (char32_t(text[1] & 0x3F) << 6) |
               char32_t(text[2] & 0x3F);
    }
    return text.empty() ? 0 : static_cast<unsigned char>(text[0]);
}

bool holdsHangul(const std::vector<RecognizedSymbol>& symbols) {
    return std::any_of(symbols.begin(), symbols.end(),
                       [](const RecognizedSymbol& s) { return isHangulSyllable(s.text); });
}

// Four lower-case letters in a row: what the English model makes of Hangul is capitals,
// brackets and short fragments ("ASSS|", "Sol]"), not a run like "nglish".
bool looksEnglish(const std::string& text) {
    int run = 0;
    for (const char c : text) {
        run = (c >= 'a' && c <= 'z') ? run + 1 : 0;
        if (run >= 4) return true;
    }
    return false;
}

struct Placed {
    int middle;
    std::string text;
};

}  // namespace

bool isHangulSyllable(std::string_view character) {
    const char32_t c = firstCodePoint(character);
    return c >= 0xAC00 && c <= 0xD7A3;
}

bool mayBeMisreadKorean(const RecognizedWord& word) {
    if (word.confidence >= wellReadWord || holdsHangul(word.symbols)) return false;
    return std::any_of(word.text.begin(), word.text.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

namespace {

struct Span {
    int left;
    int right;
};

int middleOf(const RecognizedSymbol& symbol) {
    return (symbol.left + symbol.right) / 2;
}

// Whether `symbol` of the Korean reading stands where `word` was read. The Korean model
// reads the word with some of the picture around it and may take in the next word too
// ("English가" became "English가섞인문장입니다" before the words that follow).
bool withinWord(const RecognizedSymbol& symbol, const RecognizedWord& word) {
    int left = word.box.x;
    int right = word.box.x + word.box.width;
    if (!word.symbols.empty()) {
        // No character is much wider than the line is high; the engine has given a closing
        // bracket the box of the four words after it.
        left = word.symbols.front().left;
        right = left;
        for (const RecognizedSymbol& s : word.symbols)
            right = std::max(right, std::min(s.right, s.left + word.box.height));
    }
    // A particle is wider than the Latin junk it was read as: its middle may lie past it.
    const int middle = middleOf(symbol);
    return middle >= left && middle < right + word.box.height / 3;
}

// The runs of Hangul syllables side by side in a Korean reading of `word`; a run covers
// the gaps between its syllables too.
std::vector<Span> hangulSpans(const RecognizedWord& word,
                              const std::vector<RecognizedLine>& korean) {
    std::vector<Span> spans;
    for (const RecognizedLine& line : korean) {
        for (const RecognizedWord& read : line.words) {
            bool inRun = false;
            for (const RecognizedSymbol& symbol : read.symbols) {
                if (!isHangulSyllable(symbol.text) || !withinWord(symbol, word)) {
                    inRun = false;
                    continue;
                }
                if (inRun) {
                    spans.back().right = std::max(spans.back().right, symbol.right);
                } else {
                    spans.push_back({symbol.left, symbol.right});
                }
                inRun = true;
            }
        }
    }
    return spans;
}

bool covered(const std::vector<Span>& spans, int middle) {
    return std::any_of(spans.begin(), spans.end(),
                       [middle](const Span& s) { return middle >= s.left && middle < s.right; });
}

}  // namespace

std::string mergedWord(const RecognizedWord& word, const std::vector<RecognizedLine>& korean) {
    const std::vector<Span> spans = hangulSpans(word, korean);
    if (spans.empty()) return word.text;
    std::vector<Placed> placed;
    for (const RecognizedLine& line : korean) {
        for (const RecognizedWord& read : line.words) {
            for (const RecognizedSymbol& symbol : read.symbols) {
                if (isHangulSyllable(symbol.text) && withinWord(symbol, word))
                    placed.push_back({middleOf(symbol), symbol.text});
            }
        }
    }
    for (const RecognizedSymbol& symbol : word.symbols) {
        if (!covered(spans, middleOf(symbol))) placed.push_back({middleOf(symbol), symbol.text});
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.middle < b.middle; });
    std::string merged;
    for (const Placed& p : placed)
        merged += p.text;
    return merged;
}

bool endsInParticle(const RecognizedWord& word, const std::vector<RecognizedLine>& korean) {
    const std::vector<Span> spans = hangulSpans(word, korean);
    if (spans.empty()) return false;
    // A syllable is about as wide as the line is high; one read over a narrow letter (the
    // "i" of a "WiFi" whose hyphen was lost) is the model guessing.
    for (const RecognizedLine& line : korean)
        for (const RecognizedWord& read : line.words)
            for (const RecognizedSymbol& symbol : read.symbols)
                if (isHangulSyllable(symbol.text) && withinWord(symbol, word) &&
                    (symbol.right - symbol.left) * 2 < word.box.height)
                    return false;
    int kept = 0;
    const RecognizedSymbol* last = nullptr;
    for (const RecognizedSymbol& symbol : word.symbols) {
        const int middle = middleOf(symbol);
        if (covered(spans, middle)) continue;
        if (middle >= spans.front().left) return false;
        ++kept;
        last = &symbol;
    }
    // A particle follows a whole word: after "Wi-" the syllable the Korean model made is
    // what it read of "Fi".
    const auto end = last && last->text.size() == 1 ? static_cast<unsigned char>(last->text[0]) : 0;
    return kept >= minimumStem && std::isalnum(end);
}

bool mayHideParticle(const RecognizedWord& word, const RecognizedLine& line) {
    if (holdsHangul(word.symbols)) return false;
    const int letters =
        static_cast<int>(std::count_if(word.text.begin(), word.text.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c));
        }));
    // The English model makes capitals, digits and brackets of a Korean particle ("S" of
    // 를, "7}" of 가), never a lower-case letter: an English word that ends in one, as most
    // do, needs no second reading.
    const unsigned char last = word.text.empty() ? 0 : static_cast<unsigned char>(word.text.back());
    if (letters < minimumStem || std::islower(last)) return false;
    return std::any_of(line.words.begin(), line.words.end(),
                       [](const RecognizedWord& other) { return holdsHangul(other.symbols); });
}

void repairMixedScriptWords(TextRecognizer& engine, std::vector<RecognizedLine>& lines) {
    for (RecognizedLine& line : lines) {
        for (RecognizedWord& word : line.words) {
            const bool unsure = mayBeMisreadKorean(word);
            if (!unsure && !mayHideParticle(word, line)) continue;
            // A little of the background around the word, as the engine reads best.
            const int pad = std::max(2, word.box.height / 4);
            const PixelRegion around{word.box.x - pad, word.box.y - pad, word.box.width + 2 * pad,
                                     word.box.height + 2 * pad};
            const std::vector<RecognizedLine> korean = engine.read(
                around, TextRecognizer::Layout::singleLine, TextRecognizer::Languages::koreanOnly);
            // The Korean model also makes syllables of Latin letters (a blurred "English"
            // became "태터와"); its reading wins when it is the surer one and the word does
            // not look like English, or when it only adds syllables after a Latin stem.
            float sure = 0;
            int words = 0;
            for (const RecognizedLine& line : korean) {
                for (const RecognizedWord& read : line.words) {
                    sure += read.confidence;
                    ++words;
                }
            }
            const bool surer = words > 0 && sure / words > word.confidence;
            if ((unsure && surer && !looksEnglish(word.text)) || endsInParticle(word, korean))
                word.text = mergedWord(word, korean);
        }
    }
}

}  // namespace tavrino
