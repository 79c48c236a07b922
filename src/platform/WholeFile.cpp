#include "platform/WholeFile.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace tavrino {

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

void writeWholeFile(const std::filesystem::path& path, std::string_view text,
                    std::filesystem::perms added) {
    namespace fs = std::filesystem;
    fs::create_directories(path.parent_path());
    fs::path temporary = path;
    temporary += ".part";
    try {
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            out.close();
            if (!out) {
                throw fs::filesystem_error("file not written", path,
                                           std::make_error_code(std::errc::io_error));
            }
        }
        if (added != fs::perms::none) fs::permissions(temporary, added, fs::perm_options::add);
        fs::rename(temporary, path);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

}  // namespace tavrino
