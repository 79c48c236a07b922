#!/usr/bin/python3
"""Measures the drag watcher; see run.sh. usage: watch.py HARNESS QT_SOURCE [--idle S] [--drags N]"""

import argparse
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e"))
import xsession  # noqa: E402

GOALS_MS = {"gtk": 50, "qt": 80}
IDLE_GOAL_PERCENT = 0.5


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as handle:
        fields = handle.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def measure_idle(harness, qt_source, seconds):
    """The watcher's CPU over `seconds` as it reports it from /proc/self/stat, and an idle
    Qt window's over the same time for scale."""
    work = xsession.new_workdir()
    with xsession.XSession() as session:
        watcher = session.start([harness, os.path.join(work, "idle.log"), "--idle-seconds",
                                 str(seconds)])
        window = session.start([qt_source])
        window_start = cpu_seconds(window.popen.pid)
        line = watcher.wait_line("idle ", seconds + 20)
        window_cpu = cpu_seconds(window.popen.pid) - window_start
    cpu = float(line.split()[3])
    return 100 * cpu / seconds, 100 * window_cpu / seconds


def measure_delays(kind, harness, qt_source, drags):
    work = xsession.new_workdir()
    files = [os.path.join(work, "a.png"), os.path.join(work, "b.png")]
    for path in files:
        xsession.write_png(path)
    if kind == "qt":
        source = [qt_source, *files]
    else:
        here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e")
        source = [sys.executable, os.path.join(here, "gtk_drag_source.py"), *files]
    delays = []
    with xsession.XSession() as session:
        watcher = session.start([harness, os.path.join(work, "drag.log")])
        session.start(source)
        for _ in range(drags):
            xsession.start_drag(session)
            delay, _, _ = xsession.press_shift_until_shown(session, watcher)
            delays.append(delay * 1000)
            # Let go over the hub: the drop is refused and the wheel fades.
            session.xdotool("mouseup", 1)
            session.xdotool("keyup", "shift")
            deadline = time.monotonic() + 5
            while session.visible_windows("tavrino-wheel") and time.monotonic() < deadline:
                time.sleep(0.05)
            time.sleep(0.3)
    return delays


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("harness")
    parser.add_argument("qt_source")
    parser.add_argument("--idle", type=int, default=30)
    parser.add_argument("--drags", type=int, default=7)
    args = parser.parse_args()
    try:
        watcher, window = measure_idle(args.harness, args.qt_source, args.idle)
        print(f"idle over {args.idle} s: watcher {watcher:.3f} % of one core "
              f"(goal <= {IDLE_GOAL_PERCENT} %, ratio to goal {watcher / IDLE_GOAL_PERCENT:.2f}); "
              f"an idle Qt window {window:.3f} %")
        for kind in ("gtk", "qt"):
            delays = measure_delays(kind, args.harness, args.qt_source, args.drags)
            median = statistics.median(delays)
            print(f"{kind} source, Shift to wheel painted, {len(delays)} drags: median "
                  f"{median:.1f} ms, max {max(delays):.1f} ms (goal {GOALS_MS[kind]} ms, "
                  f"ratio to goal {median / GOALS_MS[kind]:.2f}); all: "
                  + ", ".join(f"{d:.1f}" for d in delays))
    except xsession.Skip as reason:
        print(f"skipped: {reason}")
        return 0
    return 0


if __name__ == "__main__":
    sys.exit(main())
