#pragma once
// The system clipboard as the core sees it. The core never talks to a display: the tray
// application installs an implementation at start-up, and a program without one (the
// command-line tool, tests) has no clipboard, which the text tools tell the user.

#include <memory>
#include <string>

namespace tavrino {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents with `text` as plain UTF-8 text. May be called on
    // any thread and returns without waiting for the display.
    virtual void putText(std::string text) = 0;
};

// Installs the program's clipboard (null removes it). Thread-safe.
void installClipboard(std::shared_ptr<Clipboard> clipboard);
// The installed clipboard, or null when this program has none.
std::shared_ptr<Clipboard> installedClipboard();

}  // namespace tavrino
