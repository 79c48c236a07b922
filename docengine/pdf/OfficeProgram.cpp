#include "pdf/OfficeProgram.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace tavrino::docs {
namespace fs = std::filesystem;

namespace {

fs::path lookUp(const fs::path& name) {
    if (name.string().find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        const fs::path candidate = fs::path(dir.empty() ? "." : std::string(dir)) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        dirs = colon == std::string_view::npos ? "" : dirs.substr(colon + 1);
    }
    return name;
}

}  // namespace

OfficeProgram officeProgram(const fs::path& soffice) {
    std::error_code error;
    const fs::path real = fs::canonical(lookUp(soffice), error);
    if (error) return {soffice, {}, {}};
    if (real.filename() != "soffice") return {soffice, {}, real.parent_path()};
    const fs::path binary = real.parent_path() / "soffice.bin";
    if (::access(binary.c_str(), X_OK) != 0) return {soffice, {}, real.parent_path()};
    // The one setting of the launcher script that applies on Linux, and a PATH of
    // LibreOffice's own folder. Every document it loads is checked for signatures, and that
    // check asks GnuPG for its engines by running gpgconf, gpg and gpgsm, found through PATH:
    // five processes on the first render of every instance, for a signature a render never
    // shows. LibreOffice itself runs nothing else through PATH that a render needs.
    return {binary,
            {"SAL_ENABLE_FILE_LOCKING=1", "PATH=" + real.parent_path().string()},
            real.parent_path()};
}

}  // namespace tavrino::docs
