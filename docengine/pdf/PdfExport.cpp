#include "pdf/PdfExport.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "io/DocumentIO.h"
#include "model/DocumentError.h"

namespace tavrino::docs {
namespace fs = std::filesystem;

namespace {

// A work folder removed with everything in it when the export ends, however it ends.
class WorkFolder {
  public:
    explicit WorkFolder(const fs::path& beside) {
        std::string pattern = (beside / ".tavrino-pdf-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw DocumentError("작업 폴더를 만들 수 없음: " + beside.string());
        }
        path_ = pattern;
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// A child process leading its own group; the destructor kills and reaps the whole group if
// it is still there, so nothing we started outlives the export.
class ProcessGroup {
  public:
    explicit ProcessGroup(const std::vector<std::string>& argv) {
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ < 0) throw DocumentError("LibreOffice를 시작할 수 없음");
        if (pid_ == 0) {
            ::setpgid(0, 0);
            const int devnull = ::open("/dev/null", O_RDWR);
            if (devnull >= 0) {
                ::dup2(devnull, STDIN_FILENO);
                ::dup2(devnull, STDOUT_FILENO);
                ::dup2(devnull, STDERR_FILENO);
            }
            ::execvp(args[0], args.data());
            ::_exit(127);
        }
        ::setpgid(pid_, pid_);  // also from here, so the group exists before any kill
    }
    ~ProcessGroup() { killGroup(); }
    ProcessGroup(const ProcessGroup&) = delete;
    ProcessGroup& operator=(const ProcessGroup&) = delete;

    // The exit status, or nothing when the limit passed first (the group is then killed).
    std::optional<int> wait(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (true) {
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
            if (std::chrono::steady_clock::now() >= deadline) {
                killGroup();
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

  private:
    void killGroup() {
        if (pid_ <= 0) return;
        ::kill(-pid_, SIGKILL);
        if (!reaped_) {
            int status = 0;
            while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            reaped_ = true;
        }
    }

    pid_t pid_ = -1;
    bool reaped_ = false;
};

std::string fileUrl(const fs::path& path) {
    std::string url = "file://";
    for (const unsigned char c : fs::absolute(path).string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += static_cast<char>(c);
        } else {
            static constexpr char hex[] = "0123456789ABCDEF";
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

}  // namespace

RenderOptions renderOptionsFromEnvironment() {
    RenderOptions options;
    const char* soffice = std::getenv("TAVRINO_SOFFICE");
    options.soffice = soffice != nullptr && *soffice != '\0' ? soffice : "soffice";
    if (const char* timeout = std::getenv("TAVRINO_RENDER_TIMEOUT")) {
        char* end = nullptr;
        const long seconds = std::strtol(timeout, &end, 10);
        if (end != timeout && *end == '\0' && seconds > 0) {
            options.timeout = std::chrono::seconds(seconds);
        }
    }
    return options;
}

void exportPdf(const Document& document, const fs::path& output, const RenderOptions& options) {
    const fs::path target = fs::absolute(output);
    const WorkFolder work(target.parent_path());
    const fs::path docx = work.path() / "document.docx";
    writeDocument(document, docx, DocumentFormat::docx);

    ProcessGroup soffice(
        {options.soffice.string(), "--headless", "--norestore", "--nolockcheck", "--nodefault",
         "--nologo", "-env:UserInstallation=" + fileUrl(work.path() / "profile"), "--convert-to",
         "pdf:writer_pdf_Export", "--outdir", work.path().string(), docx.string()});
    const std::optional<int> status = soffice.wait(options.timeout);
    if (!status) {
        throw DocumentError("LibreOffice가 제한 시간(" + std::to_string(options.timeout.count()) +
                            "초) 안에 끝나지 않음");
    }
    const fs::path pdf = work.path() / "document.pdf";
    std::error_code error;
    if (*status != 0 || !fs::is_regular_file(pdf, error) || fs::file_size(pdf, error) == 0) {
        throw DocumentError("LibreOffice가 PDF를 만들지 못함 (종료 코드 " +
                            std::to_string(*status) + ")");
    }
    fs::rename(pdf, target, error);
    if (error) throw DocumentError("PDF를 저장할 수 없음: " + output.string());
}

}  // namespace tavrino::docs
