#include "app/CommandLine.h"

#include <algorithm>
#include <charconv>

namespace tavrino::app {
namespace {

bool has(const std::vector<std::string>& arguments, const std::string& flag) {
    return std::find(arguments.begin(), arguments.end(), flag) != arguments.end();
}

// The argument after the first occurrence of flag, if there is one.
std::optional<std::string> valueOf(const std::vector<std::string>& arguments,
                                   const std::string& flag) {
    auto found = std::find(arguments.begin(), arguments.end(), flag);
    if (found == arguments.end() || found + 1 == arguments.end()) return std::nullopt;
    return *(found + 1);
}

template <typename Number>
std::optional<Number> number(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    Number value{};
    const char* end = text->data() + text->size();
    const auto [rest, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || rest != end) return std::nullopt;
    return value;
}

std::optional<PreviewResult> previewResult(const std::vector<std::string>& arguments) {
    const std::optional<std::string> kind = valueOf(arguments, "--result");
    if (!kind) return std::nullopt;
    const std::optional<std::string> message = valueOf(arguments, "--message");
    if (*kind == "done") return PreviewResult{PreviewResult::Kind::done, message.value_or("완료")};
    if (*kind == "check") {
        return PreviewResult{PreviewResult::Kind::check, message.value_or("깨질 위험 2건")};
    }
    if (*kind == "failed") {
        return PreviewResult{PreviewResult::Kind::failed, message.value_or("실패")};
    }
    return std::nullopt;
}

PreviewMode previewMode(const std::vector<std::string>& arguments, std::string output) {
    PreviewMode mode;
    mode.output = std::move(output);
    mode.word = has(arguments, "--word");
    mode.hwp = !mode.word && has(arguments, "--hwp");
    mode.tools = has(arguments, "--tools");
    mode.hover = has(arguments, "--hover");
    mode.working = has(arguments, "--working");
    if (mode.working) {
        mode.files = std::max(1, number<int>(valueOf(arguments, "--files")).value_or(1));
        mode.elapsed = std::max(0.0, number<double>(valueOf(arguments, "--elapsed")).value_or(0.8));
        mode.reduceMotion = has(arguments, "--reduce-motion");
    }
    mode.result = previewResult(arguments);
    return mode;
}

WelcomePreviewMode welcomePreviewMode(const std::vector<std::string>& arguments,
                                      std::string output) {
    WelcomePreviewMode mode;
    mode.output = std::move(output);
    mode.dark = has(arguments, "--dark");
    mode.conflict = has(arguments, "--conflict");
    mode.waiting = mode.conflict && has(arguments, "--waiting");
    const auto after = std::find(arguments.begin(), arguments.end(), "--welcome-preview") + 2;
    if (after < arguments.end() && !after->starts_with("--")) mode.iconOutput = *after;
    return mode;
}

// --crop-preview takes two values, the PNG and the picture; without both it is passed over.
std::optional<CropPreviewMode> cropPreviewMode(const std::vector<std::string>& arguments) {
    const auto found = std::find(arguments.begin(), arguments.end(), "--crop-preview");
    if (arguments.end() - found < 3 || (found + 2)->starts_with("--")) return std::nullopt;
    return CropPreviewMode{*(found + 1), *(found + 2), valueOf(arguments, "--ratio")};
}

}  // namespace

std::optional<std::string> textWithoutDisplay(const std::vector<std::string>& arguments) {
    if (has(arguments, "--help") || has(arguments, "-h")) {
        return "usage: tavrino [--help | --version]\n"
               "\n"
               "Starts Tavrino in the tray: drag files and hold the modifier to open the wheel\n"
               "of conversions and tools under the pointer. The wheel needs an X11 session;\n"
               "tavrino-cli and the file-manager actions work everywhere.\n"
               "\n"
               "  --help      this text\n"
               "  --version   the version\n";
    }
    if (has(arguments, "--version")) return std::string("tavrino ") + TAVRINO_VERSION + "\n";
    return std::nullopt;
}

std::optional<std::string> missingDisplay(const char* display, const char* waylandDisplay,
                                          const char* qtPlatform) {
    const auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
    if (set(display) || set(waylandDisplay) || set(qtPlatform)) return std::nullopt;
    return "tavrino: no display to open (DISPLAY and WAYLAND_DISPLAY are unset); "
           "tavrino-cli works without one";
}

Mode parseMode(const std::vector<std::string>& arguments) {
    if (has(arguments, "--selftest")) return SelfTestMode{};
    if (auto directory = valueOf(arguments, "--tool-matrix")) return ToolMatrixMode{*directory};
    if (auto output = valueOf(arguments, "--preview")) return previewMode(arguments, *output);
    if (auto output = valueOf(arguments, "--welcome-preview")) {
        return welcomePreviewMode(arguments, *output);
    }
    if (auto crop = cropPreviewMode(arguments)) return *crop;
    return NormalRun{};
}

}  // namespace tavrino::app
