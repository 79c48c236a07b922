#pragma once
// The errors the HWP 5 reader throws. They are DocumentErrors, the one exception type of the
// document engine, so the tools print their text as the last line; every message is a short
// Korean description of what is wrong with the document.

#include <string>

#include "model/DocumentError.h"

namespace tavrino::docs::hwp5 {

class Hwp5Error : public DocumentError {
  public:
    explicit Hwp5Error(const std::string& description) : DocumentError(description) {}
};

// An intact but locked document (password, DRM): refused, never read as garbage.
class Hwp5Locked : public Hwp5Error {
  public:
    using Hwp5Error::Hwp5Error;
};

}  // namespace tavrino::docs::hwp5
