#pragma once
// The shared frame of the document tools' mains: arguments in, one function called, every
// failure caught here and printed as the last line of output with a non-zero exit status
// (1 for a failed conversion, 2 for a malformed command line).

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrino::docs {

// A malformed command line; its text is the usage line.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& usage) : std::runtime_error(usage) {}
};

using ToolBody = std::function<void(const std::vector<std::string>& arguments)>;

// Runs `body` with the arguments after the program name and returns the exit status.
int runToolMain(int argc, char** argv, const ToolBody& body);

// Refuses an output that would overwrite the source (the same file under any name).
void checkNotSource(const std::filesystem::path& source, const std::filesystem::path& output);

}  // namespace tavrino::docs
