// The hand for the KWin end-to-end tests: moves the pointer, presses buttons and keys through
// KWin's fake input protocol, one command a line on standard input, answering "ok" once the
// compositor has taken it ("abs X Y", "button CODE 0|1", "key CODE 0|1"; evdev codes).
// KWin offers the protocol to any client only when started with its permission checks off.

#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

#include "fake-input-client-protocol.h"

static struct org_kde_kwin_fake_input* fake;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fputs("no Wayland display\n", stderr);
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    if (!fake) {
        fputs("the compositor offers no fake input (version 4)\n", stderr);
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fake, "Tavrino tests", "drives the end-to-end drags");
    wl_display_roundtrip(display);
    puts("ready");
    fflush(stdout);
    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        double x, y;
        unsigned code, state;
        if (sscanf(line, "abs %lf %lf", &x, &y) == 2) {
            org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_double(x),
                                                            wl_fixed_from_double(y));
        } else if (sscanf(line, "button %u %u", &code, &state) == 2) {
            org_kde_kwin_fake_input_button(fake, code, state);
        } else if (sscanf(line, "key %u %u", &code, &state) == 2) {
            org_kde_kwin_fake_input_keyboard_key(fake, code, state);
        } else {
            fprintf(stderr, "not understood: %s", line);
            return 2;
        }
        if (wl_display_roundtrip(display) < 0) return 1;
        puts("ok");
        fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
