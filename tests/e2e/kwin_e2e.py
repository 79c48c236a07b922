#!/usr/bin/python3
"""End to end under a headless KWin on Wayland: the GNOME test's two drags (see gnome_e2e),
with Tavrino's drag reporter effect inside KWin and KWin's fake input protocol as the hand.
A native Wayland window drags two PNG files; Shift mid-drag opens the wheel at the pointer
and the drop on the JPG petal converts both; the same drag without Shift opens nothing and
its drop reaches the window under the pointer.

usage: kwin_e2e.py HARNESS EFFECT_DIR FAKE_INPUT
Exit status 77 (skipped) when KWin, XWayland or GTK for Python is missing, or the test
cannot have a private mount namespace."""

import os
import shutil
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gnome_e2e  # noqa: E402
import kwin_session  # noqa: E402
import xsession  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def run(harness_path, effect_dir, fake_input):
    work = xsession.new_workdir()
    try:
        for name in ("사진 1.png", "b.png"):
            xsession.write_png(os.path.join(work, name))
        log = os.path.join(work, "Tavrino.log")
        with kwin_session.KwinSession(os.path.join(work, "session"), effect_dir,
                                      fake_input) as session:
            try:
                harness = session.start([harness_path, log, "--companion"],
                                        {"QT_QPA_PLATFORM": "xcb"})
                assert "companion silent" not in harness.drain(), "the reporter is not on the bus"
                window = session.start(
                    [sys.executable, os.path.join(HERE, "wayland_drag_window.py"),
                     os.path.join(work, "사진 1.png"), os.path.join(work, "b.png")],
                    {"GDK_BACKEND": "wayland"})
                time.sleep(0.5)  # maximized and painted
                gnome_e2e.convert_with_shift(session, harness, window, work, log, "kwin")
                time.sleep(1)  # the wheel fades out
                gnome_e2e.plain_drag_is_left_alone(session, harness, window, work, log, "kwin")
            except AssertionError:
                with open(session.kwin_log.name, encoding="utf-8", errors="replace") as kwin:
                    print("kwin said:", kwin.read()[-3000:])
                raise
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    try:
        status = kwin_session.enter_private_namespace()
        if status is not None:
            return status
        # A test runner's timeout ends this copy; KWin and the bus go with it.
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


if __name__ == "__main__":
    sys.exit(main())
