#pragma once
// Reading a file into memory in one piece, for the small files this program reads whole
// (kernel tables, a JPEG passed through untouched, a copy to be stripped).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tavrino {

// The whole file; no value when it cannot be opened or a read fails.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Writes text as the whole file through "<path>.part" renamed into place, so that a reader
// (a session starting, a file manager) never sees half of it; `added` permissions (such as
// execute) are set before the rename. Creates missing parent folders. Throws
// std::filesystem::filesystem_error, leaving no .part behind.
void writeWholeFile(const std::filesystem::path& path, std::string_view text,
                    std::filesystem::perms added = std::filesystem::perms::none);

}  // namespace tavrino
