#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>

#include "platform/Log.h"

namespace tavrino::test {

LogCapture::LogCapture(std::filesystem::path file)
    : file_(file.empty() ? folder_ / "run.log" : std::move(file)), previous_(logFile()) {
    setLogFile(file_);
}

LogCapture::~LogCapture() {
    setLogFile(previous_);
}

std::vector<std::string> LogCapture::messages() const {
    std::vector<std::string> lines;
    std::ifstream in(file_);
    const std::regex stamp(R"(^\[\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ\] )");
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(std::regex_search(line, stamp)) << line;
        lines.push_back(std::regex_replace(line, stamp, ""));
    }
    return lines;
}

bool LogCapture::contains(const std::string& message) const {
    const std::vector<std::string> lines = messages();
    return std::find(lines.begin(), lines.end(), message) != lines.end();
}

}  // namespace tavrino::test
