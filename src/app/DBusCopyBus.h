#pragma once
// The copies' messages as D-Bus broadcast signals on the session bus:
//
//   path /app/korvanta/tavrino, interface app.korvanta.tavrino.CopyMessages,
//   signal Posted(s name, av object)
//
// The notification name travels as a string argument because names such as
// "app.korvanta.tavrino.show-welcome" are not valid D-Bus member names. The object is an
// array of at most one variant: empty when there is no object, so that "no object" stays
// distinct from an empty string.

#include <QDBusConnection>
#include <QObject>
#include <map>
#include <vector>

#include "app/CopyBus.h"

namespace tavrino::app {

class DBusCopyBus : public QObject, public CopyBus {
    Q_OBJECT
  public:
    explicit DBusCopyBus(QDBusConnection connection = QDBusConnection::sessionBus());

    // False when no session bus could be reached; posting then does nothing.
    bool connected() const;

    void post(const std::string& name, const std::optional<std::string>& object) override;
    void listen(const std::string& name, Handler handler) override;

    static constexpr const char* path = "/app/korvanta/tavrino";
    static constexpr const char* interface = "app.korvanta.tavrino.CopyMessages";
    static constexpr const char* member = "Posted";

  private Q_SLOTS:
    void received(const QString& name, const QVariantList& object);

  private:
    QDBusConnection connection_;
    bool subscribed_ = false;
    std::map<std::string, std::vector<Handler>> handlers_;
};

}  // namespace tavrino::app
