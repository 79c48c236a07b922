#include "menu/Formats.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "platform/ImageProbe.h"
#include "platform/Paths.h"

namespace tavrino {
namespace {

bool isDirectory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

std::string_view rawValue(Fmt fmt) {
    static constexpr std::array<std::string_view, 6> raws{"png",  "jpg", "heic",
                                                          "tiff", "pdf", "bmp"};
    return raws[static_cast<size_t>(fmt)];
}

std::optional<Fmt> fmtFromRawValue(std::string_view raw) {
    for (Fmt fmt : allFmts) {
        if (rawValue(fmt) == raw) return fmt;
    }
    return std::nullopt;
}

std::optional<Fmt> fmtFromExtension(std::string_view extension) {
    const std::string ext = lowered(extension);
    if (ext == "jpeg") return Fmt::jpg;
    if (ext == "heif") return Fmt::heic;
    if (ext == "tif") return Fmt::tiff;
    return fmtFromRawValue(ext);
}

std::string_view rawValue(DocTarget target) {
    static constexpr std::array<std::string_view, 7> raws{"pdf",  "docx", "png", "jpg",
                                                          "hwpx", "hwp",  "txt"};
    return raws[static_cast<size_t>(target)];
}

std::string title(DocTarget target) {
    if (target == DocTarget::docx) return "Word";
    std::string out(rawValue(target));
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::optional<DocTarget> docTargetFromRawValue(std::string_view raw) {
    for (DocTarget target : allDocTargets) {
        if (rawValue(target) == raw) return target;
    }
    return std::nullopt;
}

std::span<const Tool> tools(FileKind kind) {
    static constexpr std::array<Tool, 3> pdfTools{Tool::stripMetadata, Tool::mergePDF,
                                                  Tool::extractText};
    static constexpr std::array<Tool, 2> editableDocTools{Tool::stripMetadata, Tool::extractText};
    static constexpr std::array<Tool, 1> hwpTools{Tool::extractText};
    switch (kind) {
        case FileKind::image:
            return allTools;
        case FileKind::pdf:
            return pdfTools;
        case FileKind::docx:
        case FileKind::hwpx:
            return editableDocTools;
        case FileKind::hwp:
            return hwpTools;
        case FileKind::other:
            return {};
    }
    return {};
}

std::string normalizedExtension(const std::filesystem::path& path) {
    std::string ext = lowerExtension(path);
    if (ext == "jpeg") return "jpg";
    if (ext == "tif") return "tiff";
    if (ext == "heif") return "heic";
    return ext;
}

std::optional<FileKind> kindFromExtension(std::string_view lowerExtension) {
    if (lowerExtension == "pdf") return FileKind::pdf;
    if (lowerExtension == "docx") return FileKind::docx;
    if (lowerExtension == "hwpx") return FileKind::hwpx;
    if (lowerExtension == "hwp") return FileKind::hwp;
    if (fmtFromExtension(lowerExtension)) return FileKind::image;
    return std::nullopt;
}

FileKind fileKind(const std::filesystem::path& path) {
    if (isDirectory(path)) return FileKind::other;
    if (auto kind = kindFromExtension(lowerExtension(path))) return *kind;
    return probeIsImage(path) ? FileKind::image : FileKind::other;
}

SameFormat sameFormat(const std::filesystem::path& path) {
    switch (fmtFromExtension(lowerExtension(path)).value_or(Fmt::png)) {
        case Fmt::jpg:
            return {Fmt::jpg, "jpg"};
        case Fmt::heic:
            return {Fmt::heic, "heic"};
        case Fmt::tiff:
            return {Fmt::tiff, "tiff"};
        case Fmt::bmp:
            return {Fmt::bmp, "bmp"};
        case Fmt::png:
        case Fmt::pdf:
            break;
    }
    return {Fmt::png, "png"};
}

}  // namespace tavrino
