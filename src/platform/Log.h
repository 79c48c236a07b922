#pragma once
// The activity log: one line per event, "[2026-03-01T09:41:07Z] message\n", printed to
// standard output and appended to the log file. Callable from any thread; lines of
// different threads never interleave. Errors of the log itself are never reported.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavrino {

void log(std::string_view message);

// Where log lines go; fixed once at entry, before the first line.
void setLogFile(const std::filesystem::path& file);
std::filesystem::path logFile();

// A user run is one started from the installed bundle with no argument beginning with "--";
// anything else is a developer run whose log must never reach the user's log.
bool isUserRun(const std::vector<std::string>& arguments);

// $XDG_STATE_HOME/tavrino/Tavrino.log, by default ~/.local/state/tavrino/Tavrino.log.
std::filesystem::path userLogFile();

// <temporary directory>/tavrino-run-<pid>/selftest.log.
std::filesystem::path developerLogFile();

// Decides the log file from the arguments after the program name and sets it.
void chooseLogFile(const std::vector<std::string>& arguments);

}  // namespace tavrino
