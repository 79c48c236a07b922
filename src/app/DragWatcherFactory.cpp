#include "app/DragWatcherFactory.h"

#include <QGuiApplication>
#include <QScreen>
#include <utility>

#include "app/Companion.h"
#include "app/CompanionListener.h"
#include "app/CropWindowController.h"
#include "app/Notifier.h"
#include "app/WelcomeText.h"
#include "drag/CompanionDragBackend.h"
#include "drag/Controller.h"
#include "drag/RunEnginePort.h"
#include "drag/WheelPanelPort.h"
#include "drag/X11DragBackend.h"
#include "platform/Log.h"
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

// The wheel panel, a backend, the engine and the controller, owned together for the life of
// the program; members are declared in the order the controller needs them.
template <class Backend>
class ControllerWatcher : public DragWatcher {
  public:
    template <class... Args>
    explicit ControllerWatcher(Args&&... backendArgs)
        : backend_(std::forward<Args>(backendArgs)...) {
        controller_.setCropOpener(
            [](const std::filesystem::path& source) { CropWindowController::show(source); });
    }
    void start() override { controller_.start(); }

  protected:
    wheel::WheelPanel panel_;
    WheelPanelPort port_{panel_};
    Backend backend_;
    std::shared_ptr<RunEnginePort> engine_ = std::make_shared<RunEnginePort>();
    DesktopNotifier notifier_;
    Controller controller_{port_, backend_, engine_, notifier_};
};

// On Wayland the compositor's companion reports the drags; the wheel is still an X11
// window under the pointer, which the compositor hands the drop to.
class CompanionWatcher : public ControllerWatcher<CompanionDragBackend> {
  public:
    CompanionWatcher() : ControllerWatcher(qGuiApp->primaryScreen()->devicePixelRatio()) {
        if (dropsNeedActiveWindow(currentDesktop())) panel_.acceptFocusFromDrags();
    }
    void start() override {
        const Desktop desktop = currentDesktop();
        const std::string reporter = "끌기 도우미(" + companionName(desktop) + ")";
        if (listener_.companionAnswers()) {
            log("Wayland 세션: " + reporter + "가 끌기를 알려 준다");
        } else if (desktop == Desktop::gnome || desktop == Desktop::kde) {
            log("Wayland 세션에서 " + reporter +
                "가 응답하지 않음: 켜질 때까지 원형 메뉴가 뜨지 않는다");
        } else {
            log("이 Wayland 데스크톱에는 다른 프로그램의 끌기를 알려 줄 방법이 없어 원형 메뉴 "
                "없이 계속한다 (tavrino-cli는 그대로 쓸 수 있다)");
        }
        ControllerWatcher::start();
    }

  private:
    CompanionListener listener_{backend_};
};

}  // namespace

std::unique_ptr<DragWatcher> makeDragWatcher() {
    if (waylandSession()) return std::make_unique<CompanionWatcher>();
    return std::make_unique<ControllerWatcher<X11DragBackend>>();
}

}  // namespace tavrino::app
