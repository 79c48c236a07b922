#pragma once
// Facts about running processes, read from the kernel's /proc file system: which processes
// of a user run a given executable, when each started, and whether one has ended. The root
// folder is replaceable so that tests can lay out a fake /proc.

#include <sys/types.h>

#include <compare>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace tavrino {

// When a process started, in seconds and microseconds since the epoch.
struct StartTime {
    long long seconds = 0;
    long long microseconds = 0;
    auto operator<=>(const StartTime&) const = default;
};

// The two fields of /proc/PID/stat we use: the state letter (field 3) and the start time in
// clock ticks after boot (field 22).
struct ProcessStat {
    char state = '?';
    unsigned long long startTicks = 0;
};

// Parses one /proc/PID/stat line. The command name (field 2) sits in parentheses and may
// itself hold spaces and parentheses, so the fields after it are counted from the last ')'.
std::optional<ProcessStat> parseProcessStat(std::string_view line);

// The "btime" line of /proc/stat: the boot time in seconds since the epoch.
std::optional<long long> parseBootTime(std::string_view procStat);

StartTime startTimeFromTicks(unsigned long long ticks, long long bootTime, long ticksPerSecond);

// The target of /proc/PID/exe without the " (deleted)" the kernel appends once the file was
// replaced, so that a copy started before an update still counts as the same program.
std::filesystem::path withoutDeletedMark(const std::filesystem::path& exe);

class ProcessTable {
  public:
    explicit ProcessTable(std::filesystem::path root = "/proc");

    // No value when the process is gone or its stat cannot be read.
    std::optional<StartTime> startTime(pid_t pid) const;

    // True when the process no longer runs: its entry is gone, it is a zombie, or its id now
    // belongs to a process with another start time. `seen` is the start time read earlier.
    bool ended(pid_t pid, const std::optional<StartTime>& seen) const;

    // Live processes owned by `uid` whose executable is `executable`, by ascending id.
    std::vector<pid_t> copiesOf(const std::filesystem::path& executable, uid_t uid) const;

    // The executable of this process.
    std::filesystem::path executableOf(pid_t pid) const;

  private:
    std::optional<ProcessStat> stat(pid_t pid) const;
    std::optional<long long> bootTime() const;

    std::filesystem::path root_;
};

}  // namespace tavrino
