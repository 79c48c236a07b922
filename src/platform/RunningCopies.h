#pragma once
// Which running copy of this program a newly started copy hands over to: the one that
// started first among those older than this process.

#include <sys/types.h>

#include <optional>
#include <span>

#include "platform/ProcessTable.h"

namespace tavrino {

struct RunningCopy {
    pid_t pid = 0;
    std::optional<StartTime> start;  // none when it could not be read
    bool operator==(const RunningCopy&) const = default;
};

// Whether `a` started before `b`: by start time, and by the smaller process id when either
// time is unreadable or both are equal.
bool startedBefore(const RunningCopy& a, const RunningCopy& b);

// The copy to hand over to, or none. Entries equal to `self` (by id) are skipped; among the
// older ones the first to start wins, and on a full tie the one listed first stays.
std::optional<RunningCopy> olderInstance(std::span<const RunningCopy> running,
                                         const RunningCopy& self);

// The live copies of this program's executable run by this user, as seen in `table`.
std::vector<RunningCopy> runningCopies(const ProcessTable& table);

}  // namespace tavrino
