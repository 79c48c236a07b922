#include "tools/RecognizerPool.h"

namespace tavrino {

RecognizerPool::Lease RecognizerPool::lease() {
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            std::unique_ptr<TextRecognizer> engine = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(engine));
        }
    }
    return Lease(*this, std::make_unique<TextRecognizer>());
}

void RecognizerPool::giveBack(std::unique_ptr<TextRecognizer> engine) {
    if (!engine) return;
    const std::lock_guard lock(mutex_);
    idle_.push_back(std::move(engine));
}

RecognizerPool& RecognizerPool::shared() {
    static RecognizerPool pool;
    return pool;
}

}  // namespace tavrino
