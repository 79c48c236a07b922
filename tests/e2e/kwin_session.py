"""A private headless KWin (Plasma 5.27, Wayland, virtual output, XWayland) with Tavrino's
drag reporter effect loaded, and a hand driven through KWin's fake input protocol. Shared by
the KWin end-to-end test and bench/watch.

Like the GNOME session it runs in a mount and network namespace of its own (see
wayland_session)."""

import glob
import os
import shutil
import subprocess

import wayland_session

MONITOR = (1280, 800)
KEY_LEFTSHIFT = 42  # evdev codes, as the fake input protocol takes them
BTN_LEFT = 0x110
EFFECT = "tavrino_kwin_drag"
BUS_NAME = "app.korvanta.tavrino.DragReporter"


def enter_private_namespace():
    return wayland_session.enter_private_namespace(
        ("kwin_wayland", "dbus-daemon", "unshare", "Xwayland"))


class KwinSession(wayland_session.WaylandSession):
    def _start(self, work, plugin_dir, fake_input):
        import gi
        gi.require_version("Gio", "2.0")
        from gi.repository import Gio, GLib
        self.Gio, self.GLib = Gio, GLib
        wayland_session.hide_machine_services()
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(os.path.join(home, ".config"))
        os.makedirs(runtime, mode=0o700)
        with open(os.path.join(home, ".config", "kwinrc"), "w") as rc:
            rc.write(f"[Plugins]\n{EFFECT}Enabled=true\n")
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY",
                                 wayland_session.NAMESPACE_MARK, "DBUS_SESSION_BUS_ADDRESS",
                                 "QT_QPA_PLATFORM", "QT_PLUGIN_PATH")}
        self.env.update(HOME=home, XDG_RUNTIME_DIR=runtime, XDG_SESSION_TYPE="wayland",
                        XDG_CURRENT_DESKTOP="KDE", NO_AT_BRIDGE="1")
        session = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                   env=self.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True)
        self.children.append(session)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = session.stdout.readline().strip()

        # Debian gives kwin_wayland a file capability, which a container may not grant: a
        # copy without it runs the same.
        kwin = os.path.join(work, "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), kwin)
        # The effect is found beside the build's other plugins; the fake input protocol is
        # offered to the test's hand only with KWin's permission checks off.
        kwin_env = dict(self.env, QT_PLUGIN_PATH=os.path.abspath(
            os.path.join(plugin_dir, "..", "..", "..")), KWIN_WAYLAND_NO_PERMISSION_CHECKS="1")
        self.compositor_log = open(os.path.join(work, "kwin.log"), "w")
        self.children.append(subprocess.Popen(
            [kwin, "--virtual", "--xwayland", "--width", str(MONITOR[0]), "--height",
             str(MONITOR[1]), "--socket", "wayland-0"], env=kwin_env,
            stdin=subprocess.DEVNULL, stdout=self.compositor_log, stderr=subprocess.STDOUT))

        self.bus = Gio.DBusConnection.new_for_address_sync(
            self.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
            Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        wayland_session.wait_until(self.reporter_answers, 40, "the drag reporter on the bus")
        self.env["WAYLAND_DISPLAY"] = "wayland-0"
        sockets = wayland_session.wait_until(lambda: glob.glob("/tmp/.X11-unix/X*"), 20,
                                           "XWayland")
        self.env["DISPLAY"] = ":" + sockets[0].rsplit("X", 1)[1]
        auth = glob.glob(os.path.join(runtime, "xauth_*"))
        if auth:
            self.env["XAUTHORITY"] = auth[0]
        self.hand = subprocess.Popen([fake_input], env=self.env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=self.compositor_log, text=True,
                                     bufsize=1)
        self.children.append(self.hand)
        if self.hand.stdout.readline().strip() != "ready":
            raise AssertionError("the fake input hand did not start")
        self.position = (0, 0)
        self._tell("abs 0 0")

    def reporter_answers(self):
        reply = self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                   "org.freedesktop.DBus", "NameHasOwner",
                                   self.GLib.Variant("(s)", (BUS_NAME,)), None,
                                   self.Gio.DBusCallFlags.NONE, 2000, None)
        return reply.unpack()[0]

    def _tell(self, command):
        # The hand answers once the compositor has taken the command.
        self.hand.stdin.write(command + "\n")
        self.hand.stdin.flush()
        if self.hand.stdout.readline().strip() != "ok":
            raise AssertionError(f"the compositor did not take {command!r}")

    # The hand, as gnome_session.GnomeSession offers it.
    def move_to(self, x, y):
        self.position = (x, y)
        self._tell(f"abs {x} {y}")

    def button(self, down):
        self._tell(f"button {BTN_LEFT} {int(down)}")

    def shift(self, down):
        self._tell(f"key {KEY_LEFTSHIFT} {int(down)}")
