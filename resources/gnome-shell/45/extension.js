// Tavrino's drag reporter for GNOME Shell 45 and later. Only the compositor sees a drag on
// Wayland, so this reports each drag's begin, the pointer and its modifiers while it moves,
// and its end, as signals on the user's own session bus. It accepts no commands and keeps
// nothing beyond the drag under way. Beyond reporting it does one thing: when Tavrino's wheel
// appears under a drag, it moves the pointer a pixel there and back, so that the drag finds
// the wheel without waiting for the hand to move.
import Clutter from 'gi://Clutter';
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import Meta from 'gi://Meta';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

const BUS_NAME = 'app.korvanta.tavrino.DragReporter';
const OBJECT_PATH = '/app/korvanta/tavrino/DragReporter';
const INTERFACE = `<node><interface name="app.korvanta.tavrino.DragReporter">
  <property name="Version" type="u" access="read"/>
  <signal name="DragBegan"/>
  <signal name="DragMoved"><arg type="i"/><arg type="i"/><arg type="u"/></signal>
  <signal name="DragEnded"/>
</interface></node>`;
const VERSION = 1;
// The modifiers can change while the pointer rests, so they are looked at 125 times a
// second, but only while a drag is under way: the shell's modifier state moves with the
// pointer's events, and a poll twice as fast as a 60 Hz hand halves the wait for it.
const POLL_MS = 8;
// The compositor moves a drag into a window that has just appeared only on the pointer's next
// motion, and a resting hand makes none. When Tavrino's wheel maps during a file drag, a
// motion of one pixel there and back, as it maps, when its first frame is drawn and once
// more a little later, lets the drag find it.
const NUDGE_AGAIN_MS = 50;

export default class TavrinoDragReporter extends Extension {
    enable() {
        this._object = Gio.DBusExportedObject.wrapJSObject(INTERFACE, {Version: VERSION});
        this._object.export(Gio.DBus.session, OBJECT_PATH);
        this._owner = Gio.bus_own_name_on_connection(Gio.DBus.session, BUS_NAME,
            Gio.BusNameOwnerFlags.NONE, null, null);
        // The drag-and-drop signals of the compositor's backend fire only while the shell
        // itself holds a grab (the overview); the drag selection changes owner for every
        // drag, from any client, and offers the drag's formats.
        this._selection = global.display.get_selection();
        this._handler = this._selection.connect('owner-changed', (selection, type, owner) => {
            if (type !== Meta.SelectionType.SELECTION_DND)
                return;
            if (owner && owner.get_mimetypes().includes('text/uri-list'))
                this._began();
            else
                this._ended();
        });
        this._last = null;
        this._mapHandler = global.window_manager.connect('map', (wm, actor) => {
            const wmClass = actor.get_meta_window()?.get_wm_class() ?? '';
            if (!this._poll || !wmClass.toLowerCase().startsWith('tavrino'))
                return;
            this._nudgeSoon();
            // The drag can enter the window once its first frame is drawn.
            const handler = actor.connect('first-frame', () => {
                actor.disconnect(handler);
                if (this._poll)
                    this._nudgeSoon();
            });
        });
    }

    disable() {
        this._ended();
        global.window_manager.disconnect(this._mapHandler);
        this._hand = null;
        this._selection.disconnect(this._handler);
        this._selection = null;
        Gio.bus_unown_name(this._owner);
        this._object.unexport();
        this._object = null;
    }

    _began() {
        this._object.emit_signal('DragBegan', null);
        this._last = null;
        this._look();
        if (!this._poll)
            this._poll = GLib.timeout_add(GLib.PRIORITY_DEFAULT, POLL_MS, () => this._look());
    }

    _look() {
        const [x, y, mods] = global.get_pointer();
        const key = `${x},${y},${mods}`;
        if (key !== this._last) {
            this._last = key;
            this._object.emit_signal('DragMoved', new GLib.Variant('(iiu)', [x, y, mods]));
        }
        return GLib.SOURCE_CONTINUE;
    }

    _nudgeSoon() {
        if (!this._hand) {
            const seat = Clutter.get_default_backend().get_default_seat();
            this._hand = seat.create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
        }
        const nudge = () => {
            if (!this._hand)
                return GLib.SOURCE_REMOVE;
            const now = GLib.get_monotonic_time();
            this._hand.notify_relative_motion(now, 1, 0);
            this._hand.notify_relative_motion(now, -1, 0);
            return GLib.SOURCE_REMOVE;
        };
        GLib.idle_add(GLib.PRIORITY_DEFAULT, nudge);
        GLib.timeout_add(GLib.PRIORITY_DEFAULT, NUDGE_AGAIN_MS, nudge);
    }

    _ended() {
        if (this._poll) {
            GLib.source_remove(this._poll);
            this._poll = 0;
            this._object.emit_signal('DragEnded', null);
        }
    }
}
