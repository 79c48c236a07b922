#!/usr/bin/env python3
"""Reads a log of `strace -f -e trace=%network,execve,clone,clone3,fork,vfork` and judges every
socket the traced programs made and every address they gave: the only sockets allowed are
Unix-domain ones (the session and system D-Bus, LibreOffice's private pipe, the X display,
the local name-service and journal sockets) and netlink ones that libraries use to ask the
kernel about this machine. Prints one table row per program, call and address with its
count and verdict; exits 1 when any row is not allowed.

usage: sockets.py STRACE_LOG [--allow REGEX]...   (each REGEX allows more Unix paths)"""

import argparse
import collections
import os
import re
import sys

# Unix paths a run of ours may connect to or bind. An abstract address is shown with a
# leading "@", as strace writes it.
EXPECTED_UNIX = [
    (r"^/run/user/\d+/bus$", "D-Bus (session)"),
    (r"^@?/tmp/dbus-[A-Za-z0-9]+$", "D-Bus (session)"),
    (r"^(/var)?/run/dbus/system_bus_socket$", "D-Bus (system)"),
    (r"^/run/user/\d+/at-spi/bus(_\d+)?$", "D-Bus (accessibility)"),
    (r"OSL_PIPE_", "LibreOffice pipe"),
    # The render service's socket, bound inside the warm instance's private 0700 folder.
    (r"(^|/)service\.sock$", "render service"),
    (r"^@?/tmp/\.X11-unix/X\d+$", "X display"),
    (r"^(/var)?/run/nscd/socket$", "name service cache"),
    (r"^/run/systemd/(journal/|userdb/)", "systemd (local)"),
]

LINE = re.compile(r"^(\d+)\s+(.*)$")
CALL = re.compile(r"^(\w+)\((.*)$")
RESUMED = re.compile(r"^<\.\.\. (\w+) resumed>(.*)$")
RESULT = re.compile(r"\)\s+=\s+(-?\d+|\?)")
FAMILY_ARG = re.compile(r"^(AF_\w+|PF_\w+|\d+)")
SA_FAMILY = re.compile(r"sa_family=(AF_\w+|\d+)")
SUN_PATH = re.compile(r'sun_path=(@?)"((?:[^"\\]|\\.)*)"')
INET_ADDR = re.compile(r'(?:sin_addr=inet_addr\("([^"]*)"\)|inet_pton\(AF_INET6, "([^"]*)")')
PORT = re.compile(r"sin6?_port=htons\((\d+)\)")
EXECVE = re.compile(r'^execve\("((?:[^"\\]|\\.)*)"')
CLONES = {"clone", "clone3", "fork", "vfork"}
NETWORK_CALLS = {"socket", "socketpair", "connect", "bind", "sendto", "sendmsg", "sendmmsg",
                 "accept", "accept4", "listen", "getsockname", "getpeername", "recvfrom",
                 "recvmsg", "recvmmsg", "shutdown", "setsockopt", "getsockopt"}


class Trace:
    def __init__(self):
        self.names = {}
        self.parents = {}
        self.pending = {}
        self.rows = collections.Counter()

    def program(self, pid):
        seen = set()
        while pid not in self.names and pid in self.parents and pid not in seen:
            seen.add(pid)
            pid = self.parents[pid]
        return self.names.get(pid, "?")

    def feed(self, raw):
        match = LINE.match(raw)
        if not match:
            return
        pid, rest = match.groups()
        if rest.endswith("<unfinished ...>"):
            self.pending[pid] = rest[: -len("<unfinished ...>")]
            return
        resumed = RESUMED.match(rest)
        if resumed:
            rest = self.pending.pop(pid, resumed.group(1) + "(") + resumed.group(2)
        call = CALL.match(rest)
        if call:
            self.one(pid, call.group(1), rest)

    def one(self, pid, name, text):
        result = RESULT.search(text)
        value = result.group(1) if result else "?"
        if name == "execve":
            path = EXECVE.match(text)
            if path and value == "0":
                self.names[pid] = os.path.basename(path.group(1))
            return
        if name in CLONES:
            if value.isdigit():
                self.parents[value] = pid
            return
        if name not in NETWORK_CALLS:
            return
        arguments = text[len(name) + 1:]
        if name in ("socket", "socketpair"):
            family = FAMILY_ARG.match(arguments)
            kind = family.group(1).replace("PF_", "AF_") if family else "?"
            self.rows[(self.program(pid), name, kind, "")] += 1
            return
        family = SA_FAMILY.search(arguments)
        if not family:
            return  # a call on a socket already judged, with no address of its own
        kind = family.group(1)
        self.rows[(self.program(pid), name, kind, address(kind, arguments))] += 1


def address(kind, arguments):
    if kind == "AF_UNIX":
        path = SUN_PATH.search(arguments)
        return (path.group(1) + path.group(2)) if path else "(unnamed)"
    if kind in ("AF_INET", "AF_INET6"):
        host = INET_ADDR.search(arguments)
        port = PORT.search(arguments)
        return "%s port %s" % (host and (host.group(1) or host.group(2)), port and port.group(1))
    return ""


def verdict(kind, where, extra):
    """What the row is, or None when it is not allowed."""
    if kind == "AF_NETLINK":
        return "netlink (local kernel query)"
    if kind != "AF_UNIX":
        return None
    if where == "" or where == "(unnamed)":
        return "Unix socket"
    for pattern, what in EXPECTED_UNIX + [(p, "allowed here") for p in extra]:
        if re.search(pattern, where):
            return what
    return None


def judge(lines, extra=()):
    """The table rows (program, call, family, address, count, verdict or None)."""
    trace = Trace()
    for line in lines:
        trace.feed(line.rstrip("\n"))
    return [key + (count, verdict(key[2], key[3], extra))
            for key, count in sorted(trace.rows.items())]


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("log")
    parser.add_argument("--allow", action="append", default=[])
    args = parser.parse_args()
    with open(args.log, encoding="utf-8", errors="replace") as log:
        rows = judge(log, args.allow)
    print("| program | call | family | address | count | verdict |")
    print("|---|---|---|---|---|---|")
    for program, call, kind, where, count, what in rows:
        print("| %s | %s | %s | %s | %d | %s |" % (program, call, kind, where or "-", count,
                                                  what or "NOT ALLOWED"))
    bad = [row for row in rows if row[5] is None]
    print("sockets: %d rows, %d not allowed" % (len(rows), len(bad)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
