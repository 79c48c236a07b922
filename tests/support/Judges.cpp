#include "support/Judges.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace fs = std::filesystem;

namespace tavrino::test {

CommandResult runProgram(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (arguments.empty() || ::pipe(pipeEnds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], 1);
        ::dup2(pipeEnds[1], 2);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    CommandResult result;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) result.output.append(buffer, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool haveTool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && ::access((fs::path(folder) / name).c_str(), X_OK) == 0) return true;
    }
    return false;
}

std::optional<Identified> identify(const fs::path& file) {
    // %A is the alpha trait (Undefined / Blend / True ...); %n the number of frames.
    const CommandResult result =
        runProgram({"identify", "-format", "%m %w %h %A %n\\n", file.string()});
    if (result.status != 0) return std::nullopt;
    std::istringstream line(result.output);
    Identified id;
    std::string alpha;
    if (!(line >> id.format >> id.width >> id.height >> alpha >> id.frames)) return std::nullopt;
    id.alpha = alpha != "Undefined" && alpha != "False";
    return id;
}

std::optional<PdfInfo> pdfinfo(const fs::path& file) {
    const CommandResult result = runProgram({"pdfinfo", file.string()});
    if (result.status != 0) return std::nullopt;
    PdfInfo info;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("Pages:")) info.pages = std::atoi(line.c_str() + 6);
        if (line.starts_with("Page size:")) {
            std::sscanf(line.c_str() + 10, " %lf x %lf", &info.width, &info.height);
        }
    }
    return info;
}

std::string exiftoolTags(const fs::path& file) {
    const CommandResult result =
        runProgram({"exiftool", "-a", "-G1", "-s", "-q", "--System:all", "--File:all",
                    "--ExifTool:all", file.string()});
    return result.output;
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "tavrino-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    // Tests take permissions away to provoke failures; give them back so removal works.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tavrino::test
