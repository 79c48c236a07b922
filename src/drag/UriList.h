#pragma once
// Reading the text/uri-list that a drag source hands over (RFC 2483): one URL a line,
// lines ending in CRLF (some sources send bare LF), "#" lines are comments. Only local
// file:// URLs name files we can work on; everything else in the list is passed over.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace tavrino {

// The local files of a uri-list, in list order. A URL with a foreign host, a broken
// percent-escape, an escaped NUL or a raw control character is skipped rather than guessed
// at.
std::vector<std::filesystem::path> fileUrlsFromUriList(std::string_view text);

// The local path of one file:// URL ("file:///a%20b.png", "file://localhost/a.png");
// no value for anything else.
std::optional<std::filesystem::path> pathFromFileUrl(std::string_view url);

}  // namespace tavrino
