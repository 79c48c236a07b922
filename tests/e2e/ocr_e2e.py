#!/usr/bin/python3
"""End to end under Xvfb: a screenshot with two lines of Korean and English text is dragged
out of the Qt source with Alt held and dropped on the text-extraction petal. The file
"name 글자.txt" is written beside it with the two lines, the same text is on the clipboard
once the wheel has faded (read back with xclip, as another program would paste it), and the
log line counts the characters and says they were copied.

usage: ocr_e2e.py HARNESS QT_SOURCE
Exit status 77 (skipped) when Xvfb, xdotool, xclip, pango-view or the Korean font is
missing."""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession  # noqa: E402
from drag_e2e import log_lines, wait_until  # noqa: E402

LINES = ["파일을 저장하려면 확인을 누르세요", "Tavrino 다운로드 완료"]
FONT = "NanumGothic"


def render_screenshot(path):
    xsession.require("pango-view")
    xsession.require("fc-list")
    fonts = subprocess.run(["fc-list", ":family=" + FONT], stdout=subprocess.PIPE,
                           text=True).stdout
    if not fonts.strip():
        raise xsession.Skip(f"the font {FONT} is not installed")
    subprocess.run(["pango-view", "-q", "--dpi=72", "--margin=16", f"--font={FONT} 20",
                    "--text=" + "\n".join(LINES), "-o", path], check=True)


def clipboard_text(session):
    done = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=session.env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=5)
    return done.stdout.decode("utf-8", errors="replace") if done.returncode == 0 else None


def run(harness_path, qt_source):
    xsession.require("xclip")
    work = xsession.new_workdir()
    try:
        shot = os.path.join(work, "화면 캡처.png")
        render_screenshot(shot)
        before = open(shot, "rb").read()
        log = os.path.join(work, "Tavrino.log")
        with xsession.XSession() as session:
            harness = session.start([harness_path, log])
            source = session.start([qt_source, shot])
            try:
                check(session, harness, work, log)
            except AssertionError:
                print(f"harness said: {harness.seen[-10:]}\nsource said: {source.seen[-10:]}\n"
                      f"log: {log_lines(log)}")
                raise
        assert open(shot, "rb").read() == before, "the screenshot changed"
    finally:
        shutil.rmtree(work, ignore_errors=True)


def check(session, harness, work, log):
    xsession.drop_on_petal(session, harness, "tool(extractText)", key="alt")
    output = os.path.join(work, "화면 캡처 글자.txt")
    wait_until(lambda: any(line.startswith("글자 추출 완료: ") for line in log_lines(log)), 30,
               "the extraction's log line")
    wait_until(lambda: not session.visible_windows("tavrino-wheel"), 10,
               "the wheel to fade out")
    assert os.path.exists(output), os.listdir(work)
    with open(output, encoding="utf-8") as handle:
        written = handle.read()
    assert written.splitlines() == LINES, written

    # The clipboard is set on the main thread after the run; give it a moment, then it
    # must hold exactly what the file holds, and keep holding it.
    deadline = time.monotonic() + 5
    pasted = clipboard_text(session)
    while pasted != written and time.monotonic() < deadline:
        time.sleep(0.1)
        pasted = clipboard_text(session)
    assert pasted == written, (pasted, written)
    time.sleep(0.5)
    assert clipboard_text(session) == written, "the clipboard lost the text"

    count = len("\n".join(LINES))  # precomposed syllables: one code point each
    lines = log_lines(log)
    expected = f"글자 추출 완료: 화면 캡처.png -> 화면 캡처 글자.txt ({count}자 · 복사됨)"
    assert any(line.startswith(expected) for line in lines), (expected, lines)
    assert sorted(os.listdir(work)) == sorted(["Tavrino.log", "화면 캡처.png",
                                               "화면 캡처 글자.txt"]), os.listdir(work)
    print(f"ocr: ok; clipboard {pasted!r}; log: {lines}")


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    try:
        run(sys.argv[1], sys.argv[2])
    except xsession.Skip as reason:
        print(f"skipped: {reason}")
        return xsession.SKIP
    return 0


if __name__ == "__main__":
    sys.exit(main())
