#pragma once
// The one error type of conversions and tools. Its what() is the Korean description the user
// sees in the hub and the activity log, e.g. "이미지로 읽을 수 없음: photo.png"; run control
// logs it unchanged and counts the file as failed.

#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrino {

class ConvertError : public std::runtime_error {
  public:
    explicit ConvertError(const std::string& description) : std::runtime_error(description) {}

    std::string description() const { return what(); }
};

// Work whose code this build does not have yet: refuses with "아직 지원하지 않음: " + what
// rather than pretending to run.
[[noreturn]] inline void notBuilt(std::string_view what) {
    throw ConvertError("아직 지원하지 않음: " + std::string(what));
}

}  // namespace tavrino
