#pragma once
// The pieces shared by the welcome and conflict windows and the tray item: the anvil icon,
// the panel builder and the placement rule.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <vector>

class QWidget;
class QLabel;

namespace tavrino::app {

class Panel;
class PanelDelegate;

namespace Welcome {

// The icon's size in device-independent pixels.
inline constexpr int iconWidth = 22;
inline constexpr int iconHeight = 18;

// The anvil and its two sparks in the icon's 22 × 18 frame, y growing downward.
QPainterPath anvilPath();

// The icon filled with `color`, `scale` device pixels per point, on transparency.
QImage menuBarIcon(const QColor& color, qreal scale = 1.0);

// A square tray icon of side `size` device pixels: the anvil scaled to fit, centred.
QImage trayIcon(const QColor& color, int size);

// A 360 × 144 sample of the icon on a light and a dark ground, at `scale`.
QImage iconSample(qreal scale = 2.0);

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

}  // namespace Welcome
}  // namespace tavrino::app
