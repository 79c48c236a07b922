#include "Fakes.h"

#include <fstream>

#include "platform/Log.h"

namespace tavrino::test {

LogCapture::LogCapture() : previous_(logFile()) {
    setLogFile(dir_ / "test.log");
}

LogCapture::~LogCapture() {
    setLogFile(previous_);
}

std::vector<std::string> LogCapture::lines() const {
    std::ifstream in(dir_ / "test.log");
    std::vector<std::string> result;
    std::string line;
    while (std::getline(in, line)) {
        const size_t end = line.find("] ");
        result.push_back(end == std::string::npos ? line : line.substr(end + 2));
    }
    return result;
}

bool LogCapture::contains(const std::string& message) const {
    const auto all = lines();
    return std::find(all.begin(), all.end(), message) != all.end();
}

}  // namespace tavrino::test
