"""A private headless GNOME Shell (Wayland, one virtual monitor, XWayland) with Tavrino's
drag reporter enabled, and a hand driven through Mutter's RemoteDesktop interface. Shared by
the GNOME end-to-end test and bench/watch.

The shell must not meet the machine's own services: it runs in a mount and network
namespace of its own, where /run/systemd is hidden (the shell then takes its path for a
machine without logind), /tmp/.X11-unix is private (XWayland's display cannot clash with
another X server) and the system and session buses are fresh ones."""

import glob
import os
import shutil
import subprocess
import time

import wayland_session
from wayland_session import NAMESPACE_MARK, hide_machine_services, wait_until

UUID = "tavrino-drag@korvanta.app"
HERE = os.path.dirname(os.path.abspath(__file__))
EXTENSION = os.path.join(HERE, "..", "..", "resources", "gnome-shell", "43")
MONITOR = (1280, 800)
KEY_LEFTSHIFT = 42  # evdev codes, as RemoteDesktop takes them
BTN_LEFT = 0x110


def enter_private_namespace():
    return wayland_session.enter_private_namespace(
        ("gnome-shell", "dbus-daemon", "gsettings", "unshare", "Xwayland"))


class GnomeSession(wayland_session.WaylandSession):
    def _start(self, work):
        import gi
        gi.require_version("Gio", "2.0")
        from gi.repository import Gio, GLib
        self.Gio, self.GLib = Gio, GLib
        hide_machine_services()
        self.work = work
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", NAMESPACE_MARK,
                                 "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM")}
        self.env.update(HOME=home, XDG_RUNTIME_DIR=runtime, XDG_SESSION_TYPE="wayland",
                        XDG_CURRENT_DESKTOP="GNOME", NO_AT_BRIDGE="1")
        system_bus = os.path.join(work, "system_bus")
        self._daemon(["dbus-daemon", "--config-file=/usr/share/dbus-1/system.conf",
                      f"--address=unix:path={system_bus}", "--nofork", "--nopidfile"])
        self.env["DBUS_SYSTEM_BUS_ADDRESS"] = f"unix:path={system_bus}"
        wait_until(lambda: os.path.exists(system_bus), 10, "the system bus")
        session = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                   env=self.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True)
        self.children.append(session)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = session.stdout.readline().strip()

        target = os.path.join(home, ".local/share/gnome-shell/extensions", UUID)
        shutil.copytree(EXTENSION, target)
        for schema, key, value in (("org.gnome.shell", "enabled-extensions", f"['{UUID}']"),
                                   ("org.gnome.desktop.interface", "enable-hot-corners",
                                    "false")):
            subprocess.run(["gsettings", "set", schema, key, value], env=self.env, check=True)
        self.compositor_log = open(os.path.join(work, "shell.log"), "w")
        self.children.append(subprocess.Popen(
            ["gnome-shell", "--headless", "--wayland", "--virtual-monitor",
             f"{MONITOR[0]}x{MONITOR[1]}"], env=self.env, stdin=subprocess.DEVNULL,
            stdout=self.compositor_log, stderr=subprocess.STDOUT))

        self.bus = Gio.DBusConnection.new_for_address_sync(
            self.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
            Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        wait_until(lambda: self.extension_state() == 1.0, 40, "the drag reporter enabled")
        # The shell opens its overview at start-up and ignores a request to close it
        # while that animation runs.
        wait_until(lambda: self._close_overview(), 20, "the overview to close")
        time.sleep(0.5)
        self.env["WAYLAND_DISPLAY"] = "wayland-0"
        sockets = wait_until(lambda: glob.glob("/tmp/.X11-unix/X*"), 20, "XWayland")
        self.env["DISPLAY"] = ":" + sockets[0].rsplit("X", 1)[1]
        auth = glob.glob(os.path.join(runtime, ".mutter-Xwaylandauth.*"))
        if auth:
            self.env["XAUTHORITY"] = auth[0]
        self.remote = self._call("org.gnome.Mutter.RemoteDesktop",
                                 "/org/gnome/Mutter/RemoteDesktop",
                                 "org.gnome.Mutter.RemoteDesktop", "CreateSession")[0]
        self._remote("Start")
        # The pointer starts anywhere: push it into the top-left corner, then count.
        self.position = (0, 0)
        self._remote("NotifyPointerMotionRelative", "(dd)", (-4000.0, -4000.0))

    def _daemon(self, args):
        self.children.append(subprocess.Popen(args, env=self.env, stdout=subprocess.DEVNULL,
                                              stderr=subprocess.DEVNULL))

    def _call(self, name, path, interface, method, signature=None, args=None):
        params = self.GLib.Variant(signature, args) if signature else None
        reply = self.bus.call_sync(name, path, interface, method, params, None,
                                   self.Gio.DBusCallFlags.NONE, 5000, None)
        return reply.unpack() if reply else ()

    def _remote(self, method, signature=None, args=None):
        self._call("org.gnome.Mutter.RemoteDesktop", self.remote,
                   "org.gnome.Mutter.RemoteDesktop.Session", method, signature, args)

    def extension_state(self):
        try:
            info = self._call("org.gnome.Shell", "/org/gnome/Shell",
                              "org.gnome.Shell.Extensions", "GetExtensionInfo", "(s)", (UUID,))
        except Exception:  # the shell is not up yet
            return None
        return info[0].get("state")

    def _overview(self):
        return self._call("org.gnome.Shell", "/org/gnome/Shell",
                          "org.freedesktop.DBus.Properties", "Get", "(ss)",
                          ("org.gnome.Shell", "OverviewActive"))[0]

    def _close_overview(self):
        self._set_overview(False)
        time.sleep(0.3)
        return not self._overview()

    def _set_overview(self, shown):
        self._call("org.gnome.Shell", "/org/gnome/Shell", "org.freedesktop.DBus.Properties",
                   "Set", "(ssv)", ("org.gnome.Shell", "OverviewActive",
                                    self.GLib.Variant("b", shown)))

    # The hand.
    def move_to(self, x, y):
        dx, dy = x - self.position[0], y - self.position[1]
        self.position = (x, y)
        self._remote("NotifyPointerMotionRelative", "(dd)", (float(dx), float(dy)))

    def button(self, down):
        self._remote("NotifyPointerButton", "(ib)", (BTN_LEFT, down))

    def shift(self, down):
        self._remote("NotifyKeyboardKeycode", "(ub)", (KEY_LEFTSHIFT, down))
