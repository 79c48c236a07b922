#pragma once
// Listens on the session bus for the compositor companion's drag reports and hands them to
// the Wayland drag backend. Only signals sent by the companion's own bus name are taken.

#include <QDBusConnection>
#include <QObject>

#include "drag/CompanionDragBackend.h"

namespace tavrino::app {

class CompanionListener : public QObject {
    Q_OBJECT
  public:
    static constexpr const char* busName = "app.korvanta.tavrino.DragReporter";
    static constexpr const char* path = "/app/korvanta/tavrino/DragReporter";
    static constexpr const char* interface = "app.korvanta.tavrino.DragReporter";

    CompanionListener(CompanionDragBackend& backend,
                      QDBusConnection connection = QDBusConnection::sessionBus());
    // Whether the companion holds its bus name now.
    bool companionAnswers() const;

  private Q_SLOTS:
    void began();
    void moved(int x, int y, uint modifiers);
    void ended();

  private:
    CompanionDragBackend& backend_;
    QDBusConnection connection_;
};

}  // namespace tavrino::app
