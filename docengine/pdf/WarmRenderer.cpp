#include "pdf/WarmRenderer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "model/DocumentError.h"
#include "pdf/ChildProcess.h"
#include "pdf/FileUrl.h"
#include "pdf/FontMap.h"
#include "pdf/OfficeProfile.h"
#include "pdf/OfficeProgram.h"
#include "pdf/ServiceConnection.h"
#include "pdf/UnoScript.h"

namespace tavrino::docs {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// An flock()ed file, unlocked and closed when the object goes.
class FileLock {
  public:
    explicit FileLock(const fs::path& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ < 0) throw DocumentError("잠금 파일을 열 수 없음: " + path.string());
    }
    ~FileLock() { ::close(fd_); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool tryLock() { return ::flock(fd_, LOCK_EX | LOCK_NB) == 0; }
    // Queues for the lock and has it the moment its holder lets go: a blocking flock in a
    // thread of its own, which tells us through an eventfd. When the deadline passes first, the
    // thread is left to let go of the lock itself should it still get it.
    bool lockBy(Clock::time_point deadline) {
        if (tryLock()) return true;
        struct Wait {
            int done = ::eventfd(0, EFD_CLOEXEC);
            int fd = -1;                // the lock file's description, kept open by the thread
            std::atomic<int> state{0};  // 0 waiting, 1 locked for us, 2 given up
            ~Wait() {
                if (done >= 0) ::close(done);
                if (fd >= 0) ::close(fd);
            }
        };
        auto wait = std::make_shared<Wait>();
        wait->fd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
        if (wait->done < 0 || wait->fd < 0) return lockByLooking(deadline);
        std::thread([wait] {
            while (::flock(wait->fd, LOCK_EX) != 0 && errno == EINTR) {
            }
            int expected = 0;
            if (wait->state.compare_exchange_strong(expected, 1)) {
                const std::uint64_t one = 1;
                [[maybe_unused]] const ssize_t wrote = ::write(wait->done, &one, sizeof one);
            } else {
                ::flock(wait->fd, LOCK_UN);  // nobody wants it any more
            }
        }).detach();
        while (wait->state.load() != 1) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                int expected = 0;
                if (wait->state.compare_exchange_strong(expected, 2)) return false;
                break;  // it got the lock just now
            }
            pollfd ready{wait->done, POLLIN, 0};
            ::poll(&ready, 1, static_cast<int>(std::min<long long>(left.count(), 60'000)));
        }
        return true;
    }
    // Where no eventfd or descriptor can be had.
    bool lockByLooking(Clock::time_point deadline) {
        while (!tryLock()) {
            if (Clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
    void unlock() { ::flock(fd_, LOCK_UN); }
    // The watchdog reads the lock file's time as the time of the last render.
    void touch() { ::futimens(fd_, nullptr); }
    int fd() const { return fd_; }

  private:
    int fd_;
};

std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const unsigned char c : text) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

std::string hex(std::uint64_t value) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = digits[value & 15];
    return out;
}

// The pipe's name, unique to the folder (and so to the user and executable). LibreOffice
// adds the user id when it makes the socket.
std::string pipeName(const fs::path& folder) {
    return "tavrino-render-" + hex(fnv1a(folder.string()));
}

void writeIfChanged(const fs::path& path, const std::string& text) {
    std::ifstream in(path, std::ios::binary);
    const std::string current((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (current == text) return;
    const fs::path temporary = path.string() + ".new";
    std::ofstream(temporary, std::ios::binary | std::ios::trunc) << text;
    std::error_code error;
    fs::rename(temporary, path, error);
}

// Kills every process of the instance of `folder`, with the group it leads: those whose command
// line holds the instance's pipe (the launcher and LibreOffice itself carry it), found in /proc
// rather than from a recorded pid, which could by now belong to another program.
void killInstance(const fs::path& folder) {
    const std::string needle = "pipe,name=" + pipeName(folder) + ";";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream in(entry.path() / "cmdline", std::ios::binary);
        const std::string command((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
        if (command.find(needle) == std::string::npos) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        const pid_t group = ::getpgid(pid);
        if (group > 1 && group != ::getpgrp()) ::kill(-group, SIGKILL);
        ::kill(pid, SIGKILL);
    }
}

// The render service's socket, relative to the folder (the service works there, so the
// socket's name stays short whatever the folder's).
constexpr const char* kServiceSocket = "service.sock";

std::vector<char*> pointers(const std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (const std::string& text : strings)
        result.push_back(const_cast<char*>(text.c_str()));
    result.push_back(nullptr);
    return result;
}

// The watchdog, in the second child of a double fork: a session of its own, no stream of the
// caller's held open (a caller reading pelgrin's output to its end would otherwise wait for
// the instance to go), LibreOffice and the render service as its children, each in a group of
// its own.
[[noreturn]] void runWatchdog(const fs::path& folder, const std::vector<std::string>& argv,
                              const std::vector<std::string>& serviceArgv,
                              const std::vector<std::string>& environment,
                              std::chrono::seconds idle) {
    ::umask(077);
    ::prctl(PR_SET_NAME, "tavrino-render");
    const int devnull = ::open("/dev/null", O_RDWR);
    if (devnull >= 0) {
        ::dup2(devnull, STDIN_FILENO);
        ::dup2(devnull, STDOUT_FILENO);
        ::dup2(devnull, STDERR_FILENO);
    }
    ::close_range(3, UINT_MAX, 0);
    const int alive = ::open((folder / "alive.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (alive < 0 || ::flock(alive, LOCK_EX | LOCK_NB) != 0) ::_exit(0);  // one already runs
    const int use = ::open((folder / "use.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (use < 0) ::_exit(1);

    // Whatever a crashed watchdog left behind goes first. A watchdog that ended normally
    // removed its instance file, which spares the walk through /proc on a cold start.
    if (::access((folder / "instance").c_str(), F_OK) == 0) killInstance(folder);

    const std::vector<char*> args = pointers(argv);
    const std::vector<char*> serviceArgs = pointers(serviceArgv);
    const std::vector<char*> envp = pointers(environment);

    const pid_t watchdog = ::getpid();
    // A child in a group of its own that never outlives the watchdog.
    const auto child = [&](const std::vector<char*>& command, const fs::path& workFolder) {
        const pid_t pid = ::fork();
        if (pid < 0) return pid;
        if (pid == 0) {
            ::setpgid(0, 0);
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != watchdog) ::_exit(1);
            if (!workFolder.empty() && ::chdir(workFolder.c_str()) != 0) ::_exit(1);
            ::execvpe(command[0], command.data(), const_cast<char* const*>(envp.data()));
            ::_exit(127);
        }
        ::setpgid(pid, pid);
        return pid;
    };
    const auto launch = [&]() -> pid_t {
        const pid_t office = child(args, {});
        if (office < 0) ::_exit(1);
        std::ofstream(folder / "instance.new") << office << "\n";
        ::rename((folder / "instance.new").c_str(), (folder / "instance").c_str());
        return office;
    };
    pid_t office = launch();
    // Clients use the service when it answers and start a client of their own otherwise, so
    // a service that failed to start or died costs speed, never a document.
    const pid_t service = child(serviceArgs, folder);
    const auto endService = [&] {
        if (service <= 0) return;
        ::kill(-service, SIGKILL);
        ::waitpid(service, nullptr, 0);
        ::unlink((folder / kServiceSocket).c_str());
    };

    const auto stop = [&] {
        ::kill(-office, SIGTERM);  // lets LibreOffice close its profile cleanly
        for (int i = 0; i < 100 && ::waitpid(office, nullptr, WNOHANG) == 0; ++i)
            ::usleep(50'000);
        ::kill(-office, SIGKILL);
        ::waitpid(office, nullptr, 0);
    };
    // A client that gave up on the instance asks us to end it by this file: only we know its
    // process for certain (between our fork and its exec it does not yet carry the pipe's
    // name, and a walk through /proc would miss it).
    const fs::path stopRequest = folder / "stop";
    int restarts = 0;
    while (true) {
        ::usleep(250'000);
        if (::access(stopRequest.c_str(), F_OK) == 0) {
            ::kill(-office, SIGKILL);
            ::waitpid(office, nullptr, 0);
            break;
        }
        int status = 0;
        if (::waitpid(office, &status, WNOHANG) == office) {
            ::kill(-office, SIGKILL);  // what it left in the group
            // Started without its launcher, LibreOffice asks us to start it again when it has
            // just made its profile; a few times at most, so a crash loop still ends.
            const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            if ((code == kOfficeRestart || code == kOfficeCrashRestart) && restarts++ < 3) {
                office = launch();
                continue;
            }
            break;
        }
        if (::flock(use, LOCK_EX | LOCK_NB) != 0) continue;  // a render is under way
        struct stat info {};
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        const bool idleLongEnough =
            ::fstat(use, &info) == 0 && now.tv_sec - info.st_mtim.tv_sec >= idle.count();
        if (idleLongEnough) {
            endService();
            stop();
            ::unlink((folder / "instance").c_str());
            ::_exit(0);  // the use lock goes with the process
        }
        ::flock(use, LOCK_UN);
    }
    endService();
    ::unlink((folder / "instance").c_str());
    ::unlink(stopRequest.c_str());
    ::_exit(0);
}

void startInstance(const fs::path& folder, const RenderOptions& options) {
    const OfficeProgram office = officeProgram(options.soffice);
    const std::vector<std::string> argv{
        office.program.string(),
        "--headless",
        "--invisible",
        "--nologo",
        "--norestore",
        "--nolockcheck",
        "--nodefault",
        "--accept=pipe,name=" + pipeName(folder) + ";urp;StarOffice.ComponentContext",
        "-env:UserInstallation=" + fileUrl(folder / "profile")};
    // LibreOffice leaves files in its temporary folder; the instance's own keeps them out of
    // the user's.
    std::error_code ignored;
    fs::create_directories(folder / "tmp", ignored);
    // A request to stop an earlier instance that ended before it saw it must not end this one.
    fs::remove(folder / "stop", ignored);
    // Nothing else writes the profile now: no instance runs, and we hold the use lock.
    markProfileCurrent(folder / "profile", officeVersionCached(office.folder, folder / "version"));
    std::vector<std::string> changes = office.environment;
    changes.push_back("FONTCONFIG_FILE=" + (folder / "fonts.conf").string());
    changes.push_back("TMPDIR=" + (folder / "tmp").string());
    // The signature check also sets up NSS, and with no certificate store of the user's to
    // open it makes a new database in the temporary folder on every start; one kept here is
    // made once and then only opened.
    fs::create_directories(folder / "nss", ignored);
    changes.push_back("MOZILLA_CERTIFICATE_FOLDER=sql:" + (folder / "nss").string());
    const std::vector<std::string> environment = environmentWith(changes);
    const std::vector<std::string> serviceArgv{options.python.string(),
                                               "-c",
                                               kUnoScript,
                                               "--serve",
                                               pipeName(folder),
                                               kServiceSocket,
                                               std::to_string(options.warmStart.count()),
                                               "use.lock"};
    const pid_t first = ::fork();
    if (first < 0) return;
    if (first == 0) {
        ::setsid();
        if (::fork() == 0) runWatchdog(folder, argv, serviceArgv, environment, options.idle);
        ::_exit(0);
    }
    while (::waitpid(first, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The watchdog holds alive.lock from its first moments; wait for that so a client can tell
    // "starting" from "gone".
    // It does so within a millisecond or two; a second is the most we give it.
    for (int i = 0; i < 1000 && !warmInstanceRunning(folder); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Whether this Python has LibreOffice's UNO module; asked before starting an instance, and
// remembered in the folder once it did (a tenth of a second on every cold start otherwise).
bool haveUno(const fs::path& folder, const RenderOptions& options) {
    const fs::path marker = folder / "uno-ok";
    std::ifstream in(marker);
    std::string remembered;
    std::getline(in, remembered);
    if (remembered == options.python.string()) return true;
    try {
        ProcessGroup probe({options.python.string(), "-c", "import uno"}, {}, "Python");
        const auto status = probe.wait(std::chrono::seconds(10));
        if (!status || *status != 0) return false;
    } catch (const DocumentError&) {
        return false;
    }
    writeIfChanged(marker, options.python.string() + "\n");
    return true;
}

// Ends the instance of `folder` (stuck or unreachable): its watchdog is asked to end it, and
// what already carries the pipe's name is killed at once.
void stopInstance(const fs::path& folder) {
    std::ofstream(folder / "stop").close();
    killInstance(folder);
    for (int i = 0; i < 100 && warmInstanceRunning(folder); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

}  // namespace

fs::path warmFolder(const RenderOptions& options) {
    // A bare name is looked up in PATH, the same from any working folder.
    const std::string given = options.soffice.string();
    const std::string key = given.find('/') == std::string::npos
                                ? given
                                : fs::absolute(options.soffice).lexically_normal().string();
    return options.cache / ("render-" + hex(fnv1a(key)).substr(0, 12));
}

bool warmInstanceRunning(const fs::path& folder) {
    const int fd = ::open((folder / "alive.lock").c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return !free;
}

WarmOutcome renderWarm(const fs::path& docx, const fs::path& pdf, const RenderOptions& options,
                       const std::function<void()>& write) {
    const auto deadline = Clock::now() + options.timeout;
    const fs::path folder = warmFolder(options);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return WarmOutcome::unavailable;
    fs::permissions(folder, fs::perms::owner_all, error);
    writeIfChanged(folder / "fonts.conf", fontconfigFile());

    const std::string limit = "LibreOffice가 제한 시간(" + std::to_string(options.timeout.count()) +
                              "초) 안에 끝나지 않음";
    FileLock use(folder / "use.lock");
    if (!use.lockBy(deadline)) throw DocumentError(limit);
    use.touch();

    const bool running = warmInstanceRunning(folder);
    if (!running) {
        if (!haveUno(folder, options)) return WarmOutcome::unavailable;
        startInstance(folder, options);
    }
    write();
    // Between looks at the answer: false when the instance has ended (crashed, or never came
    // up), which will not answer, so the document is rendered cold.
    const auto keepWaiting = [&] {
        if (Clock::now() >= deadline) {
            stopInstance(folder);
            throw DocumentError(limit);
        }
        return warmInstanceRunning(folder);
    };
    std::optional<int> status;
    // A running instance has its service listening; one just started is reached by a client
    // of this document's own, whose start then overlaps LibreOffice's.
    ServiceConnection service(running ? folder / kServiceSocket : fs::path());
    if (service.connected() && service.request(fileUrl(docx), fileUrl(pdf))) {
        while (!status) {
            int answer = 0;
            const auto reply = service.await(std::chrono::milliseconds(50), answer);
            if (reply == ServiceConnection::Reply::answered) status = answer;
            if (reply == ServiceConnection::Reply::lost) status = -1;
            if (!status && !keepWaiting()) return WarmOutcome::unavailable;
        }
    } else {
        const auto connect = running ? std::chrono::seconds(5) : options.warmStart;
        ProcessGroup client({options.python.string(), "-c", kUnoScript, pipeName(folder),
                             fileUrl(docx), fileUrl(pdf), std::to_string(connect.count())},
                            {}, "Python");
        // Woken by the client's end; the instance's state is looked at in between.
        while (!(status = client.pollFor(std::chrono::milliseconds(50)))) {
            if (!keepWaiting()) return WarmOutcome::unavailable;
        }
    }
    // Whatever goes wrong inside the shared instance (it was ending, it crashed, it could not
    // load or store this document) the document gets its chance with a LibreOffice of its
    // own, whose failure then speaks for the document.
    if (*status == 0 && fs::is_regular_file(pdf, error) && fs::file_size(pdf, error) > 0) {
        use.touch();
        return WarmOutcome::rendered;
    }
    if (*status == kUnoMissing) fs::remove(folder / "uno-ok", error);
    stopInstance(folder);
    return WarmOutcome::unavailable;
}

}  // namespace tavrino::docs
