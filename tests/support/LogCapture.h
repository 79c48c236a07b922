#pragma once
// Sends the activity log to a file of the test for the life of the capture and reads back
// its messages without their timestamps.

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace tavrino::test {

class LogCapture {
  public:
    // The log goes to `file` when one is given (a test may look for it by name), otherwise
    // to a folder of the capture's own.
    explicit LogCapture(std::filesystem::path file = {});
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Every message so far, in the order written; a line without a timestamp fails the test.
    std::vector<std::string> messages() const;
    bool contains(const std::string& message) const;

  private:
    TempDir folder_;
    std::filesystem::path file_;
    std::filesystem::path previous_;
};

}  // namespace tavrino::test
