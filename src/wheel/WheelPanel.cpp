#include "wheel/WheelPanel.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Xcb.h"
#include "wheel/geometry/PanelMotion.h"
#include "wheel/geometry/PanelPlacement.h"

namespace tavrino::wheel {
namespace {

constexpr int frameIntervalMs = 16;

Rect rect(const QRect& r) {
    return {double(r.x()), double(r.y()), double(r.width()), double(r.height())};
}

std::vector<ScreenArea> screenAreas() {
    std::vector<ScreenArea> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas.push_back({rect(screen->geometry()), rect(screen->availableGeometry())});
    }
    return areas;
}

}  // namespace

bool compositorRunning() {
    if (QGuiApplication::platformName() != "xcb") return true;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    xcb_connection_t* connection = x11->connection();
    // A compositing manager owns the selection _NET_WM_CM_S<screen number>.
    const QByteArray name = "_NET_WM_CM_S0";
    const XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, name.size(), name.constData()), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) return false;
    const XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

WheelPanel::WheelPanel(int size)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      wheel_(new WheelView(this)),
      clock_(monotonicSeconds) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(size, size);
    translucent_ = compositorRunning();
    if (translucent_) {
        setAttribute(Qt::WA_TranslucentBackground);
    } else {
        setMask(
            QRegion(rect().adjusted(backdropInset, backdropInset, -backdropInset, -backdropInset),
                    QRegion::Ellipse));
    }
    wheel_->setGeometry(0, 0, size, size);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.setInterval(frameIntervalMs);
    connect(&frameTimer_, &QTimer::timeout, this, &WheelPanel::stepFrame);
}

void WheelPanel::setClock(Clock clock) {
    clock_ = std::move(clock);
}

void WheelPanel::present(QPoint pointer) {
    const std::vector<ScreenArea> screens = screenAreas();
    const Point origin =
        panelOrigin({double(pointer.x()), double(pointer.y())}, width(), height(), screens);
    move(static_cast<int>(std::lround(origin.x)), static_cast<int>(std::lround(origin.y)));
    ++presentations_;
    phase_ = Phase::presenting;
    phaseStart_ = clock_();
    scale_ = popFromScale;
    wheel_->setContentScale(scale_);
    applyAlpha(0);
    show();
    raise();
    frameTimer_.start();
    update();
}

void WheelPanel::presentTransparent(QPoint pointer) {
    present(pointer);
    frameTimer_.stop();
    phase_ = Phase::still;
}

void WheelPanel::acceptFocusFromDrags() {
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, false);
}

void WheelPanel::withdraw() {
    frameTimer_.stop();
    phase_ = Phase::still;
    hide();
    applyAlpha(1);
}

void WheelPanel::dismiss(double afterSeconds) {
    const int delayMs = std::max(0, static_cast<int>(std::lround(afterSeconds * 1000)));
    // `this` as the context object drops the step if the panel is gone by then. A dismissal
    // asked for before the panel was presented again belongs to the previous wheel: firing
    // it would fade out the new one under the user's drag.
    const unsigned presentation = presentations_;
    QTimer::singleShot(delayMs, this, [this, presentation] {
        if (presentation != presentations_) return;
        if (!isVisible() || isWorking(wheel_->hubState())) return;
        startFadeOut();
    });
}

void WheelPanel::startFadeOut() {
    phase_ = Phase::fadingOut;
    phaseStart_ = clock_();
    frameTimer_.start();
}

void WheelPanel::stepFrame() {
    const double t = clock_() - phaseStart_;
    if (phase_ == Phase::presenting) {
        scale_ = popScale(t);
        wheel_->setContentScale(scale_);
        applyAlpha(fadeInAlpha(t));
        update();
        if (t >= std::max(popSettleTime(), fadeInSeconds)) phase_ = Phase::still;
    } else if (phase_ == Phase::fadingOut) {
        applyAlpha(fadeOutAlpha(t));
        if (t >= fadeOutSeconds) {
            hide();
            applyAlpha(1);  // ready for the next present, which starts from 0 again
            phase_ = Phase::still;
        }
    }
    if (phase_ == Phase::still) frameTimer_.stop();
}

void WheelPanel::applyAlpha(double alpha) {
    alpha_ = alpha;
    setWindowOpacity(alpha);
}

void WheelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (translucent_) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    const QPointF c = QRectF(rect()).center();
    painter.translate(c);
    painter.scale(scale_, scale_);
    painter.translate(-c);
    const double radius = width() / 2.0 - backdropInset;
    painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
    painter.setBrush(translucent_ ? QColor(24, 24, 28, 224) : QColor(30, 30, 34));
    painter.drawEllipse(c, radius - 0.5, radius - 0.5);
}

}  // namespace tavrino::wheel
