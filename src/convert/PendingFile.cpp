#include "convert/PendingFile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

#include "convert/ConvertError.h"
#include "convert/NamingTurn.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::string randomSuffix() {
    static constexpr char alphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device device;
    std::string suffix(6, 'x');
    for (char& c : suffix)
        c = alphabet[device() % (sizeof alphabet - 1)];
    return suffix;
}

enum class Taken { yes, no, unsupported };

// link() is atomic and refuses an existing name, and the linked file is already complete.
// File systems without hard links (FAT, some network and FUSE mounts) fall back to
// renameat2(RENAME_NOREPLACE), which has the same guarantees.
Taken takeName(const fs::path& file, const fs::path& target) {
    if (::link(file.c_str(), target.c_str()) == 0) {
        ::unlink(file.c_str());
        return Taken::yes;
    }
    if (errno == EEXIST) return Taken::no;
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EMLINK) {
        throw fs::filesystem_error("cannot place file", file, target, lastError());
    }
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return Taken::yes;
    }
    if (errno == EEXIST) return Taken::no;
    if (errno == EINVAL || errno == ENOSYS) return Taken::unsupported;
    throw fs::filesystem_error("cannot place file", file, target, lastError());
}

// Last resort without link or no-replace rename: claim the name with O_EXCL, then rename
// over the claim. The final name is briefly an empty file, never a partial one.
bool claimAndRename(const fs::path& file, const fs::path& target) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        throw fs::filesystem_error("cannot place file", target, lastError());
    }
    ::close(fd);
    if (::rename(file.c_str(), target.c_str()) != 0) {
        const std::error_code error = lastError();
        ::unlink(target.c_str());
        throw fs::filesystem_error("cannot place file", file, target, error);
    }
    return true;
}

}  // namespace

fs::path placeExclusively(const fs::path& file, const OutputName& name) {
    awaitNamingTurn();
    for (int n = 1;; ++n) {
        const fs::path target = name.candidate(n);
        const Taken taken = takeName(file, target);
        if (taken == Taken::yes) return target;
        if (taken == Taken::unsupported && claimAndRename(file, target)) return target;
        if (!name.counted) {
            throw fs::filesystem_error("cannot place file", file, target,
                                       std::make_error_code(std::errc::file_exists));
        }
    }
}

PendingFile::PendingFile(OutputName name) : name_(std::move(name)) {
    const std::string prefix = name_.hiddenPrefix(6);
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path hidden = name_.folder / (prefix + randomSuffix());
        const int fd = ::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            hidden_ = std::move(hidden);
            return;
        }
        if (errno != EEXIST) break;
    }
    throw ConvertError("파일 저장 실패: " + intendedPath().string());
}

PendingFile::~PendingFile() {
    if (!placed_) ::unlink(hidden_.c_str());
}

fs::path PendingFile::place() {
    struct stat info {};
    if (::stat(hidden_.c_str(), &info) != 0 || info.st_size < 1) {
        throw ConvertError("파일 저장 실패: " + intendedPath().string());
    }
    try {
        fs::path placed = placeExclusively(hidden_, name_);
        placed_ = true;
        return placed;
    } catch (const fs::filesystem_error&) {
        throw ConvertError("파일 저장 실패: " + intendedPath().string());
    }
}

}  // namespace tavrino
