#!/usr/bin/env python3
"""The socket judge on strace lines written by hand: what it must let through (the D-Bus,
LibreOffice's pipe, netlink) and what it must catch (any Internet socket, even one that
failed, and a Unix path nobody expects), across the ways strace splits and prefixes lines."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sockets  # noqa: E402


def rows(text, extra=()):
    return sockets.judge(text.strip().splitlines(), extra)


def refused(text, extra=()):
    return [row for row in rows(text, extra) if row[5] is None]


class Allowed(unittest.TestCase):
    def test_local_bus_pipe_and_netlink_pass(self):
        log = r'''
100 execve("/usr/bin/tavrino-cli", ["tavrino-cli"], 0x7ffd /* 20 vars */) = 0
100 socket(AF_UNIX, SOCK_STREAM|SOCK_CLOEXEC|SOCK_NONBLOCK, 0) = 3
100 connect(3, {sa_family=AF_UNIX, sun_path="/run/user/0/bus"}, 110) = 0
100 connect(4, {sa_family=AF_UNIX, sun_path=@"/tmp/dbus-AbC123"}, 23) = 0
100 socket(AF_NETLINK, SOCK_RAW|SOCK_CLOEXEC, NETLINK_ROUTE) = 5
100 sendto(5, [{nlmsg_len=20}], 20, 0, {sa_family=AF_NETLINK, nl_pid=0, nl_groups=00000000}, 12) = 20
100 bind(6, {sa_family=AF_UNIX, sun_path="/tmp/tavrino-lo-x/OSL_PIPE_0_SingleOfficeIPC_1"}, 110) = 0
100 connect(7, {sa_family=AF_UNIX, sun_path="/var/run/nscd/socket"}, 110) = -1 ENOENT (No such file or directory)
100 socketpair(AF_UNIX, SOCK_STREAM|SOCK_CLOEXEC, 0, [8, 9]) = 0
'''
        self.assertEqual(refused(log), [])
        self.assertEqual({row[0] for row in rows(log)}, {"tavrino-cli"})

    def test_extra_allowed_path(self):
        log = '7 connect(3, {sa_family=AF_UNIX, sun_path="/tmp/mine/sock"}, 110) = 0'
        self.assertEqual(len(refused(log)), 1)
        self.assertEqual(refused(log, [r"^/tmp/mine/"]), [])


class Caught(unittest.TestCase):
    def test_internet_sockets_even_failed_ones(self):
        log = r'''
5 socket(AF_INET, SOCK_DGRAM|SOCK_CLOEXEC|SOCK_NONBLOCK, IPPROTO_IP) = 3
5 socket(AF_INET6, SOCK_STREAM, IPPROTO_TCP) = -1 EAFNOSUPPORT (Address family not supported by protocol)
5 connect(3, {sa_family=AF_INET, sin_port=htons(53), sin_addr=inet_addr("127.0.0.53")}, 16) = 0
'''
        bad = refused(log)
        self.assertEqual(sorted(row[2] for row in bad), ["AF_INET", "AF_INET", "AF_INET6"])
        self.assertIn("127.0.0.53 port 53", [row[3] for row in bad])

    def test_unexpected_unix_path(self):
        bad = refused('9 connect(3, {sa_family=AF_UNIX, sun_path="/run/cups/cups.sock"}, 110) = 0')
        self.assertEqual([row[3] for row in bad], ["/run/cups/cups.sock"])

    def test_other_families(self):
        bad = refused("9 socket(AF_PACKET, SOCK_RAW, 768) = 3\n9 socket(AF_BLUETOOTH, SOCK_RAW, 1) = 4")
        self.assertEqual(len(bad), 2)


class Lines(unittest.TestCase):
    def test_split_call_is_joined(self):
        log = r'''
20 connect(3, {sa_family=AF_INET, sin_port=htons(443), sin_addr=inet_addr("10.0.0.1")}, 16 <unfinished ...>
21 socket(AF_UNIX, SOCK_STREAM, 0) = 4
20 <... connect resumed>) = -1 EINPROGRESS (Operation now in progress)
'''
        bad = refused(log)
        self.assertEqual([(row[1], row[3]) for row in bad], [("connect", "10.0.0.1 port 443")])

    def test_threads_and_children_carry_the_program_name(self):
        log = r'''
30 execve("/usr/lib/libreoffice/program/soffice.bin", ["soffice.bin"], 0x1 /* 3 vars */) = 0
30 clone3({flags=CLONE_VM|CLONE_FS, child_tid=0x7f, exit_signal=0}, 88) = 31
31 clone(child_stack=NULL, flags=CLONE_CHILD_SETTID|SIGCHLD) = 32
32 socket(AF_INET6, SOCK_DGRAM, IPPROTO_IP) = 5
'''
        bad = refused(log)
        self.assertEqual([row[0] for row in bad], ["soffice.bin"])

    def test_counts_repeats_in_one_row(self):
        log = "\n".join('1 connect(3, {sa_family=AF_UNIX, sun_path="/run/user/0/bus"}, 110) = 0'
                        for _ in range(4))
        self.assertEqual([row[4] for row in rows(log)], [4])


if __name__ == "__main__":
    unittest.main()
