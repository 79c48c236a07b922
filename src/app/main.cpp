// tavrino: the tray application, and its developer modes.

#include <QApplication>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Run.h"
#include "devmodes/Preview.h"
#include "platform/Log.h"

namespace {

int runPreview(int argc, char** argv, const tavrino::app::PreviewMode& mode) {
    // The preview never needs a display; without a choice of platform it draws off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tavrino::app::writePreview(mode);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto text = tavrino::app::textWithoutDisplay(arguments)) {
        std::cout << *text;
        return 0;
    }
    tavrino::chooseLogFile(arguments);
    try {
        const tavrino::app::Mode mode = tavrino::app::parseMode(arguments);
        using namespace tavrino::app;
        if (const auto* preview = std::get_if<PreviewMode>(&mode)) {
            return runPreview(argc, argv, *preview);
        }
        if (std::holds_alternative<SelfTestMode>(mode)) return runSelfTestMode(argc, argv);
        if (const auto* matrix = std::get_if<ToolMatrixMode>(&mode)) {
            return runToolMatrixMode(argc, argv, *matrix);
        }
        if (const auto* welcome = std::get_if<WelcomePreviewMode>(&mode)) {
            return runWelcomePreviewMode(argc, argv, *welcome);
        }
        if (const auto* crop = std::get_if<CropPreviewMode>(&mode)) {
            return runCropPreviewMode(argc, argv, *crop);
        }
        return runNormally(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "tavrino: " << error.what() << '\n';
        return 1;
    }
}
