#include "app/Run.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/DragWatcherFactory.h"
#include "app/QtClipboard.h"
#include "app/WelcomeText.h"
#include "devmodes/CropPreview.h"
#include "devmodes/SelfTest.h"
#include "devmodes/ToolMatrix.h"
#include "devmodes/WelcomePreview.h"

namespace tavrino::app {
namespace {

// Developer modes draw off screen unless a platform was chosen explicitly.
void preferOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace

int runNormally(int argc, char** argv) {
    // Qt would abort with its platform plugin's message; one plain line says more.
    if (const auto missing = missingDisplay(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                                            std::getenv("QT_QPA_PLATFORM"))) {
        std::cerr << *missing << '\n';
        return 1;
    }
    // The wheel places itself under the pointer and takes the drop as an X11 window, which
    // a Wayland compositor allows its XWayland clients but not its own.
    if (waylandSession() && !qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("tavrino");
    QGuiApplication::setDesktopFileName("app.korvanta.tavrino");
    // The tray item keeps the program alive; closing a window never ends it.
    application.setQuitOnLastWindowClosed(false);
    // Extracted text goes to Qt's clipboard; the command-line tool installs none.
    installClipboard(std::make_shared<QtClipboard>());
    AppDelegate delegate(makeDragWatcher());
    QTimer::singleShot(0, &delegate, [&delegate] { delegate.applicationDidFinishLaunching(); });
    return application.exec();
}

int runSelfTestMode(int argc, char** argv) {
    preferOffscreen();
    QApplication application(argc, argv);
    return runSelfTest(selfChecks(), std::cout);
}

int runToolMatrixMode(int argc, char** argv, const ToolMatrixMode& mode) {
    preferOffscreen();
    QApplication application(argc, argv);
    runToolMatrix(mode.directory, builtInToolRunner(), std::cout);
    return 0;
}

int runWelcomePreviewMode(int argc, char** argv, const WelcomePreviewMode& mode) {
    preferOffscreen();
    QApplication application(argc, argv);
    writeWelcomePreview(mode);
    return 0;
}

int runCropPreviewMode(int argc, char** argv, const CropPreviewMode& mode) {
    preferOffscreen();
    QApplication application(argc, argv);
    writeCropPreview(mode);
    return 0;
}

}  // namespace tavrino::app
