#pragma once
// The one exception type of the document engine. Its text is a single line meant for the
// user: the tools print it as their last line of output.

#include <stdexcept>
#include <string>

namespace tavrino::docs {

class DocumentError : public std::runtime_error {
  public:
    explicit DocumentError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tavrino::docs
