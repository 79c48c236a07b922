#include "io/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "model/DocumentError.h"

namespace tavrino::docs {
namespace {

std::string systemReason() {
    return std::strerror(errno);
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

}  // namespace

std::string readFileBytes(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw DocumentError("문서가 아니라 폴더임: " + name);
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw DocumentError("문서를 읽을 수 없음: " + name);
    if (size > maxDocumentBytes) throw DocumentError("문서가 너무 큼: " + name);
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        throw DocumentError("문서를 읽을 수 없음: " + name);
    }
    return bytes;
}

void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    // The hidden name is the final one with 8 bytes more; a final name near the folder's
    // limit gives up the end of its copy here, at a character boundary.
    std::string name = path.filename().string();
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const size_t room = static_cast<size_t>(longest > 8 ? longest : 255) - 8;
    if (name.size() > room) {
        size_t end = room;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
            --end;
        name.resize(end);
    }
    std::string pattern = (folder / ("." + name + "-XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw DocumentError("결과 파일을 만들 수 없음: " + systemReason());
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const std::string reason = written ? std::string() : systemReason();
    if (written) ::fchmod(fd, 0644);
    ::close(fd);
    if (!written || ::rename(pattern.c_str(), path.c_str()) != 0) {
        const std::string why = written ? systemReason() : reason;
        ::unlink(pattern.c_str());
        throw DocumentError("결과 파일을 쓸 수 없음: " + why);
    }
}

}  // namespace tavrino::docs
