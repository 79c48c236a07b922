#include "tools/PageRecognition.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "convert/ConvertError.h"
#include "convert/Image.h"
#include "platform/PdfDocument.h"
#include "tools/RecognizerPool.h"
#include "tools/TextRecognition.h"

namespace tavrino {
namespace {

// Reads pages 0..count-1 on up to one worker per core; each worker holds one engine and
// one decoded page at a time. The first failure stops the rest and is passed on.
std::vector<std::string> readPages(int count,
                                   const std::function<std::optional<PixelBuffer>(int)>& page) {
    std::vector<std::string> texts(static_cast<std::size_t>(count));
    std::atomic<int> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto work = [&] {
        try {
            RecognizerPool::Lease engine = RecognizerPool::shared().lease();
            for (int i = next++; i < count; i = next++) {
                if (const std::optional<PixelBuffer> pixels = page(i)) {
                    texts[static_cast<std::size_t>(i)] = recognizePicture(*engine, *pixels);
                }
            }
        } catch (...) {
            next = count;
            const std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
        }
    };
    const int workers =
        std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::max(count, 1));
    std::vector<std::thread> threads;
    for (int i = 1; i < workers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    if (failure) std::rethrow_exception(failure);
    return texts;
}

std::string joinedPages(const std::vector<std::string>& pages) {
    std::string text;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) text += "\n\n";
        text += pages[i];
    }
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::string recognizeText(const FileFacts& source) {
    std::vector<std::string> pages;
    if (source.kind() == FileKind::pdf) {
        const std::unique_ptr<PdfDocument> document = PdfDocument::open(source.path());
        if (!document) throw ConvertError("PDF를 열 수 없음");
        // Poppler's document is not safe to render from several threads at once.
        std::mutex renderMutex;
        pages = readPages(std::max(document->pageCount(), 1), [&](int index) {
            const std::lock_guard lock(renderMutex);
            return document->renderPage(index, 2.0);
        });
    } else if (source.isMultiPageTIFF()) {
        pages = readPages(source.frameCount(), [&](int index) -> std::optional<PixelBuffer> {
            std::optional<Image> frame = loadImagePage(source.path(), index);
            if (!frame) return std::nullopt;
            return frame->pixels();
        });
    } else {
        const PixelBuffer pixels = loadOrientedImage(source.path()).pixels();
        pages = readPages(1, [&](int) { return std::optional<PixelBuffer>(pixels); });
    }
    std::string text = joinedPages(pages);
    if (text.empty()) throw ConvertError("글자를 찾지 못함");
    return text;
}

}  // namespace tavrino
