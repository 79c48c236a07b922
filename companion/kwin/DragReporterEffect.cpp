#include "DragReporterEffect.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QTimer>

#include <dlfcn.h>

namespace tavrino::kwin {
namespace {

constexpr const char* busName = "app.korvanta.tavrino.DragReporter";
constexpr const char* objectPath = "/app/korvanta/tavrino/DragReporter";
constexpr const char* interfaceName = "app.korvanta.tavrino.DragReporter";

// The reports carry the modifier bits of the GNOME reporter (the X11 modifier mask), so the
// tray application reads both compositors alike.
constexpr uint shiftBit = 1u << 0;
constexpr uint controlBit = 1u << 2;
constexpr uint altBit = 1u << 3;

uint maskOf(Qt::KeyboardModifiers modifiers) {
    uint mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= shiftBit;
    if (modifiers & Qt::ControlModifier) mask |= controlBit;
    if (modifiers & Qt::AltModifier) mask |= altBit;
    return mask;
}

// An object of KWin's by its class name among the application's objects: the classes that
// matter here are not part of the effect interface. KWin's Wayland seat announces every
// drag from any client; its input redirection sees every key and pointer event before any
// client does.
QObject* findByClass(const char* className) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return nullptr;
    for (QObject* object : app->findChildren<QObject*>()) {
        if (object->inherits(className)) return object;
    }
    return nullptr;
}

QObject* findSeat() {
    return findByClass("KWaylandServer::SeatInterface");
}

// Members of KWin::InputRedirection that KWin's library exports but declares only in its
// private headers. Looked up at run time, so that a KWin without them loads the reporter all
// the same. Its modifier-change signal is no use here: it stays silent for injected keys,
// while every key, real or injected, passes through keyStateChanged. InputRedirection
// derives from QObject alone, so the object found by class name is the `this` they take.
template <typename Function>
Function exported(const char* symbol) {
    return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, symbol));
}

using ModifiersFunction = Qt::KeyboardModifiers (*)(const QObject*);
using WarpFunction = void (*)(QObject*, const QPointF&);
using CanWarpFunction = bool (*)(const QObject*);

ModifiersFunction modifiersFunction() {
    static const auto function =
        exported<ModifiersFunction>("_ZNK4KWin16InputRedirection17keyboardModifiersEv");
    return function;
}

WarpFunction warpFunction() {
    static const auto function =
        exported<WarpFunction>("_ZN4KWin16InputRedirection11warpPointerERK7QPointF");
    return function;
}

bool canWarp(const QObject* input) {
    static const auto function =
        exported<CanWarpFunction>("_ZNK4KWin16InputRedirection22supportsPointerWarpingEv");
    return input && function && warpFunction() && function(input);
}

// At the window's appearance, and again a little later in case KWin had not yet taken the
// window's surface as a drop target on the first try.
constexpr int nudgeAgainMs = 50;

}  // namespace

bool DragReporterEffect::supported() {
    return KWin::effects && KWin::effects->waylandDisplay() && findSeat();
}

DragReporterEffect::DragReporterEffect() : bus_(QDBusConnection::sessionBus()) {
    QObject* seat = findSeat();
    if (!seat) return;
    // A name taken by another copy (an older reporter still loaded) is left to it.
    registered_ = bus_.registerService(busName);
    if (!registered_) return;
    connect(seat, SIGNAL(dragStarted()), this, SLOT(dragStarted()));
    connect(seat, SIGNAL(dragEnded()), this, SLOT(dragEnded()));
    connect(KWin::effects, &KWin::EffectsHandler::mouseChanged, this,
            [this](const QPoint& pos, const QPoint&, Qt::MouseButtons, Qt::MouseButtons,
                   Qt::KeyboardModifiers modifiers,
                   Qt::KeyboardModifiers) { pointerChanged(pos, modifiers); });
    input_ = findByClass("KWin::InputRedirection");
    if (input_ && modifiersFunction()) {
        connect(input_, SIGNAL(keyStateChanged(uint, InputRedirection::KeyboardKeyState)), this,
                SLOT(keyChanged()));
    }
    connect(KWin::effects, &KWin::EffectsHandler::windowAdded, this,
            &DragReporterEffect::windowAppeared);
}

DragReporterEffect::~DragReporterEffect() {
    if (dragging_) dragEnded();
    if (registered_) bus_.unregisterService(busName);
}

void DragReporterEffect::dragStarted() {
    if (dragging_) KWin::effects->stopMousePolling();
    dragging_ = true;
    // Pointer reports are wanted only while a drag is under way.
    KWin::effects->startMousePolling();
    emitSignal("DragBegan");
    lastPos_ = KWin::effects->cursorPos();
    lastModifiers_ = Qt::NoModifier;
    emitSignal("DragMoved", {lastPos_.x(), lastPos_.y(), 0u});
}

void DragReporterEffect::dragEnded() {
    if (!dragging_) return;
    dragging_ = false;
    KWin::effects->stopMousePolling();
    emitSignal("DragEnded");
}

void DragReporterEffect::pointerChanged(const QPoint& pos, Qt::KeyboardModifiers modifiers) {
    if (!dragging_ || (pos == lastPos_ && modifiers == lastModifiers_)) return;
    lastPos_ = pos;
    lastModifiers_ = modifiers;
    emitSignal("DragMoved", {pos.x(), pos.y(), maskOf(modifiers)});
}

void DragReporterEffect::keyChanged() {
    if (dragging_) pointerChanged(KWin::effects->cursorPos(), modifiersFunction()(input_));
}

void DragReporterEffect::windowAppeared(KWin::EffectWindow* window) {
    if (!dragging_ || !window ||
        !window->windowClass().startsWith(QLatin1String("tavrino"), Qt::CaseInsensitive)) {
        return;
    }
    nudge();
    QTimer::singleShot(nudgeAgainMs, this, &DragReporterEffect::nudge);
}

void DragReporterEffect::nudge() {
    if (!dragging_ || !canWarp(input_)) return;
    const QPointF at = KWin::effects->cursorPos();
    warpFunction()(input_, at + QPointF(1, 0));
    warpFunction()(input_, at);
}

void DragReporterEffect::emitSignal(const char* name, const QList<QVariant>& arguments) {
    QDBusMessage message = QDBusMessage::createSignal(objectPath, interfaceName, name);
    message.setArguments(arguments);
    bus_.send(message);
}

}  // namespace tavrino::kwin

KWIN_EFFECT_FACTORY_SUPPORTED(tavrino::kwin::DragReporterEffect, "metadata.json",
                              return tavrino::kwin::DragReporterEffect::supported();)

#include "DragReporterEffect.moc"
