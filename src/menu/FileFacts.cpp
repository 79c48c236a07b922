#include "menu/FileFacts.h"

#include <system_error>

#include "platform/ImageProbe.h"

namespace tavrino {

FileFacts::FileFacts(std::filesystem::path path)
    : path_(std::move(path)),
      lowerExt_(lowerExtension(path_)),
      normalizedExt_(normalizedExtension(path_)) {
    std::error_code error;
    isDirectory_ = std::filesystem::is_directory(path_, error);
    if (isDirectory_) {
        kind_ = FileKind::other;
    } else if (auto kind = kindFromExtension(lowerExt_)) {
        kind_ = *kind;
    } else {
        // Content decides; the header read for that also tells the frames.
        kind_ = frameCount() > 0 ? FileKind::image : FileKind::other;
    }
}

int FileFacts::frameCount() const {
    if (!frames_) frames_ = imageFrameCount(path_);
    return *frames_;
}

}  // namespace tavrino
