"""A notification area over D-Bus, as far as a test needs one: a watcher with a host, writing each registered
item's service to the file given."""
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


from gi.repository import GLib
DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName(WATCHER, bus)
Watcher(bus, sys.argv[1])
bus.request_name("org.kde.StatusNotifierHost-test")
GLib.MainLoop().run()
