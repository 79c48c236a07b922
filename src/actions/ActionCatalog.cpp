#include "actions/ActionCatalog.h"

#include <algorithm>
#include <array>

#include "menu/MenuRules.h"

namespace tavrino {
namespace {

struct KnownExtension {
    std::string extension;
    std::vector<std::string> mimeTypes;
};

// HWP and HWPX have no single registered type: shared-mime-info, Hancom and KDE each use
// their own, so every one of them is listed.
const std::vector<KnownExtension>& knownExtensions() {
    static const std::vector<KnownExtension> known{
        {"jpg", {"image/jpeg"}},
        {"jpeg", {"image/jpeg"}},
        {"png", {"image/png"}},
        {"gif", {"image/gif"}},
        {"tif", {"image/tiff"}},
        {"tiff", {"image/tiff"}},
        {"heic", {"image/heic", "image/heif"}},
        {"heif", {"image/heif", "image/heic"}},
        {"bmp", {"image/bmp", "image/x-bmp"}},
        {"webp", {"image/webp"}},
        {"pdf", {"application/pdf"}},
        {"docx", {"application/vnd.openxmlformats-officedocument.wordprocessingml.document"}},
        {"hwpx", {"application/hwp+zip", "application/vnd.hancom.hwpx", "application/x-hwpx"}},
        {"hwp", {"application/x-hwp", "application/vnd.hancom.hwp", "application/haansofthwp"}},
    };
    return known;
}

// GIF and WebP are recognised by their header, not their name; a name alone says nothing,
// so they borrow what the other image formats are offered together.
bool probedByHeader(const std::string& extension) {
    return extension == "gif" || extension == "webp";
}

std::vector<WheelItem> offeredFor(const std::string& extension) {
    const std::filesystem::path one = "a." + extension;
    const std::array<std::filesystem::path, 2> two{one, "b." + extension};
    std::vector<WheelItem> items;
    for (const MenuKind kind : {MenuKind::convert, MenuKind::tools}) {
        for (const std::size_t count : {std::size_t{1}, std::size_t{2}}) {
            const std::span<const std::filesystem::path> paths(two.data(), count);
            for (WheelItem& item : menuItems(paths, kind)) {
                if (std::find(items.begin(), items.end(), item) == items.end()) {
                    items.push_back(std::move(item));
                }
            }
        }
    }
    return items;
}

std::string idOf(const std::string& spelling) {
    std::string id;
    for (char c : spelling) {
        if (c == '(')
            id += '-';
        else if (c != ')')
            id += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return id;
}

// One entry per target: the file manager shows one "PDF로 변환" whether images, PDFs or
// documents are selected, and the mixed-set item picks the right conversion for each file.
WheelItem menuEntryItem(const WheelItem& item) {
    if (std::holds_alternative<ToolItem>(item)) return item;
    return CommonItem{targetExtension(item).value_or("")};
}

FileAction actionFor(const WheelItem& item) {
    FileAction action{item, spelling(item), idOf(spelling(item)), title(item), caption(item), {}};
    if (!std::holds_alternative<ToolItem>(item)) action.label += "로 변환";
    return action;
}

// Wheel order: convert petals before tools, each in the order its first menu showed it.
void add(std::vector<FileAction>& actions, const WheelItem& offered, const std::string& extension) {
    const WheelItem item = menuEntryItem(offered);
    auto found = std::find_if(actions.begin(), actions.end(),
                              [&](const FileAction& action) { return action.item == item; });
    if (found == actions.end()) {
        actions.push_back(actionFor(item));
        found = actions.end() - 1;
    }
    if (std::find(found->extensions.begin(), found->extensions.end(), extension) ==
        found->extensions.end()) {
        found->extensions.push_back(extension);
    }
}

}  // namespace

std::span<const std::string> actionExtensions() {
    static const std::vector<std::string> extensions = [] {
        std::vector<std::string> result;
        for (const auto& known : knownExtensions())
            result.push_back(known.extension);
        return result;
    }();
    return extensions;
}

std::vector<FileAction> fileActions() {
    std::vector<FileAction> actions;
    std::vector<WheelItem> anyImage;
    for (const std::string& extension : actionExtensions()) {
        if (probedByHeader(extension)) continue;
        for (const WheelItem& item : offeredFor(extension)) {
            add(actions, item, extension);
            if (kindFromExtension(extension) == FileKind::image &&
                std::find(anyImage.begin(), anyImage.end(), item) == anyImage.end()) {
                anyImage.push_back(item);
            }
        }
    }
    for (const std::string& extension : actionExtensions()) {
        if (!probedByHeader(extension)) continue;
        for (const WheelItem& item : anyImage)
            add(actions, item, extension);
    }
    std::stable_partition(actions.begin(), actions.end(), [](const FileAction& action) {
        return !std::holds_alternative<ToolItem>(action.item);
    });
    return actions;
}

std::vector<std::string> mimeTypes(std::span<const std::string> extensions) {
    std::vector<std::string> result;
    for (const std::string& extension : extensions) {
        for (const auto& known : knownExtensions()) {
            if (known.extension != extension) continue;
            for (const std::string& type : known.mimeTypes) {
                if (std::find(result.begin(), result.end(), type) == result.end()) {
                    result.push_back(type);
                }
            }
        }
    }
    return result;
}

}  // namespace tavrino
