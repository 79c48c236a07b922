#pragma once
// The layout shared by the welcome and conflict windows: a header with the icon and the head
// line, the wrapping body and a row of buttons; and the placement rule.

#include <QString>
#include <vector>

class QWidget;
class QLabel;

namespace tavrino::app {

class Panel;
class PanelDelegate;

namespace PanelLayout {

struct Built {
    Panel* panel;
    QLabel* body;
};

// Builds a panel 420 points wide whose height follows the text: a header row with the icon
// and the head line, the wrapping body, and a button row of the optional left view, a
// flexible space and the right views.
Built makePanel(const QString& title, const QString& head, const QString& body, QWidget* left,
                const std::vector<QWidget*>& right, PanelDelegate* delegate);

// Centres the panel on the available area of the screen under the pointer, shows it and
// gives it the keyboard focus.
void show(QWidget* panel);

}  // namespace PanelLayout
}  // namespace tavrino::app
