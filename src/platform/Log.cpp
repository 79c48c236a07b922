#include "platform/Log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <mutex>
#include <system_error>

#include "platform/Bundle.h"
#include "platform/Paths.h"

namespace tavrino {
namespace {

std::mutex& logMutex() {
    static std::mutex mutex;
    return mutex;
}

std::filesystem::path& currentLogFile() {
    static std::filesystem::path file = developerLogFile();
    return file;
}

std::string timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

bool writeAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

void appendToFile(const std::filesystem::path& file, const std::string& line) {
    int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        std::error_code ignored;
        std::filesystem::create_directories(file.parent_path(), ignored);
        fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) return;
    }
    writeAll(fd, line);
    ::close(fd);
}

}  // namespace

void log(std::string_view message) {
    const std::string line = "[" + timestamp() + "] " + std::string(message) + "\n";
    std::lock_guard lock(logMutex());
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    appendToFile(currentLogFile(), line);
}

void setLogFile(const std::filesystem::path& file) {
    std::lock_guard lock(logMutex());
    currentLogFile() = file;
}

std::filesystem::path logFile() {
    std::lock_guard lock(logMutex());
    return currentLogFile();
}

bool isUserRun(const std::vector<std::string>& arguments) {
    if (!runningFromBundle()) return false;
    for (const std::string& argument : arguments) {
        if (argument.starts_with("--")) return false;
    }
    return true;
}

std::filesystem::path userLogFile() {
    return stateHome() / "tavrino" / "Tavrino.log";
}

std::filesystem::path developerLogFile() {
    return temporaryDirectory() / ("tavrino-run-" + std::to_string(::getpid())) / "selftest.log";
}

void chooseLogFile(const std::vector<std::string>& arguments) {
    setLogFile(isUserRun(arguments) ? userLogFile() : developerLogFile());
}

}  // namespace tavrino
