#!/usr/bin/python3
"""End to end under Xvfb: three pictures dragged out of a Qt source with Alt held open the
tools wheel; the drop on the crop petal closes the wheel and opens one crop window, for the
first picture only. xdotool drags the bottom-right corner and the left edge, presses Return,
and the file "name 자름.png" has exactly the pixel size the label showed; a second drop
closed with Esc writes nothing.
With "unreadable", the dropped picture is damaged: the log says "자르기 창 열기 실패: ..." and
no window opens.

usage: crop_e2e.py window|unreadable HARNESS QT_SOURCE
Exit status 77 (skipped) when Xvfb or xdotool is missing."""

import os
import shutil
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession  # noqa: E402
from drag_e2e import log_lines, wait_until  # noqa: E402


def png_size(path):
    with open(path, "rb") as handle:
        header = handle.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG"
    return struct.unpack(">II", header[16:24])


def drop_on_crop(session, harness):
    xsession.drop_on_petal(session, harness, "tool(crop)", key="alt")
    _, cx, cy, width, height, name = harness.wait_line("crop-window ", 5).split(" ", 5)
    return (int(cx), int(cy), int(width), int(height)), name


def hand_drag(session, start, end):
    session.xdotool("mousemove", *start)
    time.sleep(0.1)
    session.xdotool("mousedown", 1)
    xsession.glide(session, start, end, steps=6)
    time.sleep(0.1)
    session.xdotool("mouseup", 1)
    time.sleep(0.1)


def run(kind, harness_path, qt_source):
    work = xsession.new_workdir()
    try:
        sources = [os.path.join(work, name) for name in ("사진.png", "b.png", "c.png")]
        for path in sources:
            xsession.write_png(path, 400, 300)
        if kind == "unreadable":
            with open(sources[0], "r+b") as handle:
                handle.truncate(60)  # the header survives, the pixels do not
        log = os.path.join(work, "Tavrino.log")
        with xsession.XSession() as session:
            harness = session.start([harness_path, log])
            source = session.start([qt_source, *sources])
            try:
                if kind == "unreadable":
                    check_unreadable(session, harness, work, log)
                else:
                    check(session, harness, work, log)
            except AssertionError:
                print(f"harness said: {harness.seen[-10:]}\nsource said: {source.seen[-10:]}\n"
                      f"log: {log_lines(log)}")
                raise
    finally:
        shutil.rmtree(work, ignore_errors=True)


def check(session, harness, work, log):
    (x, y, width, height), name = drop_on_crop(session, harness)
    assert name == "사진.png", name
    wait_until(lambda: not session.visible_windows("tavrino-wheel"), 5, "the wheel to go")
    wait_until(lambda: session.visible_windows("자르기 — 사진.png"), 5, "the crop window")
    time.sleep(0.5)
    assert len(session.visible_windows("자르기")) == 1, "more than one crop window"
    opened = [line for line in harness.drain() if line.startswith("crop-window ")]
    assert len(opened) == 1, f"{len(opened)} crop windows opened"

    # A 400 × 300 picture is drawn 1:1, centred in the canvas.
    left, top = x + (width - 400) // 2, y + (height - 300) // 2
    hand_drag(session, (left + 400, top + 300), (left + 300, top + 250))
    hand_drag(session, (left, top + 125), (left + 40, top + 125))
    time.sleep(0.2)
    labels = [line for line in harness.drain() if line.startswith("crop-label ")]
    assert labels, "the label never changed"
    shown = labels[-1][len("crop-label "):]
    print(f"crop: label {shown!r} after {len(labels)} changes")

    session.xdotool("key", "Return")
    output = os.path.join(work, "사진 자름.png")
    wait_until(lambda: os.path.exists(output), 10, "the cropped file")
    written = png_size(output)
    assert shown == f"{written[0]} × {written[1]} px", (shown, written)
    assert written == (260, 250), written
    wait_until(lambda: not session.visible_windows("자르기"), 5, "the crop window to close")
    lines = log_lines(log)
    assert "자르기 완료: 사진.png -> 사진 자름.png 260x250" in lines, lines

    # Esc closes a second window without writing anything.
    drop_on_crop(session, harness)
    wait_until(lambda: session.visible_windows("자르기 — 사진.png"), 5, "the second window")
    time.sleep(0.3)
    session.xdotool("key", "Escape")
    wait_until(lambda: not session.visible_windows("자르기"), 5, "Esc to close the window")
    time.sleep(0.5)
    names = sorted(os.listdir(work))
    assert names == sorted(["Tavrino.log", "b.png", "c.png", "사진.png", "사진 자름.png"]), names
    print(f"crop: ok; log: {log_lines(log)}")


def check_unreadable(session, harness, work, log):
    # The menu judges by name and kind; only opening the picture finds the damage.
    xsession.drop_on_petal(session, harness, "tool(crop)", key="alt")
    wait_until(lambda: any(line.startswith("자르기 창 열기 실패: 사진.png: ")
                           for line in log_lines(log)), 5, "the failure line")
    time.sleep(0.5)
    assert not session.visible_windows("자르기"), "a crop window opened"
    assert not any(line.startswith("crop-window ") for line in harness.drain())
    assert sorted(os.listdir(work)) == sorted(["Tavrino.log", "b.png", "c.png", "사진.png"])
    print(f"unreadable: ok; log: {log_lines(log)}")


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("window", "unreadable"):
        print(__doc__)
        return 2
    try:
        run(sys.argv[1], sys.argv[2], sys.argv[3])
    except xsession.Skip as reason:
        print(f"skipped: {reason}")
        return xsession.SKIP
    return 0


if __name__ == "__main__":
    sys.exit(main())
