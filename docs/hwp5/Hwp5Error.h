#pragma once
// The one error the HWP 5 reader throws. Its what() is a short Korean sentence fragment meant
// for the user (the tools print it as their last line), so every message names what is wrong
// with the document rather than which function noticed it.

#include <stdexcept>
#include <string>

namespace tavrino::docs::hwp5 {

class Hwp5Error : public std::runtime_error {
public:
    explicit Hwp5Error(const std::string& description) : std::runtime_error(description) {}
};

// Thrown for documents that are intact but locked (password, DRM); callers may word these
// differently from damage.
class Hwp5Locked : public Hwp5Error {
public:
    using Hwp5Error::Hwp5Error;
};

}  // namespace tavrino::docs::hwp5
