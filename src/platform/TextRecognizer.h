#pragma once
// One initialised Tesseract engine (Korean first, English second, LSTM only), with a
// Korean-only engine beside it for words the first one may have read in the wrong script.
// Tesseract's headers stay in the .cpp. An engine is not thread-safe: one per thread at a
// time.

#include <memory>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace tavrino {

struct RecognizedSymbol {
    std::string text;  // UTF-8, one character as the engine saw it
    int left = 0;      // its columns in the picture, right exclusive
    int right = 0;
};

struct RecognizedWord {
    std::string text;
    PixelRegion box;
    float confidence = 0;  // Tesseract's 0-100
    std::vector<RecognizedSymbol> symbols;
    // Korean is read syllable by syllable as words of their own; only the engine's line
    // text tells which words a space parts.
    bool spaceBefore = false;
};

struct RecognizedLine {
    std::vector<RecognizedWord> words;
    float confidence = 0;  // Tesseract's 0-100
    // The words joined as the engine spaced them.
    std::string text() const;
};

class TextRecognizer {
  public:
    // Throws ConvertError "글자 인식 엔진을 시작하지 못함" when the language data is missing.
    TextRecognizer();
    ~TextRecognizer();
    TextRecognizer(const TextRecognizer&) = delete;
    TextRecognizer& operator=(const TextRecognizer&) = delete;

    enum class Layout { automatic, singleBlock, singleLine };
    enum class Languages { koreanAndEnglish, koreanOnly };
    // Hands the engines a grey (1 band) picture for the calls to read() that follow, until
    // forgetPicture(); the picture must stay alive and unchanged until then.
    void setPicture(const PixelBuffer& grey);
    void forgetPicture();
    // The text lines of a region of the picture (clipped to it) in reading order. Throws
    // ConvertError "글자 인식 실패" when the engine fails on it, and the constructor's error when
    // the Korean-only engine cannot start.
    std::vector<RecognizedLine> read(const PixelRegion& region, Layout layout,
                                     Languages languages = Languages::koreanAndEnglish);

  private:
    struct Engine;
    std::unique_ptr<Engine> mixed_;
    std::unique_ptr<Engine> korean_;  // started the first time it is needed
    const PixelBuffer* picture_ = nullptr;
    bool koreanHasPicture_ = false;
};

}  // namespace tavrino
