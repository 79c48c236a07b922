#include "app/DBusCopyBus.h"

#include <QDBusMessage>
#include <QDBusVariant>

#include "platform/Log.h"

namespace tavrino::app {

std::string showWelcomeName(const std::string& identity) {
    return identity + ".show-welcome";
}
std::string welcomeAckName(const std::string& identity) {
    return identity + ".welcome-ack";
}

DBusCopyBus::DBusCopyBus(QDBusConnection connection) : connection_(std::move(connection)) {}

bool DBusCopyBus::connected() const {
    return connection_.isConnected();
}

void DBusCopyBus::post(const std::string& name, const std::optional<std::string>& object) {
    QDBusMessage signal = QDBusMessage::createSignal(path, interface, member);
    QVariantList objectArray;
    if (object) objectArray << QVariant::fromValue(QDBusVariant(QString::fromStdString(*object)));
    signal << QString::fromStdString(name) << QVariant::fromValue(objectArray);
    connection_.send(signal);
}

void DBusCopyBus::listen(const std::string& name, Handler handler) {
    handlers_[name].push_back(std::move(handler));
    if (subscribed_) return;
    // One match for every sender: the copies do not know each other's bus names.
    subscribed_ = connection_.connect(QString(), path, interface, member, this,
                                      SLOT(received(QString, QVariantList)));
}

void DBusCopyBus::received(const QString& name, const QVariantList& object) {
    std::optional<std::string> text;
    if (!object.isEmpty()) {
        const QVariant value = object.first().canConvert<QDBusVariant>()
                                   ? object.first().value<QDBusVariant>().variant()
                                   : object.first();
        if (value.typeId() == QMetaType::QString) text = value.toString().toStdString();
    }
    const auto found = handlers_.find(name.toStdString());
    if (found == handlers_.end()) return;
    // A handler may add listeners (the acknowledgement is listened for later), so iterate
    // over a copy.
    const std::vector<Handler> handlers = found->second;
    for (const Handler& handler : handlers)
        handler(text);
}

}  // namespace tavrino::app
