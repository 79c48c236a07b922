#!/usr/bin/python3
"""Many drops in a row into the running tray application under Xvfb: a Qt drag source holds
a PNG, xdotool drags it out, presses Shift until the wheel shows and drops on a conversion
petal, as a person would, again and again (the petals taken in turn). Prints resident
memory, threads, open files and child processes of the application at the start and at
each checkpoint, then checks that the memory stayed flat after the first drops, that no
thread, child process or open file stayed behind, that every drop wrote its file, and
that nothing but the outputs appeared beside the source or in the temporary folder.

usage: soak.py TAVRINO QT_SOURCE CLI [--drops N] [--every N] [--growth-mb MB]
Runs itself inside dbus-run-session when no session bus is set, as on a desktop.
Exit status 77 (skipped) when Xvfb, xdotool or dbus-run-session is missing."""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import xsession  # noqa: E402

# Memory taken by the first drops (libraries loaded, caches filled) is no leak; growth is
# measured from this drop on.
WARM = 5


def proc_status(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    return fields


def children(pid):
    found = []
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/children") as f:
                found += f.read().split()
        except FileNotFoundError:
            pass
    return found


def sample(pid, drops):
    status = proc_status(pid)
    # Resident memory counts mapped library pages too, which the kernel drops and reloads as
    # memory runs short; the anonymous part (heap, stacks) is where a leak shows.
    return dict(drops=drops, rss_kb=int(status["VmRSS"].split()[0]),
                anon_kb=int(status["RssAnon"].split()[0]), threads=int(status["Threads"]),
                fds=len(os.listdir(f"/proc/{pid}/fd")), children=len(children(pid)))


def print_sample(s):
    print(f"| {s['drops']} | {s['rss_kb'] / 1024:.1f} | {s['anon_kb'] / 1024:.1f} | {s['threads']} | "
          f"{s['fds']} | {s['children']} |", flush=True)


class App:
    """The tray application's output lines, each checked once."""

    def __init__(self, process):
        self.process = process

    def wait_for(self, text, timeout, failure=None):
        line = self.process.wait_match(lambda line: text in line or bool(failure and failure in line),
                                       timeout, f"no line with {text!r}")
        if failure and failure in line:
            raise AssertionError(f"the drop failed: {line}")
        return line


def wheel_visible(session, pid):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                           env=session.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           text=True)
    return bool(found.stdout.split())


def wait_until(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.03)


def one_drop(session, app, pid, items, item, work, output):
    xsession.start_drag(session)
    session.xdotool("keydown", "shift")
    app.wait_for("변환 메뉴 표시", 5)
    wait_until(lambda: wheel_visible(session, pid), 5, "the wheel to show")
    time.sleep(0.1)  # the wheel has painted and takes the drop
    xsession.glide(session, (640, 512), xsession.petal_point((640, 512), items, item))
    time.sleep(0.1)
    session.xdotool("mouseup", 1)
    session.xdotool("keyup", "shift")
    app.wait_for(" 완료: ", 30, failure=" 실패: ")
    wait_until(lambda: os.path.exists(output), 5, output)
    os.remove(output)
    wait_until(lambda: not wheel_visible(session, pid), 10, "the wheel to fade out")


def environment(work):
    config = os.path.join(work, "config")
    os.makedirs(os.path.join(config, "tavrino"))
    with open(os.path.join(config, "tavrino", "tavrino.ini"), "w") as ini:
        ini.write("[General]\nwelcomeShown=true\nstartAtLogin=false\n")
    tmp = os.path.join(work, "tmp")
    os.makedirs(tmp)
    # Qt makes a runtime folder in TMPDIR when the session names none.
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700)
    return dict(XDG_CONFIG_HOME=config, XDG_STATE_HOME=os.path.join(work, "state"),
                XDG_CACHE_HOME=os.path.join(work, "cache"), XDG_RUNTIME_DIR=runtime, TMPDIR=tmp)


def soak(args):
    work = xsession.new_workdir()
    try:
        files = os.path.join(work, "files")
        os.makedirs(files)
        source = os.path.join(files, "사진.png")
        xsession.write_png(source, 320, 240)
        with open(source, "rb") as f:
            original = f.read()
        menu = subprocess.run([args.cli, "menu", source], stdout=subprocess.PIPE, text=True,
                              check=True).stdout.split()
        cycle = [item for item in ("convert(jpg)", "convert(webp)", "convert(bmp)") if item in menu]
        assert cycle, f"no conversion petal for a PNG: {menu}"
        extra = environment(work)
        with xsession.XSession() as session:
            session.env.update(extra)
            app_process = xsession.Process([args.tavrino], session.env)
            session.children.append(app_process)
            app = App(app_process)
            app.wait_for("Tavrino 시작", 20)
            session.start([args.qt_source, source])
            pid = app_process.popen.pid
            time.sleep(0.5)
            samples = [sample(pid, 0)]
            print("| drops | resident MB | of it anonymous MB | threads | open files | child processes |")
            print("|---|---|---|---|---|---|")
            print_sample(samples[0])
            started = time.monotonic()
            for drop in range(1, args.drops + 1):
                item = cycle[drop % len(cycle)]
                output = os.path.join(files, "사진." + item[len("convert("):-1])
                try:
                    one_drop(session, app, pid, menu, item, work, output)
                except AssertionError:
                    print(f"drop {drop} ({item}) failed; app said: {app_process.seen[-10:]}")
                    raise
                if drop == WARM or drop % args.every == 0 or drop == args.drops:
                    time.sleep(0.3)  # the run's threads have finished
                    samples.append(sample(pid, drop))
                    print_sample(samples[-1])
            seconds = time.monotonic() - started
            left_beside = sorted(set(os.listdir(files)) - {"사진.png"})
            # Run from the build tree, the application keeps its log in TMPDIR on purpose.
            left_tmp = sorted(set(os.listdir(extra["TMPDIR"])) - {f"tavrino-run-{pid}"})
            alive = app_process.popen.poll() is None
        print(f"soak: {args.drops} drops in {seconds:.0f} s ({seconds / args.drops:.2f} s a drop)")
        return judge(args, samples, left_beside, left_tmp, alive,
                     open(source, "rb").read() == original)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def judge(args, samples, left_beside, left_tmp, alive, source_kept):
    warm = next(s for s in samples if s["drops"] >= min(WARM, args.drops))
    last = samples[-1]
    growth = (last["anon_kb"] - warm["anon_kb"]) / 1024
    print(f"soak: anonymous resident memory {samples[0]['anon_kb'] / 1024:.1f} MB at start, "
          f"{warm['anon_kb'] / 1024:.1f} MB after {warm['drops']} drops, "
          f"{last['anon_kb'] / 1024:.1f} MB after {last['drops']}: {growth:+.1f} MB")
    faults = []
    if growth > args.growth_mb:
        faults.append(f"anonymous memory grew {growth:.1f} MB after drop {warm['drops']}")
    if last["threads"] > warm["threads"]:
        faults.append(f"threads: {warm['threads']} after drop {warm['drops']}, {last['threads']} at the end")
    if last["fds"] > warm["fds"]:
        faults.append(f"open files: {warm['fds']} after drop {warm['drops']}, {last['fds']} at the end")
    if last["children"]:
        faults.append(f"{last['children']} child processes left")
    if left_beside:
        faults.append(f"left beside the source: {left_beside}")
    if left_tmp:
        faults.append(f"left in TMPDIR: {left_tmp}")
    if not alive:
        faults.append("the application ended during the run")
    if not source_kept:
        faults.append("the source changed")
    for fault in faults:
        print("soak: FAULT: " + fault)
    return 1 if faults else 0


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("tavrino")
    parser.add_argument("qt_source")
    parser.add_argument("cli")
    parser.add_argument("--drops", type=int, default=1000)
    parser.add_argument("--every", type=int, default=500, help="a checkpoint every N drops")
    parser.add_argument("--growth-mb", type=float, default=8.0,
                        help="resident memory allowed to grow after the first drops")
    args = parser.parse_args()
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        if shutil.which("dbus-run-session") is None:
            print("skipped: dbus-run-session is not installed")
            return xsession.SKIP
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    try:
        return soak(args)
    except xsession.Skip as reason:
        print(f"skipped: {reason}")
        return xsession.SKIP


if __name__ == "__main__":
    sys.exit(main())
