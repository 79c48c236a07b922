#!/usr/bin/python3
"""A GTK 3 drag source for the end-to-end tests: a window at the top-left corner of the
screen that drags the files named on its command line as text/uri-list, offering copy and
move. Like a careless file manager it deletes the files when a drop ends as a move
(drag-data-delete, or a drop that ends as a move), so a test can see whether a drop ever asked for that. With Shift held
GTK offers only the move action."""

import os
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402


def main():
    files = [os.path.abspath(name) for name in sys.argv[1:]]
    uris = [GLib.filename_to_uri(name, None) for name in files]

    window = Gtk.Window(title="gtk-drag-source")
    window.move(0, 0)
    window.set_default_size(200, 200)
    area = Gtk.EventBox()
    area.set_size_request(200, 200)
    window.add(area)

    area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [],
                         Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
    area.drag_source_add_uri_targets()

    def on_get(_widget, _context, data, _info, _time):
        data.set_uris(uris)

    def on_delete(_widget, _context):
        for name in files:
            if os.path.exists(name):
                os.remove(name)
        print("deleted", flush=True)

    def on_end(_widget, context):
        action = context.get_selected_action()
        print("result", action.value_names, flush=True)
        # Some file managers carry out a move themselves once the drop is done.
        if action == Gdk.DragAction.MOVE:
            on_delete(_widget, context)

    area.connect("drag-data-get", on_get)
    area.connect("drag-data-delete", on_delete)
    area.connect("drag-end", on_end)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    print("ready", flush=True)
    Gtk.main()


if __name__ == "__main__":
    main()
