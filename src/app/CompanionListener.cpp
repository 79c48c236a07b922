#include "app/CompanionListener.h"

#include <QDBusConnectionInterface>

namespace tavrino::app {

CompanionListener::CompanionListener(CompanionDragBackend& backend, QDBusConnection connection)
    : backend_(backend), connection_(std::move(connection)) {
    connection_.connect(busName, path, interface, "DragBegan", this, SLOT(began()));
    connection_.connect(busName, path, interface, "DragMoved", this, SLOT(moved(int, int, uint)));
    connection_.connect(busName, path, interface, "DragEnded", this, SLOT(ended()));
}

bool CompanionListener::companionAnswers() const {
    const QDBusConnectionInterface* bus = connection_.interface();
    return bus && bus->isServiceRegistered(busName).value();
}

void CompanionListener::began() {
    backend_.reportBegan();
}

void CompanionListener::moved(int x, int y, uint modifiers) {
    backend_.reportMoved(x, y, modifiers);
}

void CompanionListener::ended() {
    backend_.reportEnded();
}

}  // namespace tavrino::app
