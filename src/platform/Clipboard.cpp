#include "platform/Clipboard.h"

#include <mutex>

namespace tavrino {
namespace {

std::mutex& clipboardMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<Clipboard>& clipboardSlot() {
    static std::shared_ptr<Clipboard> slot;
    return slot;
}

}  // namespace

void installClipboard(std::shared_ptr<Clipboard> clipboard) {
    const std::lock_guard lock(clipboardMutex());
    clipboardSlot() = std::move(clipboard);
}

std::shared_ptr<Clipboard> installedClipboard() {
    const std::lock_guard lock(clipboardMutex());
    return clipboardSlot();
}

}  // namespace tavrino
