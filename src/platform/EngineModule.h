#pragma once
// The engines (libvips, poppler, libheif, exiv2, Tesseract, OpenCV and the conversions and
// tools built on them) load some 130 shared libraries. The command-line program is not
// linked with them: it loads an engine's module on the first call that needs it, so that a
// menu or a document conversion never pays for that start-up, a merge loads qpdf alone and
// PDF pages to PNG poppler alone. Programs linked with the engines (the tray application, the
// tests) never load a module.
//
// Code below an engine reaches it through a slot: a table of functions that the engine's
// own start-up code fills, in the program itself or in the module as it is loaded.

#include <atomic>
#include <string>

#include "platform/SharedModule.h"

namespace tavrino {

// The modules, installed beside the executables.
inline constexpr const char* mediaModule = "tavrino-media.so";
inline constexpr const char* pagesModule = "tavrino-pages.so";
inline constexpr const char* mergeModule = "tavrino-merge.so";

// Finds `file` beside the executable (the bundle, or the build tree), else in the installed
// bundle, and loads it once; later calls do nothing. Throws ModuleError
// "이미지 엔진을 불러올 수 없음: " + file + the loader's reason (a later call tries again).
void loadEngineModule(const char* file);

template <typename Table>
class EngineSlot {
  public:
    constexpr explicit EngineSlot(const char* module) : module_(module) {}

    void fill(const Table& table) { table_.store(&table, std::memory_order_release); }

    // The table, loading the module first when nothing has filled the slot yet. Throws
    // ModuleError.
    const Table& get() {
        const Table* table = table_.load(std::memory_order_acquire);
        if (!table) {
            loadEngineModule(module_);
            table = table_.load(std::memory_order_acquire);
            if (!table) throw ModuleError(std::string(module_) + ": the module filled no table");
        }
        return *table;
    }

  private:
    const char* module_;
    std::atomic<const Table*> table_{nullptr};
};

}  // namespace tavrino
