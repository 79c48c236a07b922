#pragma once
// Clean-up after a failed write of a tool result.

#include <filesystem>

namespace tavrino {

// Removes whatever is at `path`, then every empty entry beside it whose name begins with
// "." + path's file name + "-" (the hidden siblings a write goes through before it takes its
// final name). Names are compared in Unicode composed form (NFC), so a decomposed Korean
// name on disk matches a composed one. Non-empty entries and folders are left alone. Never
// fails.
void removeLeftovers(const std::filesystem::path& path);

}  // namespace tavrino
