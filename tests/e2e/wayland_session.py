"""What the headless compositor sessions of the Wayland end-to-end tests share (GNOME Shell
in gnome_session, KWin in kwin_session): running in a mount and network namespace of their
own, so XWayland's display and the buses are private, and the children, the log and the
glide of the hand."""

import os
import subprocess
import sys
import time

import xsession

NAMESPACE_MARK = "TAVRINO_PRIVATE_SESSION"


def enter_private_namespace(programs):
    """Runs this script again in namespaces of its own; returns its exit status, or None
    when this already is the private copy."""
    if os.environ.get(NAMESPACE_MARK) == "1":
        return None
    for program in programs:
        xsession.require(program)
    if os.geteuid() != 0:
        raise xsession.Skip("a private mount namespace needs root")
    env = dict(os.environ, **{NAMESPACE_MARK: "1"})
    return subprocess.call(["unshare", "--mount", "--net", sys.executable, *sys.argv], env=env)


def hide_machine_services():
    if os.path.isdir("/run/systemd"):
        subprocess.run(["mount", "-t", "tmpfs", "tmpfs", "/run/systemd"], check=True)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "mode=1777", "tmpfs", "/tmp/.X11-unix"],
                   check=True)


def wait_until(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


class WaylandSession:
    """A subclass starts the compositor in _start(work, ...), sets `env` for the clients,
    `compositor_log` and the starting `position`, and gives move_to, button and shift."""

    def __init__(self, work, *args, **kwargs):
        self.children = []
        self.compositor_log = None
        try:
            self._start(work, *args, **kwargs)
        except BaseException:
            self.close()
            raise

    def glide(self, end, steps=8, pause=0.016):
        start = self.position
        for i in range(1, steps + 1):
            self.move_to(round(start[0] + (end[0] - start[0]) * i / steps),
                         round(start[1] + (end[1] - start[1]) * i / steps))
            time.sleep(pause)

    def start(self, args, env=None, ready="ready", timeout=15):
        child = xsession.Process(args, dict(self.env, **(env or {})))
        self.children.append(child)
        child.wait_line(ready, timeout)
        return child

    def close(self):
        for child in reversed(self.children):
            if isinstance(child, xsession.Process):
                child.stop()
            elif child.poll() is None:
                child.terminate()
                try:
                    child.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    child.kill()
        if self.compositor_log:
            self.compositor_log.close()

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()
