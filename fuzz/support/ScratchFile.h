#pragma once
// The PDF readers take a path, as they do in the program: each input is written to one file
// in a folder of this process's own, replaced on every run and removed at exit.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tavrino::fuzzing {

inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("tavrino-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder(), ignored);
        });
        return path;
    }();
    return folder;
}

// Writes `bytes` to `name` in the scratch folder and answers its path; aborts when the file
// cannot be written, since every later run would be meaningless.
inline std::filesystem::path scratchFile(std::string_view name, std::string_view bytes) {
    const std::filesystem::path path = scratchFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::abort();
    return path;
}

}  // namespace tavrino::fuzzing
