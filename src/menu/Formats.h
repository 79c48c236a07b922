#pragma once
// The small vocabulary every subsystem speaks: output formats of images and PDFs (Fmt),
// targets of document conversions (DocTarget) and the classification of input files
// (FileKind). Everything here is a value or a pure function of a file path.

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "menu/Tool.h"
#include "platform/Paths.h"  // lowerExtension

namespace tavrino {

// Image and PDF output formats, in the order of the convert petals.
enum class Fmt { png, jpg, heic, tiff, pdf, bmp };
inline constexpr std::array<Fmt, 6> allFmts{Fmt::png,  Fmt::jpg, Fmt::heic,
                                            Fmt::tiff, Fmt::pdf, Fmt::bmp};

std::string_view rawValue(Fmt fmt);
// Exact raw values only: "jpeg" is not a raw value.
std::optional<Fmt> fmtFromRawValue(std::string_view raw);
// Case-insensitive, folding jpeg, heif and tif into jpg, heic and tiff.
std::optional<Fmt> fmtFromExtension(std::string_view extension);

// Targets of a document conversion, in petal order.
enum class DocTarget { pdf, docx, png, jpg, hwpx, hwp, txt };
inline constexpr std::array<DocTarget, 7> allDocTargets{
    DocTarget::pdf,  DocTarget::docx, DocTarget::png, DocTarget::jpg,
    DocTarget::hwpx, DocTarget::hwp,  DocTarget::txt};

std::string_view rawValue(DocTarget target);
// The raw value upper-cased, except "Word" for docx.
std::string title(DocTarget target);
std::optional<DocTarget> docTargetFromRawValue(std::string_view raw);

enum class FileKind { image, pdf, docx, hwpx, hwp, other };

// The tools a file of this kind offers, in Tool order.
std::span<const Tool> tools(FileKind kind);

// Classifies a path. Directories are `other`; known extensions decide without reading the
// file; an unrecognised extension is probed as an image by its header alone. Never throws.
FileKind fileKind(const std::filesystem::path& path);

// The kind a lower-cased extension alone decides: pdf, docx, hwpx, hwp, or an image format.
std::optional<FileKind> kindFromExtension(std::string_view lowerExtension);

// The path extension lower-cased, with jpeg, tif and heif folded into jpg, tiff and heic.
std::string normalizedExtension(const std::filesystem::path& path);

// The format a tool writes when it keeps the source's format: JPEG, HEIC, TIFF and BMP keep
// theirs, everything else (PNG, PDF, GIF, ...) becomes PNG.
struct SameFormat {
    Fmt type;
    std::string extension;
    bool operator==(const SameFormat&) const = default;
};
SameFormat sameFormat(const std::filesystem::path& path);

}  // namespace tavrino
