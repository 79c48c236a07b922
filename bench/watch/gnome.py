#!/usr/bin/python3
"""The drag watcher on a headless GNOME Shell Wayland session with the drag reporter: the
watcher's CPU while nothing is dragged, and the delay from Shift pressed mid-drag (a native
Wayland source) to the wheel's first paint. Run by run.sh after the X11 figures.
usage: gnome.py HARNESS [--idle S] [--drags N]"""

import argparse
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e"))
import gnome_e2e  # noqa: E402
import gnome_session  # noqa: E402
import xsession  # noqa: E402

GOAL_MS = 50
IDLE_GOAL_PERCENT = 0.5


def measure(harness_path, idle, drags):
    work = xsession.new_workdir()
    files = [os.path.join(work, "a.png"), os.path.join(work, "b.png")]
    for path in files:
        xsession.write_png(path)
    with gnome_session.GnomeSession(os.path.join(work, "session")) as session:
        xcb = {"QT_QPA_PLATFORM": "xcb"}
        idler = session.start([harness_path, os.path.join(work, "idle.log"), "--companion",
                               "--idle-seconds", str(idle)], xcb)
        cpu = float(idler.wait_line("idle ", idle + 20).split()[3])
        harness = session.start([harness_path, os.path.join(work, "drag.log"), "--companion"],
                                xcb)
        session.start([sys.executable, os.path.join(gnome_e2e.HERE, "wayland_drag_window.py"),
                       *files], {"GDK_BACKEND": "wayland"})
        time.sleep(0.5)
        delays = []
        for _ in range(drags):
            session.move_to(*gnome_e2e.DRAG_AT)
            time.sleep(0.2)
            session.button(True)
            time.sleep(0.05)
            session.glide(gnome_e2e.WHEEL_AT)
            time.sleep(0.15)
            delay, _, _ = gnome_e2e.press_shift_until_shown(session, harness)
            delays.append(delay * 1000)
            # Let go over the hub: the drop is refused and the wheel fades.
            session.button(False)
            session.shift(False)
            time.sleep(1.0)
    return 100 * cpu / idle, delays


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("harness")
    parser.add_argument("--idle", type=int, default=30)
    parser.add_argument("--drags", type=int, default=7)
    args = parser.parse_args()
    try:
        status = gnome_session.enter_private_namespace()
        if status is not None:
            return status
        idle, delays = measure(args.harness, args.idle, args.drags)
    except xsession.Skip as reason:
        print(f"GNOME Wayland: skipped: {reason}")
        return 0
    median = statistics.median(delays)
    print(f"GNOME Wayland, idle over {args.idle} s: watcher {idle:.3f} % of one core "
          f"(goal <= {IDLE_GOAL_PERCENT} %, ratio to goal {idle / IDLE_GOAL_PERCENT:.2f})")
    print(f"GNOME Wayland, Shift to wheel painted, {len(delays)} drags: median {median:.1f} ms, "
          f"max {max(delays):.1f} ms (goal {GOAL_MS} ms, ratio to goal {median / GOAL_MS:.2f}); "
          "all: " + ", ".join(f"{d:.1f}" for d in delays))
    return 0


if __name__ == "__main__":
    sys.exit(main())
