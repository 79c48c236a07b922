#pragma once
// A child process leading a process group of its own, so that it and everything it starts can
// be killed together; the destructor does that if it is still running, so nothing we started
// outlives its owner.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tavrino::docs {

class ProcessGroup {
  public:
    // Starts argv[0] (looked up in PATH) with our environment plus `environment` (NAME=VALUE
    // entries, replacing ours of the same name), standard streams on /dev/null. Throws
    // DocumentError naming `label` when the program cannot be started at all.
    ProcessGroup(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::string& label);
    ~ProcessGroup();
    ProcessGroup(const ProcessGroup&) = delete;
    ProcessGroup& operator=(const ProcessGroup&) = delete;

    // The exit status (128 + signal for a killed child), or nothing when `limit` passed first;
    // the group is then killed and reaped. When the leader exits, what it left in its group
    // is killed too.
    std::optional<int> wait(std::chrono::milliseconds limit);
    // The exit status if the leader has ended, without waiting (what it left is killed).
    std::optional<int> poll();
    // poll(), waiting up to `limit` for the leader to end; it is woken by the end itself, so
    // the caller learns of it at once rather than at its next look.
    std::optional<int> pollFor(std::chrono::milliseconds limit);

  private:
    void killGroup();

    pid_t pid_ = -1;
    // Readable when the leader ends; -1 where the kernel has no pidfd (we then look every few
    // milliseconds).
    int pidfd_ = -1;
    bool reaped_ = false;
};

// Our environment with `changes` (NAME=VALUE) put in, for execve.
std::vector<std::string> environmentWith(const std::vector<std::string>& changes);

}  // namespace tavrino::docs
