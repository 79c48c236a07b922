#include "platform/TextRecognizer.h"

#include <dlfcn.h>

#include <algorithm>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include "convert/ConvertError.h"

namespace tavrino {

namespace {

// Tesseract's network runs its loops on OpenMP threads that spin while they wait: with
// one engine per page worker, every worker's threads contend for the same cores (a
// ten-page PDF took 8.5 s instead of 2 s on two cores). No OpenMP region may run in
// parallel on a thread that reads: the workers are the parallelism. The limit is one of
// each thread's own settings, so every reading thread sets it. The OpenMP runtime is
// looked up where Tesseract already loaded it, so that nothing links to it here.
void oneThreadPerEngine() {
    using SetLevels = void (*)(int);
    static const auto set =
        reinterpret_cast<SetLevels>(dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"));
    thread_local bool done = false;
    if (set && !done) set(0);
    done = true;
}

}  // namespace

struct TextRecognizer::Engine {
    tesseract::TessBaseAPI api;
    explicit Engine(const char* languages) {
        // Only the models Debian's packages install; nothing is looked up anywhere else.
        if (api.Init(nullptr, languages, tesseract::OEM_LSTM_ONLY) != 0) {
            throw ConvertError("글자 인식 엔진을 시작하지 못함");
        }
        // Tesseract writes diagnostics to stderr by default; they mean nothing to a user.
        api.SetVariable("debug_file", "/dev/null");
    }
    ~Engine() { api.End(); }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    void setPicture(const PixelBuffer& grey) {
        api.SetImage(grey.bytes.data(), grey.width, grey.height, 1, grey.width);
        // Pictures reach us scaled so that text is a comfortable size; telling Tesseract a
        // print resolution keeps it from guessing one from a missing tag.
        api.SetSourceResolution(300);
    }
};

namespace {

struct TextDeleter {
    void operator()(char* text) const { delete[] text; }
};
using TesseractText = std::unique_ptr<char, TextDeleter>;

std::string trimmed(const char* text) {
    std::string line(text ? text : "");
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

tesseract::PageSegMode segmentation(TextRecognizer::Layout layout) {
    switch (layout) {
        case TextRecognizer::Layout::automatic:
            return tesseract::PSM_AUTO;
        case TextRecognizer::Layout::singleBlock:
            return tesseract::PSM_SINGLE_BLOCK;
        case TextRecognizer::Layout::singleLine:
            return tesseract::PSM_SINGLE_LINE;
    }
    return tesseract::PSM_SINGLE_BLOCK;
}

PixelRegion boxAt(const tesseract::ResultIterator& it, tesseract::PageIteratorLevel level) {
    int left = 0, top = 0, right = 0, bottom = 0;
    it.BoundingBox(level, &left, &top, &right, &bottom);
    return {left, top, right - left, bottom - top};
}

// Walks the result symbol by symbol, starting a word and a line where the engine's do.
std::vector<RecognizedLine> collected(tesseract::TessBaseAPI& api) {
    std::vector<RecognizedLine> lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it || it->Empty(tesseract::RIL_SYMBOL)) return lines;
    bool newLine = true;
    std::string lineText;
    std::size_t cursor = 0;
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) newLine = true;
        const TesseractText symbol(it->GetUTF8Text(tesseract::RIL_SYMBOL));
        const std::string text = trimmed(symbol.get());
        if (text.empty()) continue;
        if (newLine) {
            lines.push_back({{}, it->Confidence(tesseract::RIL_TEXTLINE)});
            const TesseractText line(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
            lineText = trimmed(line.get());
            cursor = 0;
            newLine = false;
        }
        std::vector<RecognizedWord>& words = lines.back().words;
        if (words.empty() || it->IsAtBeginningOf(tesseract::RIL_WORD)) {
            const TesseractText word(it->GetUTF8Text(tesseract::RIL_WORD));
            RecognizedWord next{trimmed(word.get()),
                                boxAt(*it, tesseract::RIL_WORD),
                                it->Confidence(tesseract::RIL_WORD),
                                {},
                                !words.empty()};
            const std::size_t at = lineText.find(next.text, cursor);
            if (at != std::string::npos) {
                next.spaceBefore = !words.empty() && lineText.find(' ', cursor) < at;
                cursor = at + next.text.size();
            }
            words.push_back(std::move(next));
        }
        const PixelRegion box = boxAt(*it, tesseract::RIL_SYMBOL);
        words.back().symbols.push_back({text, box.x, box.x + box.width});
    } while (it->Next(tesseract::RIL_SYMBOL));
    return lines;
}

}  // namespace

std::string RecognizedLine::text() const {
    std::string joined;
    for (const RecognizedWord& word : words) {
        if (word.text.empty()) continue;
        if (!joined.empty() && word.spaceBefore) joined += ' ';
        joined += word.text;
    }
    return joined;
}

TextRecognizer::TextRecognizer() : mixed_(std::make_unique<Engine>("kor+eng")) {}

TextRecognizer::~TextRecognizer() = default;

void TextRecognizer::setPicture(const PixelBuffer& grey) {
    mixed_->setPicture(grey);
    picture_ = &grey;
    koreanHasPicture_ = false;
}

void TextRecognizer::forgetPicture() {
    mixed_->api.Clear();
    if (korean_) korean_->api.Clear();
    picture_ = nullptr;
    koreanHasPicture_ = false;
}

std::vector<RecognizedLine> TextRecognizer::read(const PixelRegion& region, Layout layout,
                                                 Languages languages) {
    oneThreadPerEngine();
    Engine* engine = mixed_.get();
    if (languages == Languages::koreanOnly) {
        if (!korean_) korean_ = std::make_unique<Engine>("kor");
        if (!koreanHasPicture_ && picture_) {
            korean_->setPicture(*picture_);
            koreanHasPicture_ = true;
        }
        engine = korean_.get();
    }
    tesseract::TessBaseAPI& api = engine->api;
    api.SetPageSegMode(segmentation(layout));
    int left = region.x, top = region.y;
    int right = region.x + region.width, bottom = region.y + region.height;
    if (picture_) {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, picture_->width);
        bottom = std::min(bottom, picture_->height);
    }
    if (right <= left || bottom <= top) return {};
    api.SetRectangle(left, top, right - left, bottom - top);
    if (api.Recognize(nullptr) != 0) throw ConvertError("글자 인식 실패");
    return collected(api);
}

}  // namespace tavrino
