#include "cli/ToolMain.h"

#include <cstdio>
#include <iostream>
#include <new>

#include "model/DocumentError.h"

namespace tavrino::docs {

int runToolMain(int argc, char** argv, const ToolBody& body) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        body(arguments);
        return 0;
    } catch (const UsageError& error) {
        std::cout.flush();
        std::cerr << error.what() << std::endl;
        return 2;
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "메모리가 부족함" << std::endl;
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << error.what() << std::endl;
    }
    return 1;
}

void checkNotSource(const std::filesystem::path& source, const std::filesystem::path& output) {
    std::error_code error;
    if (std::filesystem::equivalent(source, output, error)) {
        throw DocumentError("결과 파일이 원본과 같은 파일임: " + output.filename().string());
    }
}

}  // namespace tavrino::docs
