#pragma once
// Desktop notifications for runs whose documents need a look. Implemented by the
// application over the desktop's notification service; posting returns at once and every
// failure ends in a log line, never in an error for the caller.

#include <string>
#include <vector>

namespace tavrino {

class Notifier {
  public:
    virtual ~Notifier() = default;
    // Called on the GUI thread. The body is the first two lines; further lines are dropped.
    virtual void post(const std::string& title, const std::vector<std::string>& lines) = 0;
};

}  // namespace tavrino
