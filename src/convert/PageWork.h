#pragma once
// PDF pages to PNG through the page engine: poppler and our own PNG encoder, nothing else.
// tavrino-cli loads it as a module of its own (tavrino-pages.so), so a document's pages are
// written without loading the media engine's libraries; the engine fills the slot
// (PagesEntry.cpp).

#include <filesystem>
#include <optional>

#include "platform/EngineModule.h"

namespace tavrino {

struct PageWork {
    // The folder of PNG pages (convertPDFPages' folder, names and errors) for a PDF of two
    // or more pages; no value for any other file, which the media engine converts as before.
    std::optional<std::filesystem::path> (*pngPages)(const std::filesystem::path& path);
};

EngineSlot<PageWork>& pageWorkSlot();

// The filled table; throws ModuleError when the page module cannot be loaded.
inline const PageWork& pageWork() {
    return pageWorkSlot().get();
}

}  // namespace tavrino
