"""A notification area over D-Bus, as far as a test needs one.

  sni.py watch FILE        runs a StatusNotifierWatcher with a host; writes each registered item's service to FILE
  sni.py activate SERVICE  clicks the item (what a host does on a left click)
  sni.py menu SERVICE TEXT chooses the item's menu entry with that text, over com.canonical.dbusmenu
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop

WATCHER = "org.kde.StatusNotifierWatcher"
# Qt reads IsStatusNotifierHostRegistered as a property, so the introspection data has to list it.
INTROSPECTION = """<node><interface name="org.kde.StatusNotifierWatcher">
<method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
<method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
<property name="RegisteredStatusNotifierItems" type="as" access="read"/>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
<property name="ProtocolVersion" type="i" access="read"/>
<signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
<signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
<signal name="StatusNotifierHostRegistered"/>
</interface>
<interface name="org.freedesktop.DBus.Properties">
<method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
<method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
</interface>
<interface name="org.freedesktop.DBus.Introspectable">
<method name="Introspect"><arg type="s" direction="out"/></method></interface></node>"""


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
        self.StatusNotifierItemRegistered(self.items[-1])

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    def properties(self):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": dbus.Boolean(True), "ProtocolVersion": dbus.Int32(0)}

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties()[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties()

    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return INTROSPECTION


def item(bus, service):
    return bus.get_object(service, "/StatusNotifierItem")


def main():
    command = sys.argv[1]
    if command == "watch":
        from gi.repository import GLib
        DBusGMainLoop(set_as_default=True)
        bus = dbus.SessionBus()
        name = dbus.service.BusName(WATCHER, bus)
        Watcher(bus, sys.argv[2])
        bus.request_name("org.kde.StatusNotifierHost-test")
        GLib.MainLoop().run()
        del name
    bus = dbus.SessionBus()
    sni = item(bus, sys.argv[2])
    if command == "activate":
        sni.Activate(0, 0, dbus_interface="org.kde.StatusNotifierItem")
    elif command == "menu":
        path = sni.Get("org.kde.StatusNotifierItem", "Menu", dbus_interface=dbus.PROPERTIES_IFACE)
        menu = bus.get_object(sys.argv[2], path)
        _, layout = menu.GetLayout(0, -1, [], dbus_interface="com.canonical.dbusmenu")
        ids = {str(c[1].get("label", "")).replace("&", ""): int(c[0]) for c in layout[2]}
        menu.Event(ids[sys.argv[3]], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                   dbus_interface="com.canonical.dbusmenu")


main()
