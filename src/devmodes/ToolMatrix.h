#pragma once
// The tool matrix: every tool on every sample file of a folder, one tab-separated line per
// run: the sample's kind, the tool's label, OK or FAIL, and the result note or the error.
// Each run works on its own copy of the sample, so the folder is left as it was.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>

#include "menu/Tool.h"

namespace tavrino::app {

// Runs one tool on one file and returns the detail of a success (the file written and its
// note); throws with the user-facing description on failure.
using ToolRunner = std::function<std::string(Tool, const std::filesystem::path&)>;

// The tools this build has; a build without them fails every run with a clear detail.
ToolRunner builtInToolRunner();

// The label printed for a tool ("압축", "크기 50%", ...).
std::string matrixLabel(Tool tool);

// Writes the lines to `out`; returns the number of runs. Throws std::runtime_error when the
// folder cannot be read.
int runToolMatrix(const std::filesystem::path& directory, const ToolRunner& runner,
                  std::ostream& out);

}  // namespace tavrino::app
