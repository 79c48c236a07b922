#pragma once
// Ownership of xcb's C handles: replies and events are malloc'ed by xcb and released with
// free(); a connection is released with xcb_disconnect(). Header-only, so that only the
// programs that talk to an X server link libxcb.

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace tavrino {

struct XcbFree {
    void operator()(void* pointer) const { std::free(pointer); }
};

// A reply or an event, e.g. XcbReply<xcb_query_pointer_reply_t>.
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree>;

struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using XcbConnection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

}  // namespace tavrino
