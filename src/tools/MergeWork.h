#pragma once
// The merge through the PDF-writing engine (qpdf), which tavrino-cli loads as a module of
// its own (tavrino-merge.so): only a merge pays for qpdf's libraries. The engine fills the
// slot (MergeEntry.cpp).

#include <filesystem>
#include <span>

#include "convert/ToolResult.h"
#include "platform/EngineModule.h"

namespace tavrino {

struct MergeWork {
    // tools/PdfMerge.h
    ToolResult (*mergePDF)(std::span<const std::filesystem::path> paths);
};

EngineSlot<MergeWork>& mergeWorkSlot();

// The filled table; throws ModuleError when the merge module cannot be loaded.
inline const MergeWork& mergeWork() {
    return mergeWorkSlot().get();
}

}  // namespace tavrino
