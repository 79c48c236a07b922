#include "drag/WheelPanelPort.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QWindow>

namespace tavrino {

WheelPanelPort::WheelPanelPort(wheel::WheelPanel& panel) : panel_(panel) {
    panel_.wheel()->installEventFilter(this);
}

bool WheelPanelPort::isVisible() const { return panel_.isVisible(); }

void WheelPanelPort::configure(const std::optional<DragInfo>& info, MenuKind kind) {
    panel_.wheel()->configure(info, kind == MenuKind::tools);
}

void WheelPanelPort::present(ScreenPoint at) {
    awaitingFiles_ = false;
    panel_.present({at.x, at.y});
}

void WheelPanelPort::presentTransparent(ScreenPoint at) {
    // A wheel without petals refuses every drop, so a release over the still invisible
    // panel can never run anything the user has not seen.
    panel_.wheel()->configure(std::nullopt, false);
    awaitingFiles_ = true;
    panel_.presentTransparent({at.x, at.y});
}

bool WheelPanelPort::readyForDrag() const {
    const QWindow* window = panel_.windowHandle();
    return panel_.isVisible() && window && window->isExposed();
}

void WheelPanelPort::withdraw() {
    awaitingFiles_ = false;
    panel_.withdraw();
}

void WheelPanelPort::dismiss(double afterSeconds) { panel_.dismiss(afterSeconds); }

const HubState& WheelPanelPort::hubState() const { return panel_.wheel()->hubState(); }

void WheelPanelPort::setHubState(HubState state) { panel_.wheel()->setHubState(std::move(state)); }

void WheelPanelPort::clearHover() { panel_.wheel()->setHovered(std::nullopt); }

void WheelPanelPort::setOnDrop(DropHandler handler) { panel_.wheel()->setOnDrop(std::move(handler)); }

void WheelPanelPort::setOnDragEnter(EnterHandler handler) { onDragEnter_ = std::move(handler); }

bool WheelPanelPort::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::DragEnter || !awaitingFiles_ || !onDragEnter_) {
        return QObject::eventFilter(watched, event);
    }
    awaitingFiles_ = false;
    // Asking for the URLs makes Qt fetch the uri-list from the source, which a Qt source
    // grants to its current drop target: us, now.
    const QMimeData* data = static_cast<QDragEnterEvent*>(event)->mimeData();
    std::vector<std::filesystem::path> files;
    if (data && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) files.emplace_back(url.toLocalFile().toStdString());
        }
    }
    onDragEnter_(std::move(files));
    return QObject::eventFilter(watched, event);
}

}  // namespace tavrino
