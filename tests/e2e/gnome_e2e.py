#!/usr/bin/python3
"""End to end under a headless GNOME Shell on Wayland: a native Wayland window drags two PNG
files, Shift is pressed mid-drag, the drag reporter inside the shell tells the watcher, the
wheel opens as an XWayland window centred on the pointer, the files reach it when the drag
enters it, and the drop on the JPG petal converts both beside their sources. Then the same
drag without Shift: nothing opens and the drop reaches the window under the pointer.

usage: gnome_e2e.py HARNESS
Exit status 77 (skipped) when GNOME Shell, XWayland or GTK for Python is missing, or the
test cannot have a private mount namespace."""

import os
import shutil
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gnome_session  # noqa: E402
import xsession  # noqa: E402
from drag_e2e import log_lines, wait_until  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DRAG_AT = (200, 300)  # the window's left half: the drag source
WHEEL_AT = (400, 420)
DROP_AT = (1000, 420)  # its right half: a drop target


def press_shift_until_shown(session, harness, timeout=5):
    """Presses Shift mid-drag and keeps the hand trembling by a pixel, as a hand does: the
    compositor looks for a new drop target only when the pointer moves. Returns (seconds
    from the key to the wheel's first paint, centre, items, the key's time, the harness's
    lines since the key)."""
    seen = len(harness.drain())
    pressed = time.monotonic()
    session.shift(True)
    deadline = pressed + timeout
    step = 1
    while time.monotonic() < deadline:
        time.sleep(0.016)
        step = -step
        session.move_to(session.position[0] + step, session.position[1])
        lines = harness.drain()[seen:]
        for line in lines:
            if line.startswith("shown "):
                _, when, x, y, items = line.split(" ", 4)
                return (float(when) - pressed, (int(x), int(y)), items.split(","), pressed,
                        lines)
    raise AssertionError(f"the wheel did not open; harness said {harness.seen[-10:]}")


def start_drag(session):
    """Presses on the source and glides to where the wheel will open, the drag under way."""
    session.move_to(*DRAG_AT)
    time.sleep(0.2)
    session.button(True)
    time.sleep(0.05)
    session.glide(WHEEL_AT)
    time.sleep(0.15)


def convert_with_shift(session, harness, window, work, log, name="gnome"):
    sources = [os.path.join(work, "사진 1.png"), os.path.join(work, "b.png")]
    before = {path: open(path, "rb").read() for path in sources}
    start_drag(session)
    delay, centre, items, _, _ = press_shift_until_shown(session, harness)
    print(f"{name}: wheel shown {delay * 1000:.1f} ms after Shift, centre {centre}, "
          f"petals {items}")
    assert abs(centre[0] - WHEEL_AT[0]) <= 3 and abs(centre[1] - WHEEL_AT[1]) <= 3, centre
    session.glide(xsession.petal_point(centre, items, "convert(jpg)"))
    time.sleep(0.15)
    session.button(False)
    session.shift(False)

    outputs = [os.path.join(work, "사진 1.jpg"), os.path.join(work, "b.jpg")]
    wait_until(lambda: all(os.path.exists(p) for p in outputs), 15, "the JPG files")
    for path in outputs:
        with open(path, "rb") as handle:
            assert handle.read(3) == b"\xff\xd8\xff", f"{path} is not a JPEG"
    for path, data in before.items():
        with open(path, "rb") as handle:
            assert handle.read() == data, f"the source {path} changed"
    result = window.wait_line("result", 5)
    assert "copy" in result.lower(), result
    lines = log_lines(log)
    assert "변환 메뉴 표시 (파일 정보 2개, 원본 형식 png)" in lines, lines
    assert any(line.startswith("JPG 완료: 사진 1.png -> 사진 1.jpg [") for line in lines), lines
    print(f"{name} shift: ok; log: {lines}")
    return delay


def resting_hand_gets_the_wheel(session, harness, name, shift_needs_motion=True):
    """Shift with one motion, then a hand at rest: the compositor hands the drag to a new
    window only on a motion, so the reporter nudges the pointer when the wheel maps. Where the
    reporter sees the key itself (not shift_needs_motion), the hand does not move at all."""
    seen = len(harness.drain())
    start_drag(session)
    session.shift(True)
    time.sleep(0.02)
    if shift_needs_motion:
        session.move_to(WHEEL_AT[0] + 1, WHEEL_AT[1])  # the shell reads Shift with a motion
    deadline = time.monotonic() + 3
    shown = []
    while not shown and time.monotonic() < deadline:
        time.sleep(0.05)
        shown = [line for line in harness.drain()[seen:] if line.startswith("shown ")]
    # Let go over the hub: the drop is refused and the wheel fades.
    session.button(False)
    session.shift(False)
    assert shown, f"a resting hand got no wheel; harness said {harness.seen[-10:]}"
    print(f"{name} resting hand: ok")


def plain_drag_is_left_alone(session, harness, window, work, log, name="gnome"):
    shown_before = [line for line in harness.drain() if line.startswith("shown ")]
    lines_before = len(log_lines(log))
    session.move_to(*DRAG_AT)
    time.sleep(0.2)
    session.button(True)
    time.sleep(0.05)
    session.glide(WHEEL_AT)
    session.glide(DROP_AT, steps=16)
    time.sleep(0.3)
    session.button(False)
    dropped = window.wait_line("dropped", 5)
    assert "b.png" in dropped and "%EC%82%AC%EC%A7%84%201.png" in dropped, dropped
    time.sleep(0.3)
    shown = [line for line in harness.drain() if line.startswith("shown ")]
    assert shown == shown_before, f"the wheel opened: {shown[len(shown_before):]}"
    new_lines = log_lines(log)[lines_before:]
    assert not any("메뉴" in line for line in new_lines), new_lines
    print(f"{name} plain: ok; drop reached the window: {dropped}")


def run_drags(open_session, harness_path, name, resting_hand=False, shift_needs_motion=True):
    """The drags in a fresh compositor session from open_session(folder); the one with a
    resting hand where the compositor's reporter nudges the pointer (see
    resting_hand_gets_the_wheel for shift_needs_motion)."""
    work = xsession.new_workdir()
    try:
        for file_name in ("사진 1.png", "b.png"):
            xsession.write_png(os.path.join(work, file_name))
        log = os.path.join(work, "Tavrino.log")
        with open_session(os.path.join(work, "session")) as session:
            try:
                harness = session.start([harness_path, log, "--companion"],
                                        {"QT_QPA_PLATFORM": "xcb"})
                assert "companion silent" not in harness.drain(), "the reporter is not on the bus"
                window = session.start(
                    [sys.executable, os.path.join(HERE, "wayland_drag_window.py"),
                     os.path.join(work, "사진 1.png"), os.path.join(work, "b.png")],
                    {"GDK_BACKEND": "wayland"})
                time.sleep(0.5)  # maximized and painted
                convert_with_shift(session, harness, window, work, log, name)
                time.sleep(1)  # the wheel fades out
                plain_drag_is_left_alone(session, harness, window, work, log, name)
                if resting_hand:
                    time.sleep(0.5)
                    resting_hand_gets_the_wheel(session, harness, name, shift_needs_motion)
            except AssertionError:
                with open(session.compositor_log.name, encoding="utf-8",
                          errors="replace") as said:
                    print(f"{name} said:", said.read()[-3000:])
                raise
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main_for(enter_private_namespace, arguments, run):
    """The end-to-end tests' entry: the private namespaces, a clean end on the test runner's
    time-out, and exit status 77 for what the machine lacks."""
    if len(sys.argv) != arguments + 1:
        print(sys.modules["__main__"].__doc__)
        return 2
    try:
        status = enter_private_namespace()
        if status is not None:
            return status
        # A test runner's timeout ends this copy; the compositor and the buses go with it.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
        try:
            import gi
            gi.require_version("Gtk", "3.0")
        except (ImportError, ValueError) as error:
            raise xsession.Skip(f"GTK 3 for Python is missing: {error}")
        run(*sys.argv[1:])
    except xsession.Skip as reason:
        print(f"skipped: {reason}")
        return xsession.SKIP
    return 0


def main():
    return main_for(gnome_session.enter_private_namespace, 1,
                    lambda harness: run_drags(gnome_session.GnomeSession, harness, "gnome",
                                              resting_hand=True))


if __name__ == "__main__":
    sys.exit(main())
