#pragma once
// A folder of results (one file per page or frame) being written. Its files go into a hidden
// sibling ".<first candidate>-XXXXXX" in the destination, and only the complete folder takes
// the first free candidate of its name, so an interrupted or failed conversion never leaves
// a folder of some pages under a final name.

#include <filesystem>

#include "convert/OutputNaming.h"

namespace tavrino {

class PendingFolder {
  public:
    // Throws ConvertError "파일 저장 실패: " + the first candidate when the destination does
    // not take a new folder (missing, read-only, full).
    explicit PendingFolder(OutputName name);
    // Removes the hidden folder and everything in it unless place() has taken it.
    ~PendingFolder();
    PendingFolder(const PendingFolder&) = delete;
    PendingFolder& operator=(const PendingFolder&) = delete;

    // The hidden folder to write into.
    const std::filesystem::path& path() const { return hidden_; }

    // Gives the folder the first candidate that is free at this moment, never replacing
    // anything, and returns it. Throws ConvertError "파일 저장 실패: ..." when no name can
    // be taken.
    std::filesystem::path place();

  private:
    OutputName name_;
    std::filesystem::path hidden_;
    bool placed_ = false;
};

}  // namespace tavrino
