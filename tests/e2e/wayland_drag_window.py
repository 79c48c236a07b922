#!/usr/bin/python3
"""A native Wayland window for the compositor end-to-end tests, maximized: its left half
drags the files named on the command line as text/uri-list (copy or move), its right half
takes drops and prints what reached it, so a test can see a drag that the wheel must leave
alone arrive where it was dropped."""

import os
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402


def main():
    uris = [GLib.filename_to_uri(os.path.abspath(name), None) for name in sys.argv[1:]]
    window = Gtk.Window(title="wayland-drag-window")
    window.maximize()
    halves = Gtk.Box(homogeneous=True)
    source = Gtk.EventBox()
    target = Gtk.EventBox()
    halves.pack_start(source, True, True, 0)
    halves.pack_start(target, True, True, 0)
    window.add(halves)

    source.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [],
                           Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
    source.drag_source_add_uri_targets()
    source.connect("drag-data-get", lambda _w, _c, data, _i, _t: data.set_uris(uris))
    source.connect("drag-end", lambda _w, context: print(
        "result", context.get_selected_action().value_names, flush=True))

    target.drag_dest_set(Gtk.DestDefaults.ALL, [], Gdk.DragAction.COPY)
    target.drag_dest_add_uri_targets()
    target.connect("drag-data-received", lambda _w, _c, _x, _y, data, _i, _t: print(
        "dropped", " ".join(data.get_uris()), flush=True))

    def report_size(_widget, allocation):
        print("size", allocation.width, allocation.height, flush=True)

    window.connect("size-allocate", report_size)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    print("ready", flush=True)
    Gtk.main()


if __name__ == "__main__":
    main()
