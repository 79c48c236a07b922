#pragma once
// Poppler is reached through PdfDocument::open, which takes a path, as it does in the
// program. The input is written to an anonymous memory file instead of the disk: nothing is
// left behind however the fuzzer ends (libFuzzer often leaves without running exit handlers).

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavrino::fuzzing {

// Replaces the memory file's content with `bytes` and answers a path that opens it.
inline std::filesystem::path memoryFile(std::string_view bytes) {
    static const int fd = ::memfd_create("fuzz-input", 0);
    if (fd < 0 || ::ftruncate(fd, 0) != 0) std::abort();
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t wrote =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (wrote <= 0) std::abort();
        done += static_cast<std::size_t>(wrote);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace tavrino::fuzzing
