#include "run/FilePlan.h"

#include <optional>

#include "platform/ImageProbe.h"

namespace tavrino {
namespace {

bool sideBySideTarget(const WheelItem& specific) {
    if (const auto* convert = std::get_if<ConvertItem>(&specific)) return convert->fmt != Fmt::heic;
    if (const auto* tool = std::get_if<ToolItem>(&specific)) {
        switch (tool->tool) {
            case Tool::compress:
            case Tool::resize:
            case Tool::rotate:
            case Tool::stripMetadata:
                return true;
            default:
                return false;
        }
    }
    return false;
}

}  // namespace

std::uint64_t pictureJobBytes(std::uint64_t pixels) {
    constexpr std::uint64_t workingBuffers = 24ull << 20;
    return pixels * 4 * 2 + workingBuffers;
}

JobPlan standardPlan(const WheelItem& specific, const FileFacts& file) {
    if (file.kind() != FileKind::image || !sideBySideTarget(specific)) return {};
    const std::optional<std::uint64_t> pixels = imagePixelCount(file.path());
    if (!pixels) return {};
    return {JobPlan::Kind::sideBySide, pictureJobBytes(*pixels)};
}

}  // namespace tavrino
