"""A notification area over D-Bus, as far as a test needs one. watch FILE: a watcher with a host, writing each
registered item's service to FILE; activate SERVICE: a left click on the item; menu SERVICE TEXT: picks its entry."""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop

WATCHER = "org.kde.StatusNotifierWatcher"
# Qt reads IsStatusNotifierHostRegistered as a property, so the introspection data has to list the properties.
PROPERTIES = """<property name="RegisteredStatusNotifierItems" type="as" access="read"/>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
<property name="ProtocolVersion" type="i" access="read"/>"""


class Watcher(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.items, self.log = [], log

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names its well-known service, or only a path on its own connection.
        self.items.append(service if not service.startswith("/") else sender)
        with open(self.log, "a") as f:
            f.write(self.items[-1] + "\n")

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": dbus.Boolean(True), "ProtocolVersion": dbus.Int32(0)}

    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s", path_keyword="path", connection_keyword="conn")
    def Introspect(self, path, conn):
        head = f'<interface name="{WATCHER}">'
        return dbus.service.Object.Introspect(self, path, conn).replace(head, head + PROPERTIES)


command, service = sys.argv[1:3]
if command == "watch":
    from gi.repository import GLib
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(WATCHER, bus)
    Watcher(bus, service)
    bus.request_name("org.kde.StatusNotifierHost-test")
    GLib.MainLoop().run()
bus = dbus.SessionBus()
item = bus.get_object(service, "/StatusNotifierItem")
if command == "activate":
    item.Activate(0, 0, dbus_interface="org.kde.StatusNotifierItem")
elif command == "menu":
    menu = bus.get_object(service, item.Get("org.kde.StatusNotifierItem", "Menu", dbus_interface=dbus.PROPERTIES_IFACE))
    _, layout = menu.GetLayout(0, -1, [], dbus_interface="com.canonical.dbusmenu")
    ids = {str(c[1].get("label", "")).replace("&", ""): int(c[0]) for c in layout[2]}
    menu.Event(ids[sys.argv[3]], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0),
               dbus_interface="com.canonical.dbusmenu")
