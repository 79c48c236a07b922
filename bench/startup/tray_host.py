#!/usr/bin/env python3
"""Start-up time and idle memory of the tray application.

Plays the desktop's tray host (org.kde.StatusNotifierWatcher) on the session bus, starts
the installed `tavrino` several times and takes, for each start, the time from launching
the process to the tray item registering with the host, then the resident memory after the
program has sat idle. Run it inside a display and a session bus of its own:

    dbus-run-session -- xvfb-run -a python3 bench/startup/tray_host.py PROGRAM [RUNS]
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
IDLE_SECONDS = 2.0
INTROSPECTION = f"""<node>
  <interface name="{WATCHER}">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  </interface>
  <interface name="org.freedesktop.DBus.Properties">
    <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="v" direction="out"/></method>
    <method name="GetAll"><arg type="s" direction="in"/><arg type="a{{sv}}" direction="out"/></method>
  </interface>
</node>"""


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        self.name = dbus.service.BusName(WATCHER, bus)
        super().__init__(bus, "/StatusNotifierWatcher")
        self.registered_at = None

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierItem(self, service):
        self.registered_at = time.monotonic()

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    # Qt reads the host's properties through an introspected interface, and dbus-python's
    # own introspection leaves properties out.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return INTROSPECTION

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        return self.GetAll(interface)[prop]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {
            "IsStatusNotifierHostRegistered": dbus.Boolean(True),
            "ProtocolVersion": dbus.Int32(0),
            "RegisteredStatusNotifierItems": dbus.Array([], signature="s"),
        }


def wait_until(loop_context, predicate, seconds):
    deadline = time.monotonic() + seconds
    while not predicate() and time.monotonic() < deadline:
        loop_context.iteration(False)
        time.sleep(0.001)
    return predicate()


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return None


def one_start(program, watcher, context):
    with tempfile.TemporaryDirectory() as home:
        config = os.path.join(home, "config", "tavrino")
        os.makedirs(config)
        with open(os.path.join(config, "tavrino.ini"), "w") as ini:
            ini.write("[General]\nwelcomeShown=true\n")
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_STATE_HOME=os.path.join(home, "state"))
        env.pop("QT_QPA_PLATFORM", None)
        watcher.registered_at = None
        started = time.monotonic()
        process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            if not wait_until(context, lambda: watcher.registered_at is not None, 10):
                raise SystemExit("the tray item never registered with the tray host")
            startup_ms = (watcher.registered_at - started) * 1000
            wait_until(context, lambda: False, IDLE_SECONDS)
            return startup_ms, rss_kib(process.pid) / 1024
        finally:
            process.terminate()
            process.wait()


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    DBusGMainLoop(set_as_default=True)
    watcher = Watcher(dbus.SessionBus())
    context = GLib.MainContext.default()
    results = [one_start(program, watcher, context) for _ in range(runs)]
    startup = statistics.median(r[0] for r in results)
    memory = statistics.median(r[1] for r in results)
    print(f"runs\t{runs}")
    print(f"startup_ms_median\t{startup:.0f}\tgoal 300\tratio {startup / 300:.2f}")
    print(f"startup_ms_all\t" + " ".join(f"{r[0]:.0f}" for r in results))
    print(f"idle_rss_mb_median\t{memory:.1f}\tgoal 80\tratio {memory / 80:.2f}")


if __name__ == "__main__":
    main()
