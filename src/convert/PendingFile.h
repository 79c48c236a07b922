#pragma once
// Writing a result so that no incomplete file ever carries a final name and no two writers
// share one: the bytes go to a hidden sibling ".<first candidate>-XXXXXX" in the destination
// folder, and only the finished file is linked (or renamed without replacing) into the first
// candidate that is still free at that moment.

#include <filesystem>

#include "convert/OutputNaming.h"

namespace tavrino {

// Takes a finished file on the destination's file system and gives it the first free
// candidate of `name`, never replacing anything. The file no longer exists under its old
// path afterwards. Throws std::filesystem_error (an exact name that is taken fails with
// "file exists").
std::filesystem::path placeExclusively(const std::filesystem::path& file, const OutputName& name);

// One result being written. The constructor creates the hidden sibling (empty, mode 0644
// subject to the umask); the destructor removes it unless place() has taken it.
class PendingFile {
  public:
    // Throws ConvertError "파일 저장 실패: " + the first candidate when the folder does not
    // take a new file (missing, read-only, full).
    explicit PendingFile(OutputName name);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // The hidden file to write into.
    const std::filesystem::path& path() const { return hidden_; }
    // The first candidate, used in error messages before the final name is known.
    std::filesystem::path intendedPath() const { return name_.candidate(1); }

    // Gives the written file its final name and returns it. Throws ConvertError "파일 저장
    // 실패: ..." when nothing was written or the name cannot be taken.
    std::filesystem::path place();

  private:
    OutputName name_;
    std::filesystem::path hidden_;
    bool placed_ = false;
};

}  // namespace tavrino
