#pragma once
// Runs a program for a test (ours, or an independent judge such as identify or pdfinfo)
// and captures what it printed.

#include <filesystem>
#include <string>
#include <vector>

namespace tavrino::test {

struct ProcessResult {
    int status = -1;  // exit status; -1 when it could not start or died from a signal
    std::string out;
    std::string err;
};

// argv[0] is looked up on PATH unless it holds a slash.
ProcessResult runProgram(const std::vector<std::string>& argv);

// Whether a program is on PATH.
bool haveProgram(const std::string& name);

// An executable built in this tree (tavrino-cli, pelgrin, ...).
std::filesystem::path builtProgram(const std::string& relative);

// The built tavrino-cli run with these arguments, as a script would run it.
ProcessResult runCli(std::vector<std::string> arguments);

}  // namespace tavrino::test
