#pragma once
// One initialised Tesseract engine (Korean first, English second, LSTM only). Tesseract's
// headers stay in the .cpp. An engine is not thread-safe: one per thread at a time.

#include <memory>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace tavrino {

// A rectangle of a picture, in pixels.
struct PixelRegion {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct RecognizedLine {
    std::string text;  // UTF-8, without its line break
    float confidence;  // Tesseract's 0-100
};

class TextRecognizer {
  public:
    // Throws ConvertError "글자 인식 엔진을 시작하지 못함" when the language data is missing.
    TextRecognizer();
    ~TextRecognizer();
    TextRecognizer(const TextRecognizer&) = delete;
    TextRecognizer& operator=(const TextRecognizer&) = delete;

    enum class Layout { automatic, singleBlock };
    // Hands the engine (a copy of) a grey (1 band) picture for the calls to read() that
    // follow, until forgetPicture() frees it.
    void setPicture(const PixelBuffer& grey);
    void forgetPicture();
    // The text lines of a region of the picture in reading order. Throws ConvertError
    // "글자 인식 실패" when the engine fails on it.
    std::vector<RecognizedLine> read(const PixelRegion& region, Layout layout);

  private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
};

}  // namespace tavrino
