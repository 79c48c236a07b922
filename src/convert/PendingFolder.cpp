#include "convert/PendingFolder.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "convert/ConvertError.h"
#include "convert/NamingTurn.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

enum class Taken { yes, no, unsupported };

Taken renameWithoutReplacing(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return Taken::yes;
    }
    if (errno == EEXIST || errno == ENOTEMPTY) return Taken::no;
    if (errno == EINVAL || errno == ENOSYS) return Taken::unsupported;
    throw std::system_error(errno, std::generic_category(), "rename");
}

// Without a no-replace rename: claim the name with mkdir, which fails on any existing
// entry, then move the folder over the empty claim (rename replaces an empty folder).
bool claimAndRename(const fs::path& from, const fs::path& to) {
    if (::mkdir(to.c_str(), 0755) != 0) {
        if (errno == EEXIST) return false;
        throw std::system_error(errno, std::generic_category(), "mkdir");
    }
    if (::rename(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        ::rmdir(to.c_str());
        throw std::system_error(error, std::generic_category(), "rename");
    }
    return true;
}

}  // namespace

PendingFolder::PendingFolder(OutputName name) : name_(std::move(name)) {
    std::string pattern = (name_.folder / (name_.hiddenPrefix(6) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        throw ConvertError("파일 저장 실패: " + name_.candidate(1).string());
    }
    ::chmod(pattern.c_str(), 0755);
    hidden_ = pattern;
}

PendingFolder::~PendingFolder() {
    if (placed_) return;
    std::error_code ignored;
    fs::remove_all(hidden_, ignored);
}

fs::path PendingFolder::place() {
    awaitNamingTurn();
    try {
        for (int n = 1;; ++n) {
            const fs::path target = name_.candidate(n);
            const Taken taken = renameWithoutReplacing(hidden_, target);
            if (taken == Taken::yes ||
                (taken == Taken::unsupported && claimAndRename(hidden_, target))) {
                placed_ = true;
                return target;
            }
            if (!name_.counted) break;
        }
    } catch (const std::system_error&) {
    }
    throw ConvertError("파일 저장 실패: " + name_.candidate(1).string());
}

}  // namespace tavrino
