// The drag watcher, the real wheel panel and the run engine in one program, as the tray
// application will hold them, for the end-to-end drags and the watcher benchmark.
//
//   tavrino-drag-harness LOG [--idle-seconds N] [--companion]
//
// --companion takes the drags from the compositor companion on the session bus, as the tray
// application does on a Wayland session, instead of from the X11 display.
//
// Prints to standard error one line each time the wheel has been painted after opening:
//   shown <CLOCK_MONOTONIC seconds> <centre x> <centre y> <item spelling>,...
// Extracted text goes to Qt's clipboard, which this program owns until it quits.
// For each crop window it opens, a line with the canvas's place on screen and one with
// the size label after every change of the crop:
//   crop-window <x> <y> <width> <height> <file name>
//   crop-label <label text>
// With --companion it also marks the steps between a modifier pressed mid-drag and that
// paint, for the benchmark's breakdown: the reporter's signal with new modifiers, the panel
// mapped (transparent, waiting for the files), and the drag entering it:
//   step reported|mapped|entered <CLOCK_MONOTONIC seconds>
// With --idle-seconds it quits after N seconds and prints the CPU time it used:
//   idle <seconds> cpu <seconds>

#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QDBusConnection>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Companion.h"
#include "app/CompanionListener.h"
#include "app/CropCanvas.h"
#include "app/CropWindowController.h"
#include "app/QtClipboard.h"
#include "drag/CompanionDragBackend.h"
#include "drag/Controller.h"
#include "drag/RunEnginePort.h"
#include "drag/WheelPanelPort.h"
#include "drag/X11DragBackend.h"
#include "platform/Log.h"
#include "wheel/WheelPanel.h"

namespace {

double monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// User plus system time of this process, from /proc/self/stat (fields 14 and 15).
double processCpuSeconds() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) stime = std::stoll(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class LogNotifier : public tavrino::Notifier {
  public:
    // One log line with the title and the body lines, as the notification would show them.
    void post(const std::string& title, const std::vector<std::string>& lines) override {
        std::string text = "알림: " + title;
        for (const std::string& line : lines)
            text += " | " + line;
        tavrino::log(text);
    }
};

void printStep(const char* name) {
    std::fprintf(stderr, "step %s %.6f\n", name, monotonicNow());
}

// Marks the steps of a Wayland opening: the reporter's modifier changes (heard beside the
// watcher's own listener), the panel's window exposed and the drag's entry.
class StepReporter : public QObject {
    Q_OBJECT
  public:
    explicit StepReporter(tavrino::wheel::WheelPanel& panel) {
        using Listener = tavrino::app::CompanionListener;
        QDBusConnection::sessionBus().connect(Listener::busName, Listener::path,
                                              Listener::interface, "DragMoved", this,
                                              SLOT(moved(int, int, uint)));
        panel.winId();
        panel.windowHandle()->installEventFilter(this);
        panel.installEventFilter(this);
        panel.wheel()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && qobject_cast<QWindow*>(watched) &&
            static_cast<QWindow*>(watched)->isExposed()) {
            printStep("mapped");
        }
        if (event->type() == QEvent::DragEnter) printStep("entered");
        return QObject::eventFilter(watched, event);
    }

  private Q_SLOTS:
    void moved(int, int, uint modifiers) {
        if (modifiers == modifiers_) return;
        modifiers_ = modifiers;
        printStep("reported");
    }

  private:
    uint modifiers_ = 0;
};

// Reports the first paint of the wheel after each opening (the transparent panel of a Qt
// source does not count: it shows nothing).
class ShownReporter : public QObject {
  public:
    explicit ShownReporter(tavrino::wheel::WheelPanel& panel) : panel_(panel) {
        panel.wheel()->installEventFilter(this);
        panel.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &panel_ && event->type() == QEvent::Hide) reported_ = false;
        if (watched == panel_.wheel() && event->type() == QEvent::Paint && !reported_ &&
            !panel_.wheel()->slots().empty()) {
            reported_ = true;
            report();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void report() {
        const QPoint centre = panel_.geometry().center();
        std::string items;
        for (const tavrino::WheelItem& item : panel_.wheel()->slots()) {
            items += (items.empty() ? "" : ",") + tavrino::spelling(item);
        }
        std::fprintf(stderr, "shown %.6f %d %d %s\n", monotonicNow(), centre.x() + 1,
                     centre.y() + 1, items.c_str());
        std::fflush(stderr);
    }

    tavrino::wheel::WheelPanel& panel_;
    bool reported_ = false;
};

// The tray's crop opener, telling the test where the canvas is and what the label shows.
void openCropWindow(const std::filesystem::path& source) {
    tavrino::app::CropWindowController& crop = tavrino::app::CropWindowController::show(source);
    const QPoint origin = crop.canvas()->mapToGlobal(QPoint(0, 0));
    std::fprintf(stderr, "crop-window %d %d %d %d %s\n", origin.x(), origin.y(),
                 crop.canvas()->width(), crop.canvas()->height(),
                 source.filename().string().c_str());
    std::function<void()> update = crop.canvas()->onChange;
    crop.canvas()->onChange = [update, label = crop.sizeLabel()] {
        update();
        std::fprintf(stderr, "crop-label %s\n", label->text().toStdString().c_str());
        std::fflush(stderr);
    };
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::cerr << "usage: tavrino-drag-harness LOG [--idle-seconds N] [--companion]\n";
        return 2;
    }
    int idleSeconds = 0;
    bool companion = false;
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--companion") companion = true;
        if (arguments[i] == "--idle-seconds" && i + 1 < arguments.size()) {
            idleSeconds = std::stoi(arguments[++i]);
        }
    }
    tavrino::setLogFile(arguments[0]);
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    // Extracted text goes to Qt's clipboard, as in the tray application.
    tavrino::installClipboard(std::make_shared<tavrino::app::QtClipboard>());

    tavrino::wheel::WheelPanel panel;
    panel.setWindowTitle("tavrino-wheel");
    tavrino::WheelPanelPort port(panel);
    std::unique_ptr<tavrino::DragBackend> backend;
    std::unique_ptr<tavrino::app::CompanionListener> listener;
    if (companion) {
        auto reported = std::make_unique<tavrino::CompanionDragBackend>(
            qGuiApp->primaryScreen()->devicePixelRatio());
        listener = std::make_unique<tavrino::app::CompanionListener>(*reported);
        if (!listener->companionAnswers()) std::fprintf(stderr, "companion silent\n");
        if (tavrino::app::dropsNeedActiveWindow(tavrino::app::currentDesktop())) {
            panel.acceptFocusFromDrags();
        }
        backend = std::move(reported);
    } else {
        backend = std::make_unique<tavrino::X11DragBackend>();
    }
    auto engine = std::make_shared<tavrino::RunEnginePort>();
    LogNotifier notifier;
    tavrino::Controller controller(port, *backend, engine, notifier);
    controller.setCropOpener(openCropWindow);
    ShownReporter reporter(panel);
    std::unique_ptr<StepReporter> steps;
    if (companion) steps = std::make_unique<StepReporter>(panel);
    controller.start();

    if (idleSeconds > 0) {
        const int seconds = idleSeconds;
        const double cpuStart = processCpuSeconds();
        // The timer fires after this block has ended: the figures go into the lambda.
        QTimer::singleShot(seconds * 1000, &application, [&application, seconds, cpuStart] {
            std::fprintf(stderr, "idle %d cpu %.3f\n", seconds, processCpuSeconds() - cpuStart);
            application.quit();
        });
    }
    std::fprintf(stderr, "ready\n");
    std::fflush(stderr);
    return application.exec();
}

#include "DragHarness.moc"
