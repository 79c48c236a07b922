#!/usr/bin/python3
"""The drag watcher on headless Wayland sessions with the drag reporter: the watcher's CPU
while nothing is dragged, and the delay from Shift pressed mid-drag (a native Wayland source)
to the wheel's first paint, per compositor. Run by run.sh after the X11 figures.
usage: wayland.py gnome HARNESS [--idle S] [--drags N]
       wayland.py kwin HARNESS EFFECT_DIR FAKE_INPUT [--idle S] [--drags N]"""

import argparse
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e"))
import gnome_e2e  # noqa: E402
import gnome_session  # noqa: E402
import kwin_session  # noqa: E402
import xsession  # noqa: E402

GOAL_MS = 50
IDLE_GOAL_PERCENT = 0.5
NAMES = {"gnome": "GNOME Wayland", "kwin": "KDE Plasma (KWin) Wayland"}


STEPS = ("reported", "mapped", "entered")


def steps_from_shift(session, harness):
    """Shift mid-drag as in the end-to-end test. Returns the milliseconds from the key to
    each step the harness marks (the reporter's signal, the panel mapped, the drag entering
    it) and to the first paint."""
    delay, _, _, pressed, lines = gnome_e2e.press_shift_until_shown(session, harness)
    times = {}
    for line in lines:
        parts = line.split()
        if len(parts) == 3 and parts[0] == "step" and parts[1] in STEPS:
            times.setdefault(parts[1], (float(parts[2]) - pressed) * 1000)
    times["shown"] = delay * 1000
    return times


def open_session(args, work):
    if args.kind == "gnome":
        return gnome_session.GnomeSession(work)
    return kwin_session.KwinSession(work, args.effect_dir, args.fake_input)


def measure(args):
    work = xsession.new_workdir()
    files = [os.path.join(work, "a.png"), os.path.join(work, "b.png")]
    for path in files:
        xsession.write_png(path)
    with open_session(args, os.path.join(work, "session")) as session:
        xcb = {"QT_QPA_PLATFORM": "xcb"}
        idler = session.start([args.harness, os.path.join(work, "idle.log"), "--companion",
                               "--idle-seconds", str(args.idle)], xcb)
        cpu = float(idler.wait_line("idle ", args.idle + 20).split()[3])
        harness = session.start([args.harness, os.path.join(work, "drag.log"), "--companion"],
                                xcb)
        session.start([sys.executable, os.path.join(gnome_e2e.HERE, "wayland_drag_window.py"),
                       *files], {"GDK_BACKEND": "wayland"})
        time.sleep(0.5)
        delays = []
        for _ in range(args.drags):
            session.move_to(*gnome_e2e.DRAG_AT)
            time.sleep(0.2)
            session.button(True)
            time.sleep(0.05)
            session.glide(gnome_e2e.WHEEL_AT)
            time.sleep(0.15)
            delays.append(steps_from_shift(session, harness))
            # Let go over the hub: the drop is refused and the wheel fades.
            session.button(False)
            session.shift(False)
            time.sleep(1.0)
    return 100 * cpu / args.idle, delays


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kind", choices=sorted(NAMES))
    parser.add_argument("harness")
    parser.add_argument("effect_dir", nargs="?")
    parser.add_argument("fake_input", nargs="?")
    parser.add_argument("--idle", type=int, default=30)
    parser.add_argument("--drags", type=int, default=7)
    args = parser.parse_args()
    name = NAMES[args.kind]
    if args.kind == "kwin" and not (args.fake_input and os.path.exists(args.fake_input)):
        print(f"{name}: skipped: the KWin reporter or the fake input hand is not built")
        return 0
    try:
        enter = (gnome_session if args.kind == "gnome" else kwin_session).enter_private_namespace
        status = enter()
        if status is not None:
            return status
        idle, delays = measure(args)
    except xsession.Skip as reason:
        print(f"{name}: skipped: {reason}")
        return 0
    shown = [times["shown"] for times in delays]
    median = statistics.median(shown)
    print(f"{name}, idle over {args.idle} s: watcher {idle:.3f} % of one core "
          f"(goal <= {IDLE_GOAL_PERCENT} %, ratio to goal {idle / IDLE_GOAL_PERCENT:.2f})")
    print(f"{name}, Shift to wheel painted, {len(shown)} drags: median {median:.1f} ms, "
          f"max {max(shown):.1f} ms (goal {GOAL_MS} ms, ratio to goal {median / GOAL_MS:.2f}); "
          "all: " + ", ".join(f"{d:.1f}" for d in shown))
    # Where the time goes: the median time from Shift to each step, over the drags that
    # marked it.
    breakdown = []
    for step in (*STEPS, "shown"):
        marks = [times[step] for times in delays if step in times]
        if marks:
            breakdown.append(f"{step} {statistics.median(marks):.1f}")
    print(f"{name}, from Shift (median ms): " + ", ".join(breakdown))
    return 0


if __name__ == "__main__":
    sys.exit(main())
