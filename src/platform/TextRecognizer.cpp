#include "platform/TextRecognizer.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include "convert/ConvertError.h"

namespace tavrino {

struct TextRecognizer::Engine {
    tesseract::TessBaseAPI api;
    ~Engine() { api.End(); }
};

namespace {

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};
using TesseractText = std::unique_ptr<char, TextDeleter>;

std::string trimmedLine(const char* text) {
    std::string line(text ? text : "");
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

}  // namespace

TextRecognizer::TextRecognizer() : engine_(std::make_unique<Engine>()) {
    // Only the models Debian's packages install; nothing is looked up anywhere else.
    if (engine_->api.Init(nullptr, "kor+eng", tesseract::OEM_LSTM_ONLY) != 0) {
        throw ConvertError("글자 인식 엔진을 시작하지 못함");
    }
    // Tesseract writes diagnostics to stderr by default; they mean nothing to a user.
    engine_->api.SetVariable("debug_file", "/dev/null");
}

TextRecognizer::~TextRecognizer() = default;

void TextRecognizer::setPicture(const PixelBuffer& grey) {
    tesseract::TessBaseAPI& api = engine_->api;
    api.SetImage(grey.bytes.data(), grey.width, grey.height, 1, grey.width);
    // Pictures reach us scaled so that text is a comfortable size; telling Tesseract a
    // print resolution keeps it from guessing one from a missing tag.
    api.SetSourceResolution(300);
}

void TextRecognizer::forgetPicture() {
    engine_->api.Clear();
}

std::vector<RecognizedLine> TextRecognizer::read(const PixelRegion& region, Layout layout) {
    tesseract::TessBaseAPI& api = engine_->api;
    api.SetPageSegMode(layout == Layout::automatic ? tesseract::PSM_AUTO
                                                   : tesseract::PSM_SINGLE_BLOCK);
    api.SetRectangle(region.x, region.y, region.width, region.height);
    if (api.Recognize(nullptr) != 0) throw ConvertError("글자 인식 실패");
    std::vector<RecognizedLine> lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (it) {
        do {
            const TesseractText text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
            std::string line = trimmedLine(text.get());
            if (!line.empty()) {
                lines.push_back({std::move(line), it->Confidence(tesseract::RIL_TEXTLINE)});
            }
        } while (it->Next(tesseract::RIL_TEXTLINE));
    }
    return lines;
}

}  // namespace tavrino
