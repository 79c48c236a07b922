// tavrino-cli: the menus, conversions and tools of the wheel from the command line.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "platform/Log.h"
#include "platform/Machine.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    tavrino::chooseLogFile(arguments);
    tavrino::returnLargeBuffersToTheSystem();
    try {
        return tavrino::cli::runCommandLine(arguments);
    } catch (const tavrino::cli::UsageError&) {
        std::cerr << tavrino::cli::usageLine << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "tavrino-cli: " << error.what() << '\n';
        return 1;
    }
}
