#include "platform/RunningCopies.h"

#include <unistd.h>

namespace tavrino {

bool startedBefore(const RunningCopy& a, const RunningCopy& b) {
    if (a.start && b.start && *a.start != *b.start) return *a.start < *b.start;
    return a.pid < b.pid;
}

std::optional<RunningCopy> olderInstance(std::span<const RunningCopy> running,
                                         const RunningCopy& self) {
    std::optional<RunningCopy> oldest;
    for (const RunningCopy& copy : running) {
        if (copy.pid == self.pid || !startedBefore(copy, self)) continue;
        if (!oldest || startedBefore(copy, *oldest)) oldest = copy;
    }
    return oldest;
}

std::vector<RunningCopy> runningCopies(const ProcessTable& table) {
    std::vector<RunningCopy> copies;
    const auto executable = table.executableOf(::getpid());
    if (executable.empty()) return copies;
    for (pid_t pid : table.copiesOf(executable, ::getuid())) {
        copies.push_back({pid, table.startTime(pid)});
    }
    return copies;
}

}  // namespace tavrino
