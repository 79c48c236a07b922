#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "platform/Log.h"

namespace tavrino::test {

LogCapture::LogCapture() : previous_(logFile()) {
    setLogFile(folder_ / "run.log");
}

LogCapture::~LogCapture() {
    setLogFile(previous_);
}

std::vector<std::string> LogCapture::messages() const {
    std::vector<std::string> lines;
    std::ifstream in(folder_ / "run.log");
    const std::regex stamp(R"(^\[\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ\] )");
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(std::regex_search(line, stamp)) << line;
        lines.push_back(std::regex_replace(line, stamp, ""));
    }
    return lines;
}

}  // namespace tavrino::test
