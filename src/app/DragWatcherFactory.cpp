#include "app/DragWatcherFactory.h"

#include "app/CropWindowController.h"
#include "app/Notifier.h"
#include "drag/Controller.h"
#include "drag/RunEnginePort.h"
#include "drag/WheelPanelPort.h"
#include "drag/X11DragBackend.h"
#include "wheel/WheelPanel.h"

namespace tavrino::app {
namespace {

// Run control posts its risk notices through the desktop notifier.
class DesktopNotifier : public tavrino::Notifier {
  public:
    void post(const std::string& title, const std::vector<std::string>& lines) override {
        app::Notifier::shared().post(title, lines);
    }
};

// The wheel panel, the X11 backend, the engine and the controller, owned together for the
// life of the program; members are declared in the order the controller needs them.
class ControllerWatcher : public DragWatcher {
  public:
    ControllerWatcher() {
        controller_.setCropOpener(
            [](const std::filesystem::path& source) { CropWindowController::show(source); });
    }
    void start() override { controller_.start(); }

  private:
    wheel::WheelPanel panel_;
    WheelPanelPort port_{panel_};
    X11DragBackend backend_;
    std::shared_ptr<RunEnginePort> engine_ = std::make_shared<RunEnginePort>();
    DesktopNotifier notifier_;
    Controller controller_{port_, backend_, engine_, notifier_};
};

}  // namespace

std::unique_ptr<DragWatcher> makeDragWatcher() {
    return std::make_unique<ControllerWatcher>();
}

}  // namespace tavrino::app
