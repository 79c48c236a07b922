#pragma once
// Reading a file into memory in one piece, for the small files this program reads whole
// (kernel tables, a JPEG passed through untouched, a copy to be stripped).

#include <filesystem>
#include <optional>
#include <string>

namespace tavrino {

// The whole file; no value when it cannot be opened or a read fails.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

}  // namespace tavrino
