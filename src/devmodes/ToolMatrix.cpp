#include "devmodes/ToolMatrix.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "menu/Formats.h"
#include "platform/Paths.h"

#include "run/Operations.h"

namespace tavrino::app {
namespace {

std::string kindName(FileKind kind) {
    switch (kind) {
        case FileKind::image:
            return "image";
        case FileKind::pdf:
            return "pdf";
        case FileKind::docx:
            return "docx";
        case FileKind::hwpx:
            return "hwpx";
        case FileKind::hwp:
            return "hwp";
        case FileKind::other:
            break;
    }
    return "other";
}

std::vector<std::filesystem::path> samplesIn(const std::filesystem::path& directory) {
    std::error_code error;
    std::vector<std::filesystem::path> samples;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (entry.is_regular_file(error)) samples.push_back(entry.path());
    }
    if (error) throw std::runtime_error("샘플 폴더를 읽을 수 없음: " + directory.string());
    std::sort(samples.begin(), samples.end());
    return samples;
}

// A fresh folder holding a copy of the sample, removed when the run is over.
class WorkCopy {
  public:
    explicit WorkCopy(const std::filesystem::path& sample) {
        std::string pattern = (temporaryDirectory() / "tavrino-matrix-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("임시 폴더를 만들 수 없음");
        folder_ = pattern;
        file_ = folder_ / sample.filename();
        std::filesystem::copy_file(sample, file_);
    }
    ~WorkCopy() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    WorkCopy(const WorkCopy&) = delete;
    WorkCopy& operator=(const WorkCopy&) = delete;
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
};

std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\t'; }, ' ');
    return text;
}

}  // namespace

std::string matrixLabel(Tool tool) {
    return std::string(title(tool));
}

ToolRunner builtInToolRunner() {
    return [operations = standardOperations()](Tool tool, const std::filesystem::path& file) {
        const ToolResult result = operations.applyTool(tool, FileFacts(file));
        return result.output.filename().string() + (result.note ? " " + *result.note : "");
    };
}

int runToolMatrix(const std::filesystem::path& directory, const ToolRunner& runner,
                  std::ostream& out) {
    int runs = 0;
    for (const auto& sample : samplesIn(directory)) {
        const std::string kind = kindName(fileKind(sample));
        for (Tool tool : allTools) {
            std::string verdict = "OK";
            std::string detail;
            try {
                WorkCopy copy(sample);
                detail = runner(tool, copy.file());
            } catch (const std::exception& error) {
                verdict = "FAIL";
                detail = error.what();
            }
            out << kind << '\t' << matrixLabel(tool) << '\t' << verdict << '\t' << oneLine(detail)
                << '\n';
            ++runs;
        }
    }
    out.flush();
    return runs;
}

}  // namespace tavrino::app
