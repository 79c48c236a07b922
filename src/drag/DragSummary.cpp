#include "drag/DragSummary.h"

#include <set>
#include <system_error>

#include "menu/Formats.h"

namespace tavrino {
namespace {

std::int64_t sizeOrZero(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return 0;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

std::optional<Fmt> sharedFormat(const std::vector<std::filesystem::path>& files) {
    std::set<std::optional<Fmt>> formats;
    for (const auto& file : files)
        formats.insert(fmtFromExtension(lowerExtension(file)));
    return formats.size() == 1 ? *formats.begin() : std::nullopt;
}

std::optional<std::string> sharedHwpExtension(const std::vector<std::filesystem::path>& files) {
    std::set<std::string> extensions;
    for (const auto& file : files) {
        std::string extension = lowerExtension(file);
        if (extension != "hwp" && extension != "hwpx") return std::nullopt;
        extensions.insert(std::move(extension));
    }
    return extensions.size() == 1 ? *extensions.begin() : std::string();
}

bool isFolder(const std::filesystem::path& file) {
    // A URL written with a trailing slash names a folder even when it is gone by now.
    if (!file.empty() && !file.has_filename()) return true;
    std::error_code error;
    return std::filesystem::is_directory(file, error);
}

std::string extensionWithDot(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    return extension.empty() ? "." : extension;
}

}  // namespace

std::optional<DragInfo> summarizeDrag(std::vector<std::filesystem::path> files) {
    if (files.empty()) return std::nullopt;
    DragInfo info;
    for (const auto& file : files)
        info.totalBytes += sizeOrZero(file);
    info.sourceFmt = sharedFormat(files);
    info.hwpExt = sharedHwpExtension(files);
    info.allDocx = true;
    for (const auto& file : files)
        info.allDocx = info.allDocx && lowerExtension(file) == "docx";
    info.paths = std::move(files);
    return info;
}

std::string skipDetails(const std::optional<DragInfo>& info) {
    if (!info) return "파일 정보 못 읽음";
    std::string details;
    for (const auto& file : info->paths) {
        if (!details.empty()) details += ",";
        // The extension as the file spells it, so the log shows what the user dragged.
        details += isFolder(file) ? std::string("폴더") : extensionWithDot(file);
    }
    return details;
}

}  // namespace tavrino
