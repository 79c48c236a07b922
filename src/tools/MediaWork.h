#pragma once
// The conversions and tools that need the media engine, as one table for the code beneath
// the engine's users: run control's operations, the merge (for its image pages) and the
// command line's crop. The engine fills the slot (MediaEntry.cpp); a program not linked with
// it loads the module on first use (platform/EngineModule.h).

#include <filesystem>
#include <optional>

#include "convert/ToolResult.h"
#include "menu/FileFacts.h"
#include "menu/Formats.h"
#include "menu/Tool.h"
#include "platform/EngineModule.h"
#include "tools/CropImage.h"
#include "tools/Tools.h"

namespace tavrino {

struct MediaWork {
    std::filesystem::path (*convertFile)(const FileFacts& source, Fmt fmt);
    ToolResult (*applyTool)(Tool tool, const FileFacts& source, ToolCheck check);
    ToolResult (*convertHwp)(const std::filesystem::path& path, DocTarget target);
    ToolResult (*convertWord)(const std::filesystem::path& path, DocTarget target);
    // One page per frame of an image into a new PDF (tools/ImagePages.h).
    void (*writeImagePages)(const std::filesystem::path& source, const std::filesystem::path& pdf);
    std::optional<CropResult> (*cropAndLog)(const std::filesystem::path& source,
                                            const crop::Rect& rect);
};

EngineSlot<MediaWork>& mediaWorkSlot();

// The filled table; throws ModuleError when the media module cannot be loaded.
inline const MediaWork& mediaWork() {
    return mediaWorkSlot().get();
}

}  // namespace tavrino
