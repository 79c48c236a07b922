#include "support/Judges.h"

#include "convert/ConvertError.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace fs = std::filesystem;

namespace tavrino::test {

std::string errorOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const ConvertError& error) {
        return error.description();
    }
    return "(no error)";
}

std::optional<Identified> identify(const fs::path& file) {
    // %A is the alpha trait (Undefined when there is none); %n the number of frames.
    const ProcessResult result =
        runProgram({"identify", "-format", "%m %w %h %A %n\\n", file.string()});
    if (result.status != 0) return std::nullopt;
    std::istringstream line(result.out);
    Identified id;
    std::string alpha;
    if (!(line >> id.format >> id.width >> id.height >> alpha >> id.frames)) return std::nullopt;
    id.alpha = alpha != "Undefined" && alpha != "False";
    return id;
}

std::optional<PdfInfo> pdfinfo(const fs::path& file) {
    const ProcessResult result = runProgram({"pdfinfo", file.string()});
    if (result.status != 0) return std::nullopt;
    PdfInfo info;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Pages:")) info.pages = std::atoi(line.c_str() + 6);
        if (line.starts_with("Page size:")) {
            std::sscanf(line.c_str() + 10, " %lf x %lf", &info.width, &info.height);
        }
    }
    return info;
}

std::string exiftoolTags(const fs::path& file) {
    return runProgram({"exiftool", "-a", "-G1", "-s", "-q", "--System:all", "--File:all",
                       "--ExifTool:all", file.string()})
        .out;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tavrino::test
