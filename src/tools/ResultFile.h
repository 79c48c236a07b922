#pragma once
// Writing a tool result that is already complete in memory (a stripped copy of a file).

#include <string_view>

#include "convert/OutputNaming.h"
#include "platform/WholeFile.h"

namespace tavrino {

// Writes `bytes` through a hidden sibling into the first free candidate of `name` and
// returns that path; nothing appears under a final name unless it is complete. Throws
// ConvertError `failure` + ": " + the system's reason when the bytes cannot be written, and
// PendingFile's errors when the folder takes no file.
std::filesystem::path writeResultFile(std::string_view bytes, const OutputName& name,
                                      std::string_view failure);

}  // namespace tavrino
