#include "app/PanelLayout.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "app/AnvilIcon.h"
#include "app/Panel.h"

namespace tavrino::app::PanelLayout {
namespace {

// The layout's sizes are in device-independent pixels; fonts are sized to match them rather
// than to the desktop's point size, so the text wraps where the layout expects.
qreal pointsForPixels(qreal pixels, const QWidget& widget) {
    return pixels * 72.0 / widget.logicalDpiY();
}

}  // namespace

Built makePanel(const QString& title, const QString& head, const QString& body, QWidget* left,
                const std::vector<QWidget*>& right, PanelDelegate* delegate) {
    auto* panel = new Panel(delegate);
    panel->setWindowTitle(title);

    auto* icon = new QLabel;
    const QColor ink = panel->palette().color(QPalette::WindowText);
    QPixmap pixmap =
        QPixmap::fromImage(AnvilIcon::menuBarIcon(ink, 1.5 * panel->devicePixelRatioF()));
    pixmap.setDevicePixelRatio(panel->devicePixelRatioF());
    icon->setPixmap(pixmap);
    icon->setFixedSize(33, 27);
    icon->setScaledContents(true);
    auto* headLabel = new QLabel(head);
    QFont headFont = headLabel->font();
    headFont.setBold(true);
    headFont.setPointSizeF(pointsForPixels(15, *panel));
    headLabel->setFont(headFont);
    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(icon);
    header->addWidget(headLabel);
    header->addStretch(1);

    auto* bodyLabel = new QLabel(body);
    bodyLabel->setWordWrap(true);
    QFont bodyFont = bodyLabel->font();
    bodyFont.setPointSizeF(pointsForPixels(12.5, *panel));
    bodyLabel->setFont(bodyFont);
    bodyLabel->setFixedWidth(380);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    if (left) buttons->addWidget(left);
    buttons->addStretch(1);
    for (QWidget* view : right)
        buttons->addWidget(view);

    auto* outer = new QVBoxLayout(panel);
    outer->setSpacing(14);
    outer->setContentsMargins(20, 18, 20, 16);
    outer->addLayout(header);
    outer->addWidget(bodyLabel);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    panel->adjustSize();
    panel->setBodyLabel(bodyLabel);
    return {panel, bodyLabel};
}

void show(QWidget* panel) {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        panel->adjustSize();
        const QRect area = screen->availableGeometry();
        const QSize size = panel->frameGeometry().size().expandedTo(panel->size());
        panel->move(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2);
    }
    panel->show();
    panel->raise();
    panel->activateWindow();
}

}  // namespace tavrino::app::PanelLayout
