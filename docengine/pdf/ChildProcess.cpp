#include "pdf/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <thread>

#include "model/DocumentError.h"

extern char** environ;

namespace tavrino::docs {

std::vector<std::string> environmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view current(*entry);
        const std::string_view name = current.substr(0, current.find('='));
        bool replaced = false;
        for (const std::string& change : changes) {
            replaced = replaced || change.compare(0, change.find('='), name) == 0;
        }
        if (!replaced) result.emplace_back(current);
    }
    result.insert(result.end(), changes.begin(), changes.end());
    return result;
}

ProcessGroup::ProcessGroup(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment, const std::string& label) {
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const std::vector<std::string> env = environmentWith(environment);
    std::vector<char*> envp;
    for (const std::string& entry : env)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);

    // The child reports a failed exec through this pipe; a successful exec closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) throw DocumentError(label + "를 시작할 수 없음");
    pid_ = ::fork();
    if (pid_ < 0) {
        ::close(report[0]);
        ::close(report[1]);
        throw DocumentError(label + "를 시작할 수 없음");
    }
    if (pid_ == 0) {
        ::setpgid(0, 0);
        const int devnull = ::open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            ::dup2(devnull, STDIN_FILENO);
            ::dup2(devnull, STDOUT_FILENO);
            ::dup2(devnull, STDERR_FILENO);
        }
        ::execvpe(args[0], args.data(), envp.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t ignored = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::setpgid(pid_, pid_);  // also from here, so the group exists before any kill
    // Our own unreaped child, so the pid cannot have been reused yet.
    pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    if (pidfd_ >= 0) ::fcntl(pidfd_, F_SETFD, FD_CLOEXEC);
    ::close(report[1]);
    int error = 0;
    ssize_t got = 0;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        killGroup();
        throw DocumentError(label + "를 찾지 못함: " + argv[0] + " (" + std::strerror(error) + ")");
    }
}

ProcessGroup::~ProcessGroup() {
    killGroup();
    if (pidfd_ >= 0) ::close(pidfd_);
}

std::optional<int> ProcessGroup::poll() {
    if (reaped_) return -1;
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
        reaped_ = true;
        ::kill(-pid_, SIGKILL);  // helpers it left in its group go too
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (done < 0 && errno != EINTR) {
        reaped_ = true;
        return -1;
    }
    return std::nullopt;
}

std::optional<int> ProcessGroup::pollFor(std::chrono::milliseconds limit) {
    if (const auto status = poll()) return status;
    if (limit.count() <= 0) return std::nullopt;
    if (pidfd_ >= 0) {
        pollfd ended{pidfd_, POLLIN, 0};
        const int count = ::poll(
            &ended, 1,
            static_cast<int>(std::min<long long>(limit.count(), std::numeric_limits<int>::max())));
        if (count < 0 && errno != EINTR) {
            ::close(pidfd_);  // unusable: the short looks below take over
            pidfd_ = -1;
        }
    } else {
        std::this_thread::sleep_for(std::min(limit, std::chrono::milliseconds(5)));
    }
    return poll();
}

std::optional<int> ProcessGroup::wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (const auto status = pollFor(std::max(left, std::chrono::milliseconds(0))))
            return status;
        if (std::chrono::steady_clock::now() >= deadline) {
            killGroup();
            return std::nullopt;
        }
    }
}

void ProcessGroup::killGroup() {
    if (pid_ <= 0) return;
    ::kill(-pid_, SIGKILL);
    if (!reaped_) {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        reaped_ = true;
    }
}

}  // namespace tavrino::docs
