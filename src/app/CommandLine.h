#pragma once
// How the program was asked to run, decided from its arguments. Flags are matched exactly,
// anywhere after the program name; a flag that takes a value takes the next argument and is
// ignored when there is none. The first mode that applies wins; nothing here starts anything.

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tavrino::app {

// A result hub for the preview, so that each result state can be looked at (developers only).
struct PreviewResult {
    enum class Kind { done, check, failed };
    Kind kind = Kind::done;
    std::string message;
};

struct PreviewMode {
    std::string output;    // the PNG to write
    bool word = false;     // drag one Word document
    bool hwp = false;      // drag one HWP document (ignored with word)
    bool tools = false;    // the tools wheel
    bool hover = false;    // the first petal hovered and fully raised
    bool working = false;  // the working hub
    int files = 1;         // with working: the run's total
    double elapsed = 0.8;  // with working: the working time in seconds
    bool reduceMotion = false;
    std::optional<PreviewResult> result;
};

struct NormalRun {};

struct SelfTestMode {};

struct ToolMatrixMode {
    std::string directory;  // the sample files
};

struct WelcomePreviewMode {
    std::string output;                     // the panel's PNG
    bool dark = false;                      // the dark appearance
    bool conflict = false;                  // the conflict window instead of the welcome window
    bool waiting = false;                   // with conflict: the waiting state
    std::optional<std::string> iconOutput;  // the tray icon sample's PNG
};

struct CropPreviewMode {
    std::string output;                // the window's PNG
    std::string source;                // the picture shown
    std::optional<std::string> ratio;  // a ratio label to choose first ("16:9", "자유", ...)
};

using Mode = std::variant<NormalRun, PreviewMode, SelfTestMode, ToolMatrixMode, WelcomePreviewMode,
                          CropPreviewMode>;

// The text --help or --version asks for, printed before any display or Qt platform is
// touched; nothing when neither flag is given.
std::optional<std::string> textWithoutDisplay(const std::vector<std::string>& arguments);

// Why the tray application cannot open a window here (no X11 or Wayland display and no Qt
// platform chosen), or nothing when a display may be there.
std::optional<std::string> missingDisplay(const char* display, const char* waylandDisplay,
                                          const char* qtPlatform);

// arguments excludes the program name.
Mode parseMode(const std::vector<std::string>& arguments);

}  // namespace tavrino::app
