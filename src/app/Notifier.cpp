#include "app/Notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "platform/Bundle.h"
#include "platform/Log.h"

namespace tavrino::app {
namespace {

QDBusMessage notificationCall(const char* method) {
    return QDBusMessage::createMethodCall(Notifier::service, Notifier::path, Notifier::service,
                                          method);
}

// Runs `done` with the finished call on the GUI thread, then disposes of the watcher.
template <typename Done>
void whenAnswered(const QDBusPendingCall& call, QObject* context, Done done) {
    auto* watcher = new QDBusPendingCallWatcher(call, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, done](QDBusPendingCallWatcher*) {
                         done(*watcher);
                         watcher->deleteLater();
                     });
}

}  // namespace

Notifier& Notifier::shared() {
    static auto* notifier = new Notifier;
    return *notifier;
}

Notifier::Notifier(bool available, QDBusConnection connection)
    : available_(available), connection_(std::move(connection)) {}

bool Notifier::defaultAvailable() {
    const auto identifier = bundleInfo("identifier");
    return identifier && !identifier->empty();
}

std::string Notifier::body(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size() && i < 2; ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

std::string Notifier::escapedForMarkup(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped += c;
    }
    return escaped;
}

void Notifier::post(const std::string& title, const std::vector<std::string>& lines) {
    if (!available_) {
        log("알림 생략(앱 묶음 아님): " + title);
        Q_EMIT finished();
        return;
    }
    const std::string text = body(lines);
    whenAnswered(connection_.asyncCall(notificationCall("GetCapabilities")), this,
                 [this, title, text](QDBusPendingCallWatcher& call) {
                     const QDBusPendingReply<QStringList> reply = call;
                     if (reply.isError()) {
                         log("알림 권한 없음 — 로그만 남김: " + title + " (" +
                             reply.error().message().toStdString() + ")");
                         Q_EMIT finished();
                         return;
                     }
                     deliver(title, text, reply.value().contains("body-markup"));
                 });
}

void Notifier::deliver(const std::string& title, const std::string& body, bool markup) {
    QDBusMessage call = notificationCall("Notify");
    QVariantMap hints;
    hints.insert("desktop-entry", QString::fromStdString(bundleInfo("identifier").value_or("")));
    // A server that reads markup would swallow "<" and "&" in file names.
    const std::string shown = markup ? escapedForMarkup(body) : body;
    call << QString("Tavrino") << 0u << QString("app.korvanta.tavrino")
         << QString::fromStdString(title) << QString::fromStdString(shown) << QStringList() << hints
         << -1;
    whenAnswered(connection_.asyncCall(call), this, [this](QDBusPendingCallWatcher& reply) {
        if (reply.isError()) {
            log("알림 보내기 실패: " + reply.error().message().toStdString());
        }
        Q_EMIT finished();
    });
}

}  // namespace tavrino::app
