#include "tools/Tools.h"

#include "convert/ConvertError.h"
#include "convert/DocumentConvert.h"
#include "menu/Formats.h"
#include "menu/MenuRules.h"
#include "tools/BackgroundRemoval.h"
#include "tools/MetadataStrip.h"
#include "tools/PageRecognition.h"
#include "tools/PixelTools.h"
#include "tools/TextOutput.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

ToolResult stripMetadata(const fs::path& path, FileKind kind, const SameFormat& format) {
    switch (kind) {
        case FileKind::pdf:
            return stripPDFInfo(path);
        case FileKind::docx:
        case FileKind::hwpx:
            return stripDocumentInfo(path, kind);
        default:
            return stripImageMetadata(path, format.extension);
    }
}

// Images and PDFs are read by recognition; documents give their own text. Both end in the
// same text file, clipboard and note.
ToolResult extractText(const FileFacts& source) {
    const FileKind kind = source.kind();
    if (kind == FileKind::image || kind == FileKind::pdf) {
        return deliverText(source.path(), recognizeText(source));
    }
    return deliverText(source.path(), documentText(source.path(), kind));
}

}  // namespace

ToolResult applyTool(Tool tool, const fs::path& source, ToolCheck check) {
    return applyTool(tool, FileFacts(source), check);
}

ToolResult applyTool(Tool tool, const FileFacts& source, ToolCheck check) {
    const fs::path& path = source.path();
    const FileKind kind = source.kind();
    if (check == ToolCheck::applicability && applies(ToolItem{tool}, source) != Applies::run) {
        refuseFile(tool, path);
    }
    const SameFormat format = sameFormat(path);
    switch (tool) {
        case Tool::compress:
            return compressImage(path);
        case Tool::resize:
            return resizeImage(path, format);
        case Tool::rotate:
            return rotateImage(path, format);
        case Tool::stripMetadata:
            return stripMetadata(path, kind, format);
        case Tool::crop:
        case Tool::mergePDF:
            refuseAsPerFileWork(tool);
        case Tool::extractText:
            return extractText(source);
        case Tool::removeBackground:
            return removeBackgroundTool(path);
    }
    notBuilt(rawValue(tool));
}

}  // namespace tavrino
