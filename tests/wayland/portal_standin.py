#!/usr/bin/python3
"""A stand-in for the desktop portal on a private session bus: the
GlobalShortcuts interface (which no backend on this system offers) and a
Screenshot interface that takes the picture with grim. The test presses the
bound shortcut by calling Press() on org.pellix.test.Portal."""
import os
import subprocess
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
SCREENSHOT = "org.freedesktop.portal.Screenshot"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.sessions = []
        self.count = 0

    def _answer(self, sender, options, results, response=0):
        token = options.get("handle_token", "t%d" % self.count)
        self.count += 1
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (
            sender[1:].replace(".", "_"), token)
        request = Request(self.bus, path)
        GLib.timeout_add(50, lambda: (request.Response(dbus.UInt32(response), results),
                                      request.remove_from_connection())[-1] and False)
        return dbus.ObjectPath(path)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        return dbus.UInt32(1)

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o",
                         sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        session = "/org/freedesktop/portal/desktop/session/%s/%s" % (
            sender[1:].replace(".", "_"), options["session_handle_token"])
        self.sessions.append(session)
        return self._answer(sender, options, {"session_handle": dbus.String(session)})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender=None):
        self.bound = [str(s[0]) for s in shortcuts]
        given = dbus.Array([dbus.Struct((s[0], {"description": s[1]["description"],
                                                 "trigger_description": dbus.String("Super+F9")}),
                                        signature="sa{sv}") for s in shortcuts],
                           signature="(sa{sv})")
        return self._answer(sender, options, {"shortcuts": given})

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.method(SCREENSHOT, in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def Screenshot(self, parent, options, sender=None):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], "standin-shot-%d.png" % self.count)
        subprocess.run(["grim", path], check=True)
        return self._answer(sender, options, {"uri": dbus.String("file://" + path)})

    @dbus.service.method("org.pellix.test.Portal", in_signature="", out_signature="s")
    def Press(self):
        for session in self.sessions:
            self.Activated(dbus.ObjectPath(session), "capture", dbus.UInt64(0), {})
        return ",".join(getattr(self, "bound", []))


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
portal = Portal(bus)
GLib.MainLoop().run()
