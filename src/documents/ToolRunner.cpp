#include "documents/ToolRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "convert/ConvertError.h"
#include "platform/Bundle.h"

extern char** environ;

namespace tavrino {
namespace {

// A control character, DEL or U+FFFD in a name means it was mangled on its way here;
// handing it to a tool would only produce a file nobody can address.
bool hasUnusableCharacter(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
    }
    return name.find("\xEF\xBF\xBD") != std::string_view::npos;
}

bool validUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        size_t length = lead < 0x80         ? 1
                        : (lead >> 5) == 6  ? 2
                        : (lead >> 4) == 14 ? 3
                        : (lead >> 3) == 30 ? 4
                                            : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7f >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3f);
        }
        const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < minimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

struct Finished {
    int status;
    std::string output;
};

struct FileActions {
    posix_spawn_file_actions_t actions;
    FileActions() { posix_spawn_file_actions_init(&actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
};

std::string readToEnd(int fd) {
    std::string bytes;
    char buffer[16384];
    while (true) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    return bytes;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// Starts `exe` with both output streams on one pipe, reads the pipe to its end, then waits.
Finished spawnAndCollect(const std::string& exe, const std::vector<std::string>& args,
                         const std::optional<std::filesystem::path>& cwd) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw ConvertError(std::strerror(errno));
    FileActions files;
    posix_spawn_file_actions_adddup2(&files.actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&files.actions, pipeEnds[1], STDERR_FILENO);
    // No child reads our input: unzip, for one, asks on standard input what to do with a
    // name that is in a package twice, and would wait for an answer from a terminal forever.
    posix_spawn_file_actions_addopen(&files.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (cwd) posix_spawn_file_actions_addchdir_np(&files.actions, cwd->c_str());
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(exe.c_str()));
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, exe.c_str(), &files.actions, nullptr, argv.data(), environ);
    ::close(pipeEnds[1]);
    if (error != 0) {
        ::close(pipeEnds[0]);
        throw ConvertError(std::strerror(error));
    }
    std::string bytes = readToEnd(pipeEnds[0]);
    ::close(pipeEnds[0]);
    return Finished{waitFor(pid), decodedOutput(std::move(bytes))};
}

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string decodedOutput(std::string bytes) {
    return validUtf8(bytes) ? std::move(bytes) : std::string();
}

std::string lastLine(std::string_view text) {
    size_t end = text.size();
    while (end > 0) {
        const size_t start = text.rfind('\n', end - 1);
        const size_t from = start == std::string_view::npos ? 0 : start + 1;
        if (end > from) return std::string(text.substr(from, end - from));
        if (start == std::string_view::npos) break;
        end = start;
    }
    return {};
}

std::vector<std::filesystem::path> toolCandidates(
    const std::string& name, const std::string& vendorDir,
    const std::optional<std::filesystem::path>& resourcesDir,
    const std::filesystem::path& programDir) {
    std::vector<std::filesystem::path> candidates;
    if (resourcesDir) candidates.push_back(*resourcesDir / name);
    candidates.push_back(programDir / name);
    std::filesystem::path parent = programDir;
    std::vector<std::filesystem::path> buildTree;
    for (int k = 1; k <= 5; ++k) {
        parent = parent.parent_path();
        candidates.push_back(parent / "vendor" / vendorDir / name);
        buildTree.push_back(parent / "docengine" / name);
    }
    candidates.insert(candidates.end(), buildTree.begin(), buildTree.end());
    return candidates;
}

std::optional<std::string> bundledToolPath(const std::string& name, const std::string& vendorDir) {
    std::optional<std::filesystem::path> resources;
    if (const auto bundle = bundleDirectory(); bundle) {
        std::error_code error;
        if (std::filesystem::is_directory(*bundle / "Resources", error)) {
            resources = *bundle / "Resources";
        }
    }
    for (const auto& candidate :
         toolCandidates(name, vendorDir, resources, executableDirectory())) {
        if (isExecutableFile(candidate)) return candidate.string();
    }
    return std::nullopt;
}

std::string runTool(const std::optional<std::string>& exe, const std::string& label,
                    const std::vector<std::string>& args) {
    for (const auto& arg : args) {
        if (arg.find('/') != std::string::npos && hasUnusableCharacter(arg)) {
            throw ConvertError("파일 이름에 쓸 수 없는 글자가 있습니다: " +
                               std::filesystem::path(arg).filename().string());
        }
    }
    if (!exe) throw ConvertError(label + " 프로그램을 찾지 못함");
    Finished finished = spawnAndCollect(*exe, args, std::nullopt);
    if (finished.status != 0) {
        throw ConvertError(label + " 실패(" + std::to_string(finished.status) +
                           "): " + lastLine(finished.output));
    }
    return std::move(finished.output);
}

void runProcess(const std::string& exe, const std::vector<std::string>& args,
                const std::optional<std::filesystem::path>& cwd) {
    const Finished finished = spawnAndCollect(exe, args, cwd);
    if (finished.status != 0) {
        throw ConvertError(std::filesystem::path(exe).filename().string() + " 실패(" +
                           std::to_string(finished.status) + "): " + lastLine(finished.output));
    }
}

}  // namespace tavrino
