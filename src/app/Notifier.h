#pragma once
// Desktop notifications through the freedesktop notification service
// (org.freedesktop.Notifications on the session bus). Used when a document conversion found
// breakage risks. Posting returns at once; every way it can fail ends in exactly one log
// line, and nothing is retried.
//
// There is no permission to ask for on Linux; the notification server's presence takes its
// place: a GetCapabilities call that fails means notifications cannot be shown here.

#include <QDBusConnection>
#include <QObject>
#include <string>
#include <vector>

namespace tavrino::app {

class Notifier : public QObject {
    Q_OBJECT
  public:
    static Notifier& shared();

    // `available`: whether this program may post at all (it runs from the installed bundle).
    explicit Notifier(bool available = defaultAvailable(),
                      QDBusConnection connection = QDBusConnection::sessionBus());

    // Posts `title` with at most the first two of `lines` as the body.
    void post(const std::string& title, const std::vector<std::string>& lines);

    // Whether this process runs from the installed bundle with an identifier.
    static bool defaultAvailable();

    // The body of a notification: the first two lines joined by a line feed.
    static std::string body(const std::vector<std::string>& lines);
    // Escapes &, < and > for servers that read the body as markup.
    static std::string escapedForMarkup(const std::string& text);

    static constexpr const char* service = "org.freedesktop.Notifications";
    static constexpr const char* path = "/org/freedesktop/Notifications";

  Q_SIGNALS:
    // Emitted after each post has run its course (delivered or logged), for tests.
    void finished();

  private:
    void deliver(const std::string& title, const std::string& body, bool markup);

    bool available_;
    QDBusConnection connection_;
};

}  // namespace tavrino::app
