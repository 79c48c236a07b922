#include "app/DarkPalette.h"

namespace tavrino::app {

QPalette darkPalette() {
    QPalette palette;
    const QColor window(40, 40, 43), base(30, 30, 32), text(236, 236, 236), button(58, 58, 62);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(10, 132, 255));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 124));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 124));
    return palette;
}

}  // namespace tavrino::app
