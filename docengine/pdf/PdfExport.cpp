#include "pdf/PdfExport.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "io/DocumentIO.h"
#include "model/DocumentError.h"
#include "pdf/ChildProcess.h"
#include "pdf/FileUrl.h"
#include "pdf/FontMap.h"
#include "pdf/OfficeProfile.h"
#include "pdf/OfficeProgram.h"
#include "pdf/WarmRenderer.h"

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

std::optional<long> secondsFromEnvironment(const char* name) {
    const char* text = std::getenv(name);
    if (text == nullptr) return std::nullopt;
    char* end = nullptr;
    const long seconds = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || seconds <= 0) return std::nullopt;
    return seconds;
}

// LibreOffice started for this document alone, with a fresh profile in the work folder.
void renderCold(const fs::path& work, const fs::path& docx, const RenderOptions& options) {
    const fs::path fonts = work / "fonts.conf";
    std::ofstream(fonts, std::ios::binary) << fontconfigFile();
    const fs::path versionCache =
        options.cache.empty() ? fs::path() : options.cache / "office-version";
    if (!options.cache.empty()) {
        std::error_code ignored;
        fs::create_directories(options.cache, ignored);
    }
    markProfileCurrent(work / "profile",
                       officeVersionCached(officeProgram(options.soffice).folder, versionCache));
    ProcessGroup soffice(
        {options.soffice.string(), "--headless", "--norestore", "--nolockcheck", "--nodefault",
         "--nologo", "-env:UserInstallation=" + fileUrl(work / "profile"), "--convert-to",
         "pdf:writer_pdf_Export", "--outdir", work.string(), docx.string()},
        // LibreOffice leaves files in its temporary folder: ours goes with the work folder.
        {"FONTCONFIG_FILE=" + fonts.string(), "TMPDIR=" + work.string()}, "LibreOffice");
    const std::optional<int> status = soffice.wait(options.timeout);
    if (!status) {
        throw DocumentError("LibreOffice가 제한 시간(" + std::to_string(options.timeout.count()) +
                            "초) 안에 끝나지 않음");
    }
    if (*status != 0) {
        throw DocumentError("LibreOffice가 PDF를 만들지 못함 (종료 코드 " +
                            std::to_string(*status) + ")");
    }
}

}  // namespace

RenderOptions renderOptionsFromEnvironment() {
    RenderOptions options;
    const char* soffice = std::getenv("TAVRINO_SOFFICE");
    options.soffice = soffice != nullptr && *soffice != '\0' ? soffice : "soffice";
    if (const auto seconds = secondsFromEnvironment("TAVRINO_RENDER_TIMEOUT"))
        options.timeout = std::chrono::seconds(*seconds);
    if (const auto seconds = secondsFromEnvironment("TAVRINO_RENDER_IDLE"))
        options.idle = std::chrono::seconds(*seconds);
    if (const char* python = std::getenv("TAVRINO_PYTHON"); python != nullptr && *python != '\0')
        options.python = python;
    const char* warm = std::getenv("TAVRINO_RENDER_WARM");
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache != nullptr && *cache == '/') {
        options.cache = fs::path(cache) / "tavrino";
    } else if (home != nullptr && *home == '/') {
        options.cache = fs::path(home) / ".cache" / "tavrino";
    }
    options.warm = !options.cache.empty() && !(warm != nullptr && std::string(warm) == "0");
    return options;
}

void exportPdf(const Document& document, const fs::path& output, const RenderOptions& options) {
    const fs::path target = fs::absolute(output);
    const WorkFolder work(target.parent_path());
    const fs::path docx = work.path() / "document.docx";
    bool written = false;
    const auto write = [&] {
        if (written) return;
        writeDocument(document, docx, DocumentFormat::docx);
        written = true;
    };
    const fs::path pdf = work.path() / "document.pdf";
    if (!options.warm || renderWarm(docx, pdf, options, write) == WarmOutcome::unavailable) {
        write();
        renderCold(work.path(), docx, options);
    }
    std::error_code error;
    if (!fs::is_regular_file(pdf, error) || fs::file_size(pdf, error) == 0) {
        throw DocumentError("LibreOffice가 PDF를 만들지 못함");
    }
    // The renderer writes inside our private folder, the warm one under umask 077; the user's
    // PDF gets what any new file of theirs gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    std::error_code ignored;
    fs::permissions(pdf, static_cast<fs::perms>(0666 & ~mask), ignored);
    fs::rename(pdf, target, error);
    if (error) throw DocumentError("PDF를 저장할 수 없음: " + output.string());
}

}  // namespace tavrino::docs
