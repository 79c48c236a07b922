#include "pdf/FileUrl.h"

#include <cctype>

namespace tavrino::docs {

std::string fileUrl(const std::filesystem::path& path) {
    std::string url = "file://";
    for (const unsigned char c : std::filesystem::absolute(path).string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += static_cast<char>(c);
        } else {
            static constexpr char hex[] = "0123456789ABCDEF";
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

}  // namespace tavrino::docs
