#pragma once
// file:// URLs for LibreOffice, which takes its profile folder and documents as URLs.

#include <filesystem>
#include <string>

namespace tavrino::docs {

// The URL of `path` made absolute, every byte outside the unreserved set percent-encoded.
std::string fileUrl(const std::filesystem::path& path);

}  // namespace tavrino::docs
