#pragma once
// Which petals a set of dragged files gets, and what each petal does to each file. Pure
// functions of each file's facts (FileFacts.h): GIF and TIFF files are asked (by header
// alone) how many frames they hold, and files with an unrecognised extension are probed as
// images, once per file.

#include <filesystem>
#include <functional>
#include <span>
#include <vector>

#include "menu/FileFacts.h"
#include "menu/WheelItem.h"

namespace tavrino {

// The verdict of one item for one file.
enum class Applies {
    run,   // the item works on the file
    skip,  // the file is already in the target format and is left alone
    no,    // the item does not apply to this file
};

// Shift opens the convert wheel, Alt the tools wheel.
enum class MenuKind { convert, tools };

// Whether background removal can run on this system. Replaceable, so checks can turn it off
// or on; by default it says whether the segmentation engine is built in.
extern std::function<bool()> removeBackgroundSupported;

// The petals to show, in order: candidates that no file refuses and at least one file runs,
// without specific petals whose target a mixed-set petal already offers.
std::vector<WheelItem> menuItems(std::span<const std::filesystem::path> paths, MenuKind kind);

Applies applies(const WheelItem& item, const FileFacts& file);
// The same for a path not yet classified (tavrino-cli's `applies`, checks).
Applies applies(const WheelItem& item, const std::filesystem::path& path);

// For a mixed-set item, the item that does the work for this file; other items unchanged.
WheelItem specificItem(const WheelItem& item, const FileFacts& file);
WheelItem specificItem(const WheelItem& item, const std::filesystem::path& path);

// The tools of the tools wheel for these files, in order.
std::vector<Tool> toolsFor(std::span<const std::filesystem::path> paths);

}  // namespace tavrino
