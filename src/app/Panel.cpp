#include "app/Panel.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace tavrino::app {

Panel::Panel(PanelDelegate* delegate) : QWidget(nullptr), delegate_(delegate) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void Panel::setClosable(bool closable) {
    if (windowFlags().testFlag(Qt::WindowCloseButtonHint) == closable) return;
    // Changing window flags unmaps the window; show it again where it was, with the
    // keyboard focus it had.
    const bool visible = isVisible();
    const bool active = isActiveWindow();
    const QPoint position = pos();
    setWindowFlag(Qt::WindowCloseButtonHint, closable);
    if (visible) {
        move(position);
        show();
        if (active) activateWindow();
    }
}

void Panel::closeEvent(QCloseEvent* event) {
    if (delegate_ && !delegate_->windowShouldClose()) {
        event->ignore();
        return;
    }
    if (delegate_) delegate_->windowWillClose();
    event->accept();
}

void Panel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    // Return presses the default button even when another button has the focus.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isDefault() && button->isEnabled()) {
                button->click();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tavrino::app
