#!/usr/bin/python3
"""End to end under a headless KWin on Wayland: the GNOME test's two drags (see gnome_e2e),
with Tavrino's drag reporter effect inside KWin and KWin's fake input protocol as the hand.
A native Wayland window drags two PNG files; Shift mid-drag opens the wheel at the pointer
and the drop on the JPG petal converts both; the same drag without Shift opens nothing and
its drop reaches the window under the pointer.

usage: kwin_e2e.py HARNESS EFFECT_DIR FAKE_INPUT
Exit status 77 (skipped) when KWin, XWayland or GTK for Python is missing, or the test
cannot have a private mount namespace."""

import functools
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gnome_e2e  # noqa: E402
import kwin_session  # noqa: E402


def main():
    def run(harness, effect_dir, fake_input):
        session = functools.partial(kwin_session.KwinSession, plugin_dir=effect_dir,
                                    fake_input=fake_input)
        # The effect reads Shift on the key itself, so its resting hand does not move at all.
        gnome_e2e.run_drags(session, harness, "kwin", resting_hand=True, shift_needs_motion=False)
    return gnome_e2e.main_for(kwin_session.enter_private_namespace, 3, run)


if __name__ == "__main__":
    sys.exit(main())
