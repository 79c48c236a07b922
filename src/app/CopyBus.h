#pragma once
// Messages between copies of this program: a notification name and an optional object
// string, broadcast to every copy of the same user. The running program uses D-Bus session
// signals (DBusCopyBus); tests connect copies through an in-memory fake.

#include <functional>
#include <optional>
#include <string>

namespace tavrino::app {

class CopyBus {
  public:
    // Receives the object string; none when the sender gave no object or one that is not a
    // string.
    using Handler = std::function<void(const std::optional<std::string>& object)>;

    virtual ~CopyBus() = default;
    // Delivers to every copy, this one included, that listens for `name`.
    virtual void post(const std::string& name, const std::optional<std::string>& object) = 0;
    // Calls handler on the GUI thread for every message named `name`.
    virtual void listen(const std::string& name, Handler handler) = 0;
};

// The names of the two messages for a copy identity.
std::string showWelcomeName(const std::string& identity);
std::string welcomeAckName(const std::string& identity);

}  // namespace tavrino::app
