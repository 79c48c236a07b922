#!/usr/bin/env python3
"""Runs every petal the menu offers for each file of a bad-input corpus through
`tavrino-cli run`, and the bundled document tools directly, each in a fresh folder with its
own TMPDIR under a time and an address-space limit, and checks every run: no crash or
sanitizer report, no time-out, memory under the limit, the source byte-identical, nothing
left beside the source or in TMPDIR after a failure, and a clear Korean message with no raw
library or C++ text. A valid file under an awkward name (spaces, Korean, a leading dash, a
line feed, 250 bytes) is also run under a plain name, and must fare the same under both.
Prints one line per fault and the table; exits 1 on any fault.

usage: drive.py CORPUS_DIR --cli PATH [--pelgrin PATH] [--wordbridge PATH]
                [--timeout SECONDS] [--memory-mb MB] [--no-limit]"""

import argparse
import hashlib
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

RAW = re.compile(r"std::|what\(\)|basic_string|vips_|VipsImage|poppler|qpdf|libzip|pugi|"
                 r"terminate called|Segmentation|Aborted|exception|errno|GError|\bError\b|\berror\b")
HANGUL = re.compile("[\uac00-\ud7a3]")
DOCUMENTS = {"hwp", "hwpx", "docx"}
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lsan.supp")


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


class Driver:
    def __init__(self, args):
        self.args = args
        self.counts = dict(files=0, runs=0, crashes=0, timeouts=0, memory=0, changed=0,
                           leftovers=0, unclear=0, names=0)
        self.faults = []
        self.refused = []

    def fault(self, kind, what, detail):
        self.counts[kind] += 1
        self.faults.append("%s: %s: %s" % (kind, what, detail.strip()[:300]))

    def limits(self):
        if not self.args.no_limit:
            size = self.args.memory_mb << 20
            resource.setrlimit(resource.RLIMIT_AS, (size, size))
        os.setsid()

    def run(self, argv, cwd, tmp):
        env = dict(os.environ, TMPDIR=tmp, LC_ALL="C.UTF-8")
        # A sanitizer build reports leaks at exit; those inside libraries are listed apart.
        env.setdefault("LSAN_OPTIONS", "suppressions=" + SUPPRESSIONS)
        start = time.monotonic()
        proc = subprocess.Popen(argv, cwd=cwd, env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, preexec_fn=self.limits)
        timed_out = False
        try:
            out, err = proc.communicate(timeout=self.args.timeout)
        except subprocess.TimeoutExpired:
            timed_out = True
            os.killpg(proc.pid, signal.SIGKILL)
            out, err = proc.communicate()
        usage = resource.getrusage(resource.RUSAGE_CHILDREN)
        return (proc.returncode, out.decode(errors="replace"), err.decode(errors="replace"),
                timed_out, usage.ru_maxrss, time.monotonic() - start)

    def judge(self, what, argv, source, work, tmp, message_of):
        """Runs one petal or tool and records its faults; returns whether it succeeded."""
        before = digest(source)
        status, out, err, timed_out, _, _ = self.run(argv, work, tmp)
        self.counts["runs"] += 1
        if timed_out:
            self.fault("timeouts", what, "over %ss" % self.args.timeout)
        elif status < 0 or "Sanitizer" in err or "runtime error:" in err:
            if "bad_alloc" in err or "out of memory" in err.lower():
                self.fault("memory", what, err)
            else:
                self.fault("crashes", what, "status %d %s" % (status, err[-300:]))
        if digest(source) != before:
            self.fault("changed", what, "source changed")
        # A program run from the build tree keeps its activity log in TMPDIR/tavrino-run-PID
        # on purpose (user runs log to ~/.local/state); anything else is debris.
        left = [n for n in os.listdir(tmp) if not is_developer_log(os.path.join(tmp, n))]
        if left:
            self.fault("leftovers", what, "TMPDIR: " + ", ".join(left))
        beside = sorted(n for n in os.listdir(work) if n != os.path.basename(source))
        if status != 0 and not timed_out:
            if beside:
                self.fault("leftovers", what, "beside the source: " + ", ".join(map(repr, beside)))
            message = message_of(out, err)
            if not HANGUL.search(message) or RAW.search(message):
                self.fault("unclear", what, message)
        for name in beside:
            path = os.path.join(work, name)
            shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
        for name in os.listdir(tmp):
            path = os.path.join(tmp, name)
            shutil.rmtree(path, ignore_errors=True) if os.path.isdir(path) else os.remove(path)
        return status == 0 and not timed_out

    def petals(self, source, work, tmp):
        items = []
        for extra in ([], ["--tools"]):
            _, out, _, _, _, _ = self.run([self.args.cli, "menu"] + extra + [source], work, tmp)
            items += [line for line in out.splitlines() if line and line != "tool(crop)"]
        return items

    def one_file(self, original, name=None, count=True):
        """Every petal and tool on a copy of the file (under `name` if given); returns the
        outcome of each run, petal by petal."""
        self.counts["files"] += count
        work = tempfile.mkdtemp(prefix="bad-")
        tmp = tempfile.mkdtemp(prefix="bad-tmp-")
        outcomes = {}
        try:
            name = name or os.path.basename(original)
            source = os.path.join(work, name)
            shutil.copyfile(original, source)
            for item in self.petals(source, work, tmp):
                outcomes[item] = self.judge("%s %r" % (item, name), [self.args.cli, "run", item, source],
                                            source, work, tmp, cli_message)
            extension = name.rsplit(".", 1)[-1]
            for argv in self.tool_runs(source, extension, work):
                outcomes[argv[1]] = self.judge("%s %r" % (" ".join(argv[1:2]), name), argv, source,
                                               work, tmp, tool_message)
        finally:
            shutil.rmtree(work, ignore_errors=True)
            shutil.rmtree(tmp, ignore_errors=True)
        return outcomes

    def awkward_name(self, original):
        """A valid file under an awkward name must fare exactly as under a plain one."""
        outcomes = self.one_file(original)
        plain = self.one_file(original, "plain." + original.rsplit(".", 1)[-1], count=False)
        name = os.path.basename(original)
        # The document routes refuse, with a message naming the file, to hand our tools a
        # path with a control character in it; that refusal is the design, not a fault.
        refusing = any(ord(c) < 32 for c in name) and name.rsplit(".", 1)[-1] in DOCUMENTS
        for item in sorted(set(outcomes) | set(plain)):
            if outcomes.get(item) == plain.get(item):
                continue
            if refusing and outcomes.get(item) is False and plain.get(item):
                self.refused.append("%s %r" % (item, name))
                continue
            self.fault("names", "%s %r" % (item, name), "%s under this name, %s under a plain one"
                       % (verdict(outcomes.get(item)), verdict(plain.get(item))))

    def tool_runs(self, source, extension, work):
        runs = []
        if extension not in DOCUMENTS:
            return runs
        if self.args.pelgrin and extension in ("hwp", "hwpx"):
            runs.append([self.args.pelgrin, "export-text", source, "-o", os.path.join(work, "text")])
            runs.append([self.args.pelgrin, "convert", source, os.path.join(work, "out.pdf")])
        if self.args.wordbridge:
            if extension == "docx":
                runs.append([self.args.wordbridge, "docx2hwp", source, os.path.join(work, "out.hwpx")])
            else:
                runs.append([self.args.wordbridge, "hwp2docx", source, os.path.join(work, "out.docx")])
        return runs


def verdict(outcome):
    return {True: "done", False: "failed", None: "not offered"}[outcome]


def awkward(name):
    """Names that are hard on programs and shells: spaces, non-ASCII text, a leading dash,
    control characters, or near the length limit."""
    return (" " in name or name.startswith("-") or any(ord(c) < 32 or ord(c) > 126 for c in name)
            or len(name.encode()) > 200)


def is_developer_log(path):
    return (os.path.basename(path).startswith("tavrino-run-") and os.path.isdir(path)
            and set(os.listdir(path)) <= {"selftest.log"})


def cli_message(out, err):
    """What the failure lines say after " 실패: " (names may hold line feeds, so the log is
    read as one text), and anything on standard error."""
    log = out.rsplit("\n", 2)[0] if out.count("\n") > 1 else ""
    reasons = log.split(" 실패: ")[1:]
    return "\n".join(reasons + ([err.strip()] if err.strip() else [])) or out.strip()


def tool_message(out, err):
    return err.strip() or out.strip()


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("corpus")
    parser.add_argument("--cli", required=True)
    parser.add_argument("--pelgrin")
    parser.add_argument("--wordbridge")
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("--memory-mb", type=int, default=2048)
    parser.add_argument("--no-limit", action="store_true",
                        help="no address-space limit (sanitizer builds reserve terabytes)")
    args = parser.parse_args()
    # The runs happen in other folders.
    for name in ("cli", "pelgrin", "wordbridge"):
        if getattr(args, name):
            setattr(args, name, os.path.abspath(getattr(args, name)))
    driver = Driver(args)
    for name in sorted(os.listdir(args.corpus)):
        path = os.path.join(args.corpus, name)
        driver.awkward_name(path) if awkward(name) else driver.one_file(path)
    for line in driver.faults:
        print(line)
    if driver.refused:
        print("refused on purpose (a control character in the name): " + ", ".join(driver.refused))
    c = driver.counts
    print("| files | runs | crashes | time-outs | memory aborts | sources changed | leftovers | "
          "unclear messages | name-dependent outcomes |")
    print("|---|---|---|---|---|---|---|---|---|")
    print("| %d | %d | %d | %d | %d | %d | %d | %d | %d |" % (
        c["files"], c["runs"], c["crashes"], c["timeouts"], c["memory"], c["changed"],
        c["leftovers"], c["unclear"], c["names"]))
    return 1 if driver.faults else 0


if __name__ == "__main__":
    sys.exit(main())
