"""A private X server with the drag harness and a drag source on it, and the moves of a
person dragging files with xdotool. Shared by the end-to-end tests and bench/watch."""

import math
import os
import queue
import shutil
import struct
import subprocess
import tempfile
import threading
import time
import zlib

SKIP = 77  # ctest's SKIP_RETURN_CODE
SCREEN = (1280, 1024)


class Skip(Exception):
    pass


def require(program):
    if shutil.which(program) is None:
        raise Skip(f"{program} is not installed")


def gradient(x, y):
    return (x * 15 % 256, y * 20 % 256, 128)


def write_png(path, width=16, height=12, colour=gradient):
    """A real RGB PNG, so the conversions have a picture to read; colour(x, y) gives each
    pixel (a small gradient unless told)."""
    rows = b"".join(b"\x00" + b"".join(bytes(colour(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


class Process:
    """A child whose output lines are collected by a thread, so waits can time out."""

    def __init__(self, args, env):
        self.popen = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                      text=True, encoding="utf-8", errors="replace")
        self.lines = queue.Queue()
        self.seen = []
        for pipe in (self.popen.stdout, self.popen.stderr):
            threading.Thread(target=self._read, args=(pipe,), daemon=True).start()

    def _read(self, pipe):
        for line in pipe:
            self.lines.put((time.monotonic(), line.rstrip("\n")))

    def wait_line(self, prefix, timeout):
        """The first line (after those already taken) that starts with prefix."""
        return self.wait_match(lambda line: line.startswith(prefix), timeout,
                               f"no line starting {prefix!r}")

    def wait_match(self, wanted, timeout, what):
        """The first line (after those already taken) for which wanted(line) holds."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError(f"{what} within {timeout} s; saw {self.seen[-15:]}")
            try:
                _, line = self.lines.get(timeout=left)
            except queue.Empty:
                continue
            self.seen.append(line)
            if wanted(line):
                return line

    def drain(self):
        """Takes every line printed so far into `seen`."""
        while not self.lines.empty():
            self.seen.append(self.lines.get()[1])
        return self.seen

    def stop(self):
        if self.popen.poll() is None:
            self.popen.terminate()
            try:
                self.popen.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.popen.kill()
                self.popen.wait()


class XSession:
    """Xvfb without a window manager, torn down with everything started on it."""

    def __init__(self):
        require("Xvfb")
        require("xdotool")
        read_fd, write_fd = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.server.kill()
            raise Skip("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=f":{number}", QT_QPA_PLATFORM="xcb")
        for name in ("WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "GDK_SCALE"):
            self.env.pop(name, None)
        self.children = []

    def start(self, args, ready="ready", timeout=15):
        child = Process(args, self.env)
        self.children.append(child)
        child.wait_line(ready, timeout)
        return child

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def visible_windows(self, name):
        # Windows that vanish during the search make xdotool print X errors; they say
        # nothing about the windows that remain.
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                                env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        return result.stdout.split()

    def close(self):
        for child in reversed(self.children):
            child.stop()
        self.server.terminate()
        self.server.wait(timeout=5)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()


def glide(session, start, end, steps=8, pause=0.015):
    """Moves the pointer in small steps, as a hand does; drag sources react to motion."""
    for i in range(1, steps + 1):
        x = round(start[0] + (end[0] - start[0]) * i / steps)
        y = round(start[1] + (end[1] - start[1]) * i / steps)
        session.xdotool("mousemove", x, y)
        time.sleep(pause)


def petal_point(centre, items, wanted, radius=110):
    """Where petal `wanted` lies for a wheel centred at `centre` (y down): petal 0 points
    up and the rest follow clockwise."""
    index = items.index(wanted)
    angle = math.radians(90 - 360 / len(items) * index)
    return (round(centre[0] + radius * math.cos(angle)),
            round(centre[1] - radius * math.sin(angle)))


def start_drag(session, to=(640, 512)):
    """Presses on the source window and drags to `to` without a modifier."""
    session.xdotool("mousemove", 100, 100)
    time.sleep(0.2)
    session.xdotool("mousedown", 1)
    time.sleep(0.05)
    glide(session, (100, 100), (120, 120), steps=4)
    glide(session, (120, 120), to)
    time.sleep(0.1)  # the watcher has seen the drag start


def press_shift_until_shown(session, harness, timeout=5, key="shift"):
    """Presses Shift (or `key`); returns (delay in seconds from the key press to the wheel's
    first paint, centre, items)."""
    pressed = time.monotonic()
    session.xdotool("keydown", key)
    line = harness.wait_line("shown ", timeout)
    _, when, x, y, items = line.split(" ", 4)
    return float(when) - pressed, (int(x), int(y)), items.split(",")


def drop_on_petal(session, harness, item, key="shift", when_missing=None):
    """A drag from the source to the middle of the screen, `key` held until the wheel shows,
    the drop on petal `item`; returns the petals shown. When `item` is not among them,
    `when_missing(items)` is called (a failed assertion unless told)."""
    start_drag(session)
    _, centre, items = press_shift_until_shown(session, harness, key=key)
    if item not in items:
        if when_missing:
            when_missing(items)
        raise AssertionError(f"no petal {item}: {items}")
    glide(session, (640, 512), petal_point(centre, items, item))
    time.sleep(0.15)
    session.xdotool("mouseup", 1)
    session.xdotool("keyup", key)
    return items


def new_workdir():
    return tempfile.mkdtemp(prefix="tavrino-e2e-")
