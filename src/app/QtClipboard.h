#pragma once
// The tray application's clipboard: Qt's, set on the main thread. The application owns the
// text once set, so it stays available after the wheel has gone.

#include "platform/Clipboard.h"

namespace tavrino::app {

class QtClipboard final : public Clipboard {
  public:
    // Queues the change on the main thread and returns at once (the run engine calls this
    // from its worker).
    void putText(std::string text) override;
};

}  // namespace tavrino::app
