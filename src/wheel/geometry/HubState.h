#pragma once
// What the hub in the middle of the wheel shows. While files are dragged it is idle and shows
// the drag; once they are dropped the run drives it through working to one of the results.
// The wheel accepts drops only while its hub is idle.

#include <string>
#include <variant>

namespace tavrino {

struct HubWorking {
    int done = 0;  // files finished so far
    int total = 0;
    std::string hint;  // shown after a while, one line per line feed
    bool operator==(const HubWorking&) const = default;
};
struct HubDone {
    std::string message;
    bool operator==(const HubDone&) const = default;
};
struct HubCheck {
    std::string message;
    bool operator==(const HubCheck&) const = default;
};
struct HubFailed {
    std::string message;
    bool operator==(const HubFailed&) const = default;
};
struct HubIdle {
    bool operator==(const HubIdle&) const = default;
};

// Idle comes first so that a default-constructed state is idle.
using HubState = std::variant<HubIdle, HubWorking, HubDone, HubCheck, HubFailed>;

inline bool isIdle(const HubState& state) {
    return std::holds_alternative<HubIdle>(state);
}
inline bool isWorking(const HubState& state) {
    return std::holds_alternative<HubWorking>(state);
}

}  // namespace tavrino
