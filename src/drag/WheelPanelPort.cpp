#include "drag/WheelPanelPort.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPixmap>
#include <QWindow>

#include "drag/DragSummary.h"

namespace tavrino {
namespace {

// Qt lets a drop target choose only among the actions the source offers. A GTK source with
// Shift held offers nothing but "move", and a source told "move" may delete the dragged
// files once the drop is done. The wheel only ever reads the files, so it always answers
// "copy": XDND lets a target answer an action of its own, and GTK and Qt sources both take
// it. Qt keeps the chosen action in a protected member; a member pointer taken in a
// derived class's scope reaches it without touching the event's memory in any other way.
struct DropActionAccess : QDropEvent {
    static constexpr Qt::DropAction QDropEvent::*action = &DropActionAccess::m_dropAction;
};

void answerCopy(QDropEvent& event) {
    if (event.isAccepted()) event.*DropActionAccess::action = Qt::CopyAction;
}

bool isDragEvent(QEvent::Type type) {
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

}  // namespace

WheelPanelPort::WheelPanelPort(wheel::WheelPanel& panel) : panel_(panel) {
    // Qt hands a drag to the window first, and the window passes it on to the view and
    // takes back the view's answer (within the offered actions) before answering the
    // source: the window's event is where the answer can still be made a copy.
    panel_.winId();
    panel_.windowHandle()->installEventFilter(this);
    warmUp();
}

void WheelPanelPort::warmUp() {
    // The first drawing of the wheel loads the Korean fonts and renders the icons, which
    // takes longer than the whole rest of opening a wheel. Drawing it once off screen now
    // keeps that cost out of the first drag.
    std::vector<std::filesystem::path> sample{"sample.png"};
    panel_.wheel()->configure(summarizeDrag(sample), false);
    QPixmap canvas(panel_.size() * panel_.devicePixelRatioF());
    canvas.setDevicePixelRatio(panel_.devicePixelRatioF());
    canvas.fill(Qt::transparent);
    panel_.render(&canvas);
}

bool WheelPanelPort::isVisible() const {
    return panel_.isVisible();
}

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

void WheelPanelPort::dismiss(double afterSeconds) {
    panel_.dismiss(afterSeconds);
}

const HubState& WheelPanelPort::hubState() const {
    return panel_.wheel()->hubState();
}

void WheelPanelPort::setHubState(HubState state) {
    panel_.wheel()->setHubState(std::move(state));
}

void WheelPanelPort::clearHover() {
    panel_.wheel()->setHovered(std::nullopt);
}

void WheelPanelPort::setOnDrop(DropHandler handler) {
    panel_.wheel()->setOnDrop(std::move(handler));
}

void WheelPanelPort::setOnDragEnter(EnterHandler handler) {
    onDragEnter_ = std::move(handler);
}

bool WheelPanelPort::eventFilter(QObject* watched, QEvent* event) {
    if (!isDragEvent(event->type())) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::DragEnter && awaitingFiles_ && onDragEnter_) {
        awaitingFiles_ = false;
        takeEnteringFiles(static_cast<QDragEnterEvent&>(*event));
    }
    // The view decides whether to take the drag (through the window); the answer that goes
    // back to the source is then made a copy.
    watched->event(event);
    answerCopy(static_cast<QDropEvent&>(*event));
    return true;
}

void WheelPanelPort::takeEnteringFiles(const QDragEnterEvent& event) {
    // Asking for the URLs makes Qt fetch the uri-list from the source, which a Qt source
    // grants to its current drop target: us, now.
    const QMimeData* data = event.mimeData();
    std::vector<std::filesystem::path> files;
    if (data && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) files.emplace_back(url.toLocalFile().toStdString());
        }
    }
    onDragEnter_(std::move(files));
}

}  // namespace tavrino
