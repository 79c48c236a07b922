// GoogleTest entry point for tests that need a Qt application. The platform is chosen on the
// command line rather than in the environment, so programs the tests start do not inherit it.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::vector<char*> arguments(argv, argv + argc);
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        arguments.push_back(platform);
        arguments.push_back(offscreen);
    }
    int count = static_cast<int>(arguments.size());
    QApplication application(count, arguments.data());
    return RUN_ALL_TESTS();
}
