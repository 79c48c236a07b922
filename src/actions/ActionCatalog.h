#pragma once
// The petals a file manager's right-click menu offers. A file manager decides what to show
// from the selected files' names or types alone, before anything runs, so each petal is
// listed once with the input extensions whose wheel (tavrino-cli menu) offers it. The run
// still judges every file itself, exactly as a drop on the petal does.

#include <span>
#include <string>
#include <vector>

#include "menu/WheelItem.h"

namespace tavrino {

// Conversions are listed by target as mixed-set items (common(pdf)), which convert every
// kind of file the way its own petal would; tools as themselves.
struct FileAction {
    WheelItem item;
    std::string spelling;                 // as tavrino-cli takes it: "convert(png)"
    std::string id;                       // for file names and unique ids: "convert-png"
    std::string label;                    // the menu entry: "PNG로 변환"
    std::string description;              // the petal's caption: "무손실"
    std::vector<std::string> extensions;  // lower-case input extensions, in catalog order
};

// Every petal a single file or a pair of files of one kind is offered, in wheel order
// (convert petals first, then tools).
std::vector<FileAction> fileActions();

// The input extensions the catalog knows, lower-case.
std::span<const std::string> actionExtensions();

// The MIME types of those extensions (several per extension where desktops disagree), in
// order and without repeats.
std::vector<std::string> mimeTypes(std::span<const std::string> extensions);

}  // namespace tavrino
