#include "app/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMetaObject>
#include <QString>

namespace tavrino::app {

void QtClipboard::putText(std::string text) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return;
    QMetaObject::invokeMethod(
        application,
        [text = QString::fromStdString(text)] {
            QClipboard* clipboard = QGuiApplication::clipboard();
            clipboard->clear();
            clipboard->setText(text, QClipboard::Clipboard);
        },
        Qt::QueuedConnection);
}

}  // namespace tavrino::app
