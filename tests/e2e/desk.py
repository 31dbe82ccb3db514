"""A person at a mutter Wayland desktop: their keyboard (the compositor's remote-desktop input), and another program's
window, which takes the focus and, as a launcher does, asks for an activation token for a key pressed in it.
Commands on standard input: "keys Alt_L+F4" (held together, X names), "open" (anew), "token". Writes "ready",
"focused" (the other window has the focus) and "token TOKEN" to the file given, one a line."""
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, Gio, GLib, Gtk

SESSION = "org.gnome.Mutter.RemoteDesktop.Session"
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
out = open(sys.argv[1], "a", buffering=1)


def call(path, interface, method, args=None, reply=None):
    return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                         GLib.VariantType(reply) if reply else None, Gio.DBusCallFlags.NONE, -1, None)


session = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop", "CreateSession",
               reply="(o)").unpack()[0]
call(session, SESSION, "Start")


def keys(combo):
    held = [Gdk.keyval_from_name(name) for name in combo.split("+")]
    for down, order in ((True, held), (False, reversed(held))):
        for keysym in order:
            call(session, SESSION, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (keysym, down)))


# The compositor takes on a new keyboard with its first key, which reaches nobody: plug it in before any window opens.
keys("Shift_L")

window = None
wants_token = False


def key_pressed(_widget, _event):
    global wants_token
    if wants_token:
        wants_token = False
        # What a launcher does for the program it starts: a token for the user's action, from the compositor.
        app = Gio.AppInfo.create_from_commandline("true", "launched", Gio.AppInfoCreateFlags.SUPPORTS_STARTUP_NOTIFICATION)
        context = Gdk.Display.get_default().get_app_launch_context()
        out.write("token %s\n" % context.get_startup_notify_id(app, []))
    return True


def open_window():
    global window
    if window:
        window.destroy()
    window = Gtk.Window(title="Another program")
    window.set_default_size(400, 300)
    window.connect("focus-in-event", lambda *_: out.write("focused\n"))
    window.connect("key-press-event", key_pressed)
    window.show_all()


def command(source, _condition):
    global wants_token
    line = source.readline()
    if not line:
        Gtk.main_quit()
        return False
    word, _, rest = line.strip().partition(" ")
    if word == "keys":
        keys(rest)
    elif word == "open":
        open_window()
    elif word == "token":
        wants_token = True
        keys("space")
    return True


GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, command)
out.write("ready\n")
Gtk.main()
