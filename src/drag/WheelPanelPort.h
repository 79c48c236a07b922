#pragma once
// The drag watcher's hold on the real wheel panel and its view.

#include <QObject>

#include "drag/WheelPort.h"
#include "wheel/WheelPanel.h"

namespace tavrino {

class WheelPanelPort : public QObject, public WheelPort {
    Q_OBJECT
  public:
    // The panel outlives the port.
    explicit WheelPanelPort(wheel::WheelPanel& panel);

    bool isVisible() const override;
    void configure(const std::optional<DragInfo>& info, MenuKind kind) override;
    void present(ScreenPoint at) override;
    void presentTransparent(ScreenPoint at) override;
    bool readyForDrag() const override;
    void withdraw() override;
    void dismiss(double afterSeconds) override;
    const HubState& hubState() const override;
    void setHubState(HubState state) override;
    void clearHover() override;
    void setOnDrop(DropHandler handler) override;
    void setOnDragEnter(EnterHandler handler) override;

  protected:
    // Reads the files of the drag that enters the transparent panel, and makes every
    // drop the view accepts a copy; the view still decides where drops are taken.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void warmUp();
    void takeEnteringFiles(const class QDragEnterEvent& event);

    wheel::WheelPanel& panel_;
    EnterHandler onDragEnter_;
    bool awaitingFiles_ = false;
};

}  // namespace tavrino
