#include "menu/MenuRules.h"

#include <algorithm>
#include <set>

#include "platform/SaliencyModel.h"

namespace tavrino {

// Background removal is offered when the build has the network engine and its model file.
std::function<bool()> removeBackgroundSupported = [] { return saliencyModelAvailable(); };

WheelItem specificItem(const WheelItem& item, const FileFacts& file) {
    const auto* common = std::get_if<CommonItem>(&item);
    if (!common) return item;
    switch (file.kind()) {
        case FileKind::image:
        case FileKind::pdf:
            if (auto fmt = fmtFromRawValue(common->extension)) return ConvertItem{*fmt};
            break;
        case FileKind::hwpx:
        case FileKind::hwp:
            if (auto target = docTargetFromRawValue(common->extension)) {
                return DocumentItem{*target};
            }
            break;
        case FileKind::docx:
            if (auto target = docTargetFromRawValue(common->extension)) {
                return FromWordItem{*target};
            }
            break;
        case FileKind::other:
            break;
    }
    return item;
}

namespace {

Applies appliesConvert(const FileFacts& file) {
    if (file.kind() == FileKind::pdf) return Applies::run;
    if (file.kind() != FileKind::image) return Applies::no;
    return file.isAnimatedGIF() ? Applies::no : Applies::run;
}

bool worksOnMultiPageTIFF(Tool tool) {
    return tool == Tool::stripMetadata || tool == Tool::mergePDF || tool == Tool::extractText;
}

Applies appliesTool(Tool tool, const FileFacts& file) {
    const auto offered = tools(file.kind());
    if (std::find(offered.begin(), offered.end(), tool) == offered.end()) return Applies::no;
    if (tool == Tool::removeBackground && !removeBackgroundSupported()) return Applies::no;
    if (file.kind() != FileKind::image) return Applies::run;
    if (file.isAnimatedGIF()) return Applies::no;
    if (file.isMultiPageTIFF() && !worksOnMultiPageTIFF(tool)) return Applies::no;
    if (tool == Tool::stripMetadata && !fmtFromExtension(file.lowerExt())) return Applies::no;
    return Applies::run;
}

}  // namespace

Applies applies(const WheelItem& item, const FileFacts& file) {
    if (file.isDirectory()) return Applies::no;
    if (auto target = targetExtension(item); target && *target == file.normalizedExt()) {
        return Applies::skip;
    }
    struct Visitor {
        const FileFacts& file;
        const WheelItem& item;
        Applies operator()(const ConvertItem&) const { return appliesConvert(file); }
        Applies operator()(const ToolItem& i) const { return appliesTool(i.tool, file); }
        Applies operator()(const DocumentItem&) const {
            const bool hwpFamily = file.kind() == FileKind::hwpx || file.kind() == FileKind::hwp;
            return hwpFamily ? Applies::run : Applies::no;
        }
        Applies operator()(const FromWordItem& i) const {
            const bool fromDocx = file.kind() == FileKind::docx && i.target != DocTarget::docx;
            return fromDocx ? Applies::run : Applies::no;
        }
        Applies operator()(const CommonItem&) const {
            const WheelItem specific = specificItem(item, file);
            if (specific == item) return Applies::no;
            return applies(specific, file);
        }
    };
    return std::visit(Visitor{file, item}, item);
}

namespace {

// Images and PDFs, HWP/HWPX, and Word files are the three categories of a mixed set.
int category(FileKind kind) {
    switch (kind) {
        case FileKind::image:
        case FileKind::pdf:
            return 0;
        case FileKind::hwpx:
        case FileKind::hwp:
            return 1;
        case FileKind::docx:
            return 2;
        case FileKind::other:
            break;
    }
    return -1;
}

std::vector<WheelItem> candidates(std::span<const FileFacts> files, MenuKind kind) {
    std::vector<WheelItem> items;
    if (kind == MenuKind::tools) {
        for (Tool tool : allTools)
            items.emplace_back(ToolItem{tool});
        return items;
    }
    for (Fmt fmt : allFmts)
        items.emplace_back(ConvertItem{fmt});
    for (DocTarget target : allDocTargets)
        items.emplace_back(DocumentItem{target});
    for (DocTarget target : {DocTarget::hwp, DocTarget::hwpx, DocTarget::pdf, DocTarget::png,
                             DocTarget::jpg, DocTarget::txt}) {
        items.emplace_back(FromWordItem{target});
    }
    std::set<int> categories;
    for (const FileFacts& file : files) {
        if (int c = category(file.kind()); c >= 0) categories.insert(c);
    }
    if (categories.size() >= 2) {
        for (const char* ext :
             {"pdf", "docx", "png", "jpg", "heic", "tiff", "bmp", "hwpx", "hwp", "txt"}) {
            items.emplace_back(CommonItem{ext});
        }
    }
    return items;
}

std::vector<FileFacts> factsOf(std::span<const std::filesystem::path> paths) {
    std::vector<FileFacts> files;
    files.reserve(paths.size());
    for (const auto& path : paths)
        files.emplace_back(path);
    return files;
}

// Shown only when no file refuses the item and at least one file would be changed by it.
bool isOffered(const WheelItem& item, std::span<const FileFacts> files) {
    bool anyRun = false;
    for (const FileFacts& file : files) {
        const Applies verdict = applies(item, file);
        if (verdict == Applies::no) return false;
        anyRun = anyRun || verdict == Applies::run;
    }
    return anyRun;
}

}  // namespace

std::vector<WheelItem> menuItems(std::span<const std::filesystem::path> paths, MenuKind kind) {
    if (paths.empty()) return {};
    const std::vector<FileFacts> files = factsOf(paths);
    std::vector<WheelItem> kept;
    std::set<std::string> commonTargets;
    for (WheelItem& item : candidates(files, kind)) {
        if (!isOffered(item, files)) continue;
        if (const auto* common = std::get_if<CommonItem>(&item)) {
            commonTargets.insert(common->extension);
        }
        kept.push_back(std::move(item));
    }
    std::erase_if(kept, [&](const WheelItem& item) {
        if (std::holds_alternative<ToolItem>(item) || std::holds_alternative<CommonItem>(item)) {
            return false;
        }
        const auto target = targetExtension(item);
        return target && commonTargets.contains(*target);
    });
    return kept;
}

Applies applies(const WheelItem& item, const std::filesystem::path& path) {
    return applies(item, FileFacts(path));
}

WheelItem specificItem(const WheelItem& item, const std::filesystem::path& path) {
    if (!std::holds_alternative<CommonItem>(item)) return item;
    return specificItem(item, FileFacts(path));
}

std::vector<Tool> toolsFor(std::span<const std::filesystem::path> paths) {
    std::vector<Tool> result;
    for (const WheelItem& item : menuItems(paths, MenuKind::tools)) {
        if (const auto* tool = std::get_if<ToolItem>(&item)) result.push_back(tool->tool);
    }
    return result;
}

}  // namespace tavrino
