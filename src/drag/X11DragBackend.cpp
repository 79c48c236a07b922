#include "drag/X11DragBackend.h"

#include <poll.h>
#include <xcb/xfixes.h>

#include <QGuiApplication>
#include <QScreen>
#include <cstring>

#include "platform/Log.h"

namespace tavrino {
namespace {

using Clock = std::chrono::steady_clock;

// Our own conversions land in this property of the hidden window.
constexpr const char* propertyName = "TAVRINO_DRAG_FILES";

bool isSelectionNotify(const xcb_generic_event_t& event) {
    return (event.response_type & 0x7f) == XCB_SELECTION_NOTIFY;
}

}  // namespace

X11DragBackend::X11DragBackend() {
    // The wheel must be an X11 window under the pointer; a GUI on another platform (native
    // Wayland) can neither place it there nor be an XDND target.
    if (qGuiApp && QGuiApplication::platformName() != "xcb") return;
    connection_.reset(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection_.get()) || !setUp()) {
        connection_.reset();
        return;
    }
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        // Through XWayland the pointer and the drag selection are those of X11 programs only.
        log("Wayland 세션: X11 프로그램에서 시작한 파일 끌기만 보인다");
    }
}

X11DragBackend::~X11DragBackend() {
    notifier_.reset();
    if (connection_ && window_) xcb_destroy_window(connection_.get(), window_);
}

xcb_atom_t X11DragBackend::atom(const char* name) {
    const auto cookie = xcb_intern_atom(connection_.get(), 0, std::strlen(name), name);
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection_.get(), cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool X11DragBackend::setUp() {
    xcb_connection_t* c = connection_.get();
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present) return false;
    xfixesFirstEvent_ = xfixes->first_event;
    // The server sends selection events only to clients that have announced the version
    // they speak; without this it answers the select request with an error.
    XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
        nullptr));
    if (!version) return false;

    root_ = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    dragSelection_ = atom("XdndSelection");
    uriList_ = atom("text/uri-list");
    property_ = atom(propertyName);
    incr_ = atom("INCR");

    window_ = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, root_, -10, -10, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    xcb_xfixes_select_selection_input(c, window_, dragSelection_,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    xcb_flush(c);

    notifier_ =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        if (drainEvents() && onChange_) onChange_();
    });
    if (qGuiApp && qGuiApp->primaryScreen()) {
        pixelRatio_ = qGuiApp->primaryScreen()->devicePixelRatio();
    }
    return true;
}

bool X11DragBackend::usable() const {
    return connection_ != nullptr;
}

PointerState X11DragBackend::pointer() {
    PointerState state;
    if (!connection_) return state;
    xcb_connection_t* c = connection_.get();
    XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, root_), nullptr));
    if (!reply) return state;
    state.primaryDown = reply->mask & XCB_KEY_BUT_MASK_BUTTON_1;
    state.shift = reply->mask & XCB_KEY_BUT_MASK_SHIFT;
    state.alt = reply->mask & XCB_KEY_BUT_MASK_MOD_1;
    lastX_ = reply->root_x;
    state.x = static_cast<int>(reply->root_x / pixelRatio_);
    state.y = static_cast<int>(reply->root_y / pixelRatio_);
    return state;
}

std::uint64_t X11DragBackend::changeCount() {
    // Reading a reply may have pulled events off the socket into xcb's queue, where the
    // socket notifier no longer sees them; take them here so the count is current.
    static_cast<void>(drainEvents());
    return changes_;
}

bool X11DragBackend::drainEvents() {
    if (!connection_) return false;
    bool changed = false;
    while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(connection_.get())}) {
        changed = handleEvent(*event) || changed;
    }
    if (xcb_connection_has_error(connection_.get())) {
        // The display went away: stop watching rather than spin on a dead socket. This may
        // run inside the notifier's own signal, so it is deleted later.
        if (notifier_) {
            notifier_->setEnabled(false);
            notifier_.release()->deleteLater();
        }
        connection_.reset();
    }
    return changed;
}

bool X11DragBackend::handleEvent(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7f) != xfixesFirstEvent_ + XCB_XFIXES_SELECTION_NOTIFY) {
        return false;
    }
    const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
    if (notify.selection != dragSelection_ || notify.owner == XCB_NONE) return false;
    ++changes_;
    return true;
}

XcbReply<xcb_generic_event_t> X11DragBackend::waitForEvent(Clock::time_point deadline) {
    xcb_connection_t* c = connection_.get();
    while (true) {
        if (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(c)}) return event;
        if (xcb_connection_has_error(c)) return nullptr;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return nullptr;
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(left.count()) + 1);
    }
}

SelectionReply X11DragBackend::readUriList(std::chrono::milliseconds timeout) {
    SelectionReply reply;
    if (!connection_) return reply;
    static_cast<void>(drainEvents());
    if (!connection_) return reply;
    xcb_connection_t* c = connection_.get();
    XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, dragSelection_), nullptr));
    if (!owner || owner->owner == XCB_NONE) return reply;

    xcb_delete_property(c, window_, property_);
    xcb_convert_selection(c, window_, dragSelection_, uriList_, property_, XCB_CURRENT_TIME);
    xcb_flush(c);
    const Clock::time_point deadline = Clock::now() + timeout;
    while (XcbReply<xcb_generic_event_t> event = waitForEvent(deadline)) {
        if (!isSelectionNotify(*event)) {
            handleEvent(*event);
            continue;
        }
        const auto& notify = reinterpret_cast<const xcb_selection_notify_event_t&>(*event);
        if (notify.requestor != window_ || notify.selection != dragSelection_) continue;
        if (notify.property == XCB_NONE) return {SelectionReply::Status::refused, {}};
        return takeProperty(deadline);
    }
    return {SelectionReply::Status::timedOut, {}};
}

SelectionReply X11DragBackend::takeProperty(Clock::time_point deadline) {
    xcb_connection_t* c = connection_.get();
    XcbReply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        c, xcb_get_property(c, 1, window_, property_, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
        nullptr));
    xcb_flush(c);
    if (!property) return {SelectionReply::Status::refused, {}};
    SelectionReply reply{SelectionReply::Status::answered, {}};
    if (property->type == incr_) {
        // A long list comes in pieces: deleting the property (done by the read above) asks
        // the source for the next one; an empty piece ends the transfer.
        if (!readIncrementally(reply.text, deadline)) return {SelectionReply::Status::timedOut, {}};
        return reply;
    }
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(property.get()));
    reply.text.assign(bytes, static_cast<size_t>(xcb_get_property_value_length(property.get())));
    return reply;
}

bool X11DragBackend::readIncrementally(std::string& text, Clock::time_point deadline) {
    xcb_connection_t* c = connection_.get();
    while (XcbReply<xcb_generic_event_t> event = waitForEvent(deadline)) {
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) {
            handleEvent(*event);
            continue;
        }
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(*event);
        if (notify.window != window_ || notify.atom != property_ ||
            notify.state != XCB_PROPERTY_NEW_VALUE) {
            continue;
        }
        XcbReply<xcb_get_property_reply_t> piece(
            xcb_get_property_reply(c,
                                   xcb_get_property(c, 1, window_, property_,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
                                   nullptr));
        xcb_flush(c);
        if (!piece) return false;
        const int length = xcb_get_property_value_length(piece.get());
        if (length == 0) return true;
        text.append(static_cast<const char*>(xcb_get_property_value(piece.get())),
                    static_cast<size_t>(length));
    }
    return false;
}

void X11DragBackend::nudgePointer() {
    if (!connection_) return;
    // One pixel back towards the screen's inside, so the move is never clamped away.
    const int16_t dx = lastX_ > 0 ? -1 : 1;
    xcb_warp_pointer(connection_.get(), XCB_NONE, XCB_NONE, 0, 0, 0, 0, dx, 0);
    xcb_flush(connection_.get());
}

}  // namespace tavrino
