#include "platform/SaliencyModel.h"

#include <system_error>

#include "platform/Bundle.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

[[maybe_unused]] std::optional<fs::path> existing(const fs::path& path) {
    std::error_code error;
    if (fs::is_regular_file(path, error)) return path;
    return std::nullopt;
}

}  // namespace

std::optional<fs::path> saliencyModelPath() {
#if TAVRINO_HAVE_OPENCV
    constexpr const char* modelFile = "u2netp.onnx";
    if (const std::optional<fs::path> bundle = bundleDirectory()) {
        return existing(*bundle / "Resources" / modelFile);
    }
    return existing(fs::path(TAVRINO_MODEL_DIR) / modelFile);
#else
    return std::nullopt;
#endif
}

bool saliencyModelAvailable() {
    return saliencyModelPath().has_value();
}

}  // namespace tavrino
